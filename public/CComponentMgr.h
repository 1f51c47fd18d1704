#pragma once

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

class QQmlEngine;

// Loads component plug-ins by name and keeps them by lower-case name. Lives on
// the stack of the loader; hands every component still loaded to deleteLater.
class CComponentMgr : public QObject
{
    Q_OBJECT
public:
    explicit CComponentMgr(QObject *parent = nullptr);
    ~CComponentMgr() override;

    void setEngine(QQmlEngine *pEngine) { m_pEngine = pEngine; }
    // Where the plug-ins lie; the application directory unless a test says otherwise.
    void setBaseDirectory(const QString &strDir) { m_strBaseDir = strDir; }

Q_SIGNALS:
    void sigNewComponent(QString name = QString(), QString parent = QString());

public:
    Q_INVOKABLE void loadComponents(QString componentName = QString());
    Q_INVOKABLE QObject *component(QString name);
    Q_INVOKABLE QObject *loadComponent(QString name, QString parentCom = QString());

private:
    QString baseDirectory() const;

    QMap<QString, QObject *> m_mapComponents;
    // Components that a later one of the same name replaced; released with the others.
    QList<QPointer<QObject>> m_listReplaced;
    QQmlEngine *m_pEngine = nullptr;
    QString m_strBaseDir;
    // Folders being read right now: a components.ini that leads back to one of them is not read again.
    QSet<QString> m_setReading;
};
