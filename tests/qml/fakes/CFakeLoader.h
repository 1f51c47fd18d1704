#pragma once

#include <QObject>

// Stand-in for the "apploader" context property.
class CFakeLoader : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool nexEnable READ nexEnable WRITE setNexEnable NOTIFY sigNexEanbleChanged)
public:
    explicit CFakeLoader(QObject *parent = nullptr) : QObject(parent) {}

    bool nexEnable() const { return m_bNexEnable; }
    void setNexEnable(bool b)
    {
        m_bNexEnable = b;
        emit sigNexEanbleChanged();
    }
    Q_INVOKABLE bool hasComponent(const QString &) const { return false; }
    Q_INVOKABLE void currentTimeToDebug(const QString & = QString()) {}

signals:
    void sigNexEanbleChanged();
    void sigShowWindow();

private:
    bool m_bNexEnable = false;
};
