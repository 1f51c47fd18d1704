#pragma once

#include <QObject>
#include <QString>

#include "dpcomponent_export.h"

class QQmlEngine;

// What every component plug-in hands out through its "getInstance" export.
// It lives in a shared library so that the program and the plug-ins share one
// meta-object for it.
class DPCOMPONENT_EXPORT CComponentBase : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name CONSTANT)
    Q_PROPERTY(QString displayName READ displayName NOTIFY sigDisplayNameChanged)
    Q_PROPERTY(QString icon READ icon CONSTANT)
    Q_PROPERTY(bool canLayout READ canLayout CONSTANT)
public:
    explicit CComponentBase(QObject *parent = nullptr);
    ~CComponentBase() override;

    virtual QString displayName() const;                 // 1
    virtual QString icon() const;                        // 2
    virtual QString name() const = 0;                    // 3
    virtual QString description() const;                 // 4
    virtual QString version() const;                     // 5
    virtual bool initialize();                           // 6
    virtual void release();                              // 7
    virtual bool canLayout() const;                      // 8
    virtual QObject *rootItem() const;                   // 9
    virtual void setParentComponent(QObject *pParent);   // 10
    virtual void setEngine(QQmlEngine *pEngine);         // 11
    virtual QQmlEngine *engine() const;                  // 12
    virtual void retranslate();                          // 13

Q_SIGNALS:
    void sigDisplayNameChanged();
    void sigCurrentLanguageChanged();

public Q_SLOTS:
    void onTranslate();

protected:
    QQmlEngine *m_pEngine = nullptr;
    QObject *m_pParentComponent = nullptr;
};

extern "C" {
typedef CComponentBase *(*PFN_GetComponentInstance)();
}
