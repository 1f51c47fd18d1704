#pragma once

#include "CComponentBase.h"

class QTranslator;

// Switches the interface language at run time from the .qm files beside the program.
class CMultiLanguage : public CComponentBase
{
    Q_OBJECT
    Q_PROPERTY(QString currentLanguage READ currentLanguage NOTIFY sigCurrentLanguageChanged)
public:
    QString name() const override { return QStringLiteral("MultiLanguage"); }
    bool initialize() override;

    QString currentLanguage() const { return m_strLanguage; }
    Q_INVOKABLE bool setLanguage(const QString &strLanguage);

Q_SIGNALS:
    void sigLoadMoreQm(QString strQm);

private:
    QTranslator *m_pTranslator = nullptr;
    QString m_strLanguage = QStringLiteral("en");
};
