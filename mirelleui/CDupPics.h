#pragma once

#include "CDupPicsMgr.h"
#include "CLoadApp.h"
#include "CTcpData.h"

class QLocalSocket;
class QQuickImageProvider;


// The main object of the photo tool: fills the loader's hooks and owns the scan manager.
class CDupPics : public CLoadApp
{
    Q_OBJECT
public:
    CDupPics();
    ~CDupPics() override;

    CDupPicsMgr &manager() { return m_mgr; }

public Q_SLOTS:
    void slotLanguageChanged(QString language);
    void slotShowEnd();
    void slotWriteOption(QByteArray strOptions);
    void sendInfo(TcpData &data);
    void readOptionStart();

protected:
    Q_INVOKABLE bool isNeedStartCheckUpdate() override;
    void registerComponents(CComponentMgr *pComponentMgr) override;
    void appLoaded() override;
    void onMessage(QMap<QString, QByteArray> mapMessages) override;
    QString suiteInterfaceName() const override { return QStringLiteral("VeltrixUI"); }

private:
    void sendRecord(qint32 iType, quint64 iLength, const QByteArray &data);
    void onOptionsReply();
    void openPaths(const QStringList &listPaths);

    CDupPicsMgr m_mgr;
    QQuickImageProvider *m_pThumbProvider = nullptr;
    QQuickImageProvider *m_pMaxThumbProvider = nullptr;
    QLocalSocket *m_pOptionsSocket = nullptr;
};
