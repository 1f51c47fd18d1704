#include <QFile>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct CMessage
{
    QString strContext;
    QString strSource;
    bool bPlural = false;
    bool bOpen = false;  // unfinished, or a plural form left empty
};

QList<CMessage> readMessages(const QString &strPath, QString *pstrError)
{
    QList<CMessage> list;
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *pstrError = file.errorString();
        return list;
    }
    QXmlStreamReader xml(&file);
    QString strContext;
    CMessage message;
    bool bVanished = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QStringRef name = xml.name();
            if (name == QLatin1String("name")) {
                strContext = xml.readElementText();
            } else if (name == QLatin1String("message")) {
                message = CMessage{strContext, {}, xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes"), false};
                bVanished = false;
            } else if (name == QLatin1String("source")) {
                message.strSource = xml.readElementText();
            } else if (name == QLatin1String("translation")) {
                const QStringRef type = xml.attributes().value(QLatin1String("type"));
                bVanished = type == QLatin1String("vanished") || type == QLatin1String("obsolete");
                message.bOpen = type == QLatin1String("unfinished");
                // A plural's forms follow as child elements.
                if (!message.bPlural)
                    message.bOpen = xml.readElementText().isEmpty() || message.bOpen;
            } else if (name == QLatin1String("numerusform")) {
                message.bOpen = message.bOpen || xml.readElementText().isEmpty();
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message") && !bVanished) {
            list.append(message);
        }
    }
    if (xml.hasError())
        *pstrError = xml.errorString();
    return list;
}

} // namespace

// The translation sources as shipped: a text the German file leaves open shows in
// English, and an English plural without its forms shows as "%n file(s)".
class tst_Translations : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void testEveryTextIsTranslated_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("open");
        // English texts are their own translation; only plurals need their forms written.
        for (const QString &strLanguage : {QStringLiteral("de"), QStringLiteral("en")}) {
            QString strError;
            const QList<CMessage> list =
                readMessages(QStringLiteral(DP_TRANSLATIONS_DIR "/mirelle_%1.ts").arg(strLanguage), &strError);
            QVERIFY2(strError.isEmpty(), qPrintable(strError));
            QVERIFY(!list.isEmpty());
            for (const CMessage &message : list) {
                if (strLanguage == QLatin1String("en") && !message.bPlural)
                    continue;
                QTest::addRow("%s: %s: %s", qPrintable(strLanguage), qPrintable(message.strContext),
                              qPrintable(message.strSource.left(40)))
                    << message.strContext << message.strSource << message.bOpen;
            }
        }
    }

    void testEveryTextIsTranslated()
    {
        QFETCH(bool, open);
        QVERIFY(!open);
    }
};

QTEST_GUILESS_MAIN(tst_Translations)
#include "tst_Translations.moc"
