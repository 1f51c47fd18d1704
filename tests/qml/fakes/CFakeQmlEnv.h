#pragma once

#include <QObject>

class QQmlEngine;
class CFakeDupPicsMgr;
class CFakeFileDel;
class CFakeLoader;

// Publishes the fakes to an engine under the names the screens bind to; owned by the caller.
class CFakeQmlEnv : public QObject
{
    Q_OBJECT
public:
    enum class EnPublish { Everything, LoaderOnly };

    explicit CFakeQmlEnv(QObject *parent = nullptr);

    static void registerTypes();
    void publish(QQmlEngine *pEngine, EnPublish publish = EnPublish::Everything);

    CFakeDupPicsMgr *mgr() const { return m_pMgr; }
    CFakeFileDel *deltor() const { return m_pDeltor; }
    CFakeLoader *loader() const { return m_pLoader; }

private:
    CFakeDupPicsMgr *m_pMgr = nullptr;
    CFakeFileDel *m_pDeltor = nullptr;
    CFakeLoader *m_pLoader = nullptr;
};
