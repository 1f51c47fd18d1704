#pragma once

#include "CComponentBase.h"

#include <QStringList>

class QTranslator;

// Switches the interface language at run time from the translation files in the
// "translations" folder of the program's data, and remembers the choice for the next start.
class CMultiLanguage : public CComponentBase
{
    Q_OBJECT
    Q_PROPERTY(QString currentLanguage READ currentLanguage NOTIFY sigCurrentLanguageChanged)
    Q_PROPERTY(QStringList languages READ languages CONSTANT)
public:
    QString name() const override { return QStringLiteral("MultiLanguage"); }
    bool initialize() override;

    QString currentLanguage() const { return m_strLanguage; }
    // Languages with a translation file, such as "en" and "de".
    QStringList languages() const;
    // "de" or "de_DE"; false (and nothing changes) when there is no translation for it.
    Q_INVOKABLE bool setLanguage(const QString &strLanguage);

    static QString translationsDirectory();

Q_SIGNALS:
    void sigLoadMoreQm(QString strQm);

private:
    QTranslator *m_pTranslator = nullptr;
    QString m_strLanguage = QStringLiteral("en");
};
