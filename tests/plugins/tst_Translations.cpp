#include <QtTest>

// The translation sources as shipped: a text the German file leaves open shows in
// English, and an English plural without its forms shows as "%n file(s)".
class tst_Translations : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void testEveryTextIsTranslated_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("German") << "de";
        // English texts are their own translation; only plurals need their forms written.
        QTest::newRow("English plurals") << "en";
    }

    void testEveryTextIsTranslated()
    {
        QFETCH(QString, language);
        QFile file(QStringLiteral(DP_TRANSLATIONS_DIR "/mirelle_%1.ts").arg(language));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
        const QString ts = QString::fromUtf8(file.readAll());
        static const QRegularExpression message(QStringLiteral("<message( numerus=\"yes\")?>(.*?)</message>"),
                                                QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression gone(QStringLiteral("type=\"(vanished|obsolete)\""));
        static const QRegularExpression open(QStringLiteral(
            "type=\"unfinished\"|<translation>\\s*</translation>|<translation/>|<numerusform>\\s*</numerusform>|<numerusform/>"));
        QStringList listOpen;
        int iChecked = 0;
        for (auto it = message.globalMatch(ts); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            const QString body = match.captured(2);
            if (body.contains(gone) || (language == QLatin1String("en") && match.captured(1).isEmpty()))
                continue;
            ++iChecked;
            if (body.contains(open))
                listOpen << body.section(QLatin1String("<source>"), 1).section(QLatin1String("</source>"), 0, 0);
        }
        QVERIFY(iChecked > 0);
        QVERIFY2(listOpen.isEmpty(), qPrintable(listOpen.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(tst_Translations)
#include "tst_Translations.moc"
