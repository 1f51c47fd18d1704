#include <QtTest>

#include "CAutoMarkRule.h"

namespace {

// One photo of a test group: "dir/name.ext:def=5:px=100x100:date=3:sim=90:size=9:key=7:mod=4:pref:hidden:marked:burst"
// (key: the engine's content key, mod: the file's modification time; 0 or missing for unknown)
CPhotoRecordCopy photo(const QString &strDescription)
{
    const QStringList parts = strDescription.split(QLatin1Char(':'));
    static QList<QString> s_paths;
    s_paths << QStringLiteral("/p/") + parts[0];
    PhotoRecord record;
    record.pszPath = reinterpret_cast<const ZKChar *>(s_paths.last().utf16());
    record.definition = 1.0;
    record.width = 100;
    record.height = 100;
    for (const QString &part : parts.mid(1)) {
        if (part.startsWith("def="))
            record.definition = part.mid(4).toDouble();
        else if (part.startsWith("px=")) {
            record.width = static_cast<uint16_t>(part.mid(3).section('x', 0, 0).toUInt());
            record.height = static_cast<uint16_t>(part.mid(3).section('x', 1, 1).toUInt());
        } else if (part.startsWith("date="))
            record.dateTime = part.mid(5).toULongLong();
        else if (part == "pref")
            record.flags |= PhotoFlag_Preferred;
        else if (part == "hidden")
            record.flags |= PhotoFlag_Hidden;
        else if (part == "marked")
            record.flags |= PhotoFlag_Marked;
        else if (part == "burst")
            record.flags |= PhotoFlag_Burst;
        else if (part.startsWith("sim="))
            record.similarity = static_cast<uint8_t>(part.mid(4).toUInt());
        else if (part.startsWith("size="))
            record.fileSize = part.mid(5).toULongLong();
    }
    return CPhotoRecordCopy(record);
}

qint64 fact(const QString &strDescription, const QString &strName)
{
    const int at = strDescription.indexOf(QLatin1Char(':') + strName + QLatin1Char('='));
    return at < 0 ? 0 : strDescription.mid(at + strName.size() + 2).section(QLatin1Char(':'), 0, 0).toLongLong();
}

QStringList names(const QStringList &paths)
{
    QStringList list;
    for (const QString &path : paths)
        list << path.mid(3);
    return list;
}

} // namespace

class TestAutoMarkRule : public QObject
{
    Q_OBJECT
private slots:
    void testRuleOrderAndTies_data()
    {
        QTest::addColumn<QStringList>("group");
        QTest::addColumn<QStringList>("marked");
        // The reasons of the marks, in the order of the marked photos, repeats left out.
        QTest::addColumn<QStringList>("reasons");

        QTest::newRow("sharpness 5 vs 6: the blurred one")
            << QStringList{"a.jpg:def=5", "b.jpg:def=6"} << QStringList{"a.jpg"} << QStringList{"less detail"};
        QTest::newRow("sharpness 5.5 vs 6: outside the band, later rules decide (keep first)")
            << QStringList{"a.jpg:def=5.5", "b.jpg:def=6"} << QStringList{"b.jpg"} << QStringList{"no better than the kept photo"};
        QTest::newRow("blurred burst frame is spared, and the last other copy kept")
            << QStringList{"a.jpg:def=5:burst:sim=90", "b.jpg:def=6"} << QStringList{} << QStringList{};
        QTest::newRow("burst frame that is an exact copy is marked")
            << QStringList{"a.jpg:def=5:burst:sim=100", "b.jpg:def=6"} << QStringList{"a.jpg"} << QStringList{"less detail"};
        QTest::newRow("burst frame spared, other copies keep the rule order")
            << QStringList{"a.jpg:date=0:burst:sim=95", "b.jpg:date=1", "c.jpg:date=2", "d.jpg:date=1"}
            << QStringList{"b.jpg", "d.jpg"} << QStringList{"older"};
        QTest::newRow("sharpest hidden, all others in the band: first one kept")
            << QStringList{"h.jpg:def=6:hidden", "a.jpg:def=3", "b.jpg:def=4"} << QStringList{"b.jpg"}
            << QStringList{"less detail"};
        QTest::newRow("far too blurred is below the band")
            << QStringList{"a.jpg:def=0.5", "b.jpg:def=6", "c.jpg:def=6"} << QStringList{"b.jpg", "c.jpg"}
            << QStringList{"no better than the kept photo"};
        QTest::newRow("HEIC beside JPEG")
            << QStringList{"a.jpg", "b.HEIC"} << QStringList{"b.HEIC"} << QStringList{"HEIC beside other formats"};
        QTest::newRow("suffixless path counts as no other format")
            << QStringList{"noext", "b.heic"} << QStringList{"b.heic"} << QStringList{"no better than the kept photo"};
        QTest::newRow("lower resolution")
            << QStringList{"a.jpg:px=100x100", "b.jpg:px=200x100", "c.jpg:px=50x50"} << QStringList{"a.jpg", "c.jpg"}
            << QStringList{"lower resolution"};
        QTest::newRow("hidden file sets the largest resolution: first candidate kept")
            << QStringList{"h.jpg:px=400x400:hidden", "a.jpg", "b.jpg"} << QStringList{"b.jpg"}
            << QStringList{"lower resolution"};
        QTest::newRow("preferred original kept")
            << QStringList{"a.jpg", "b.jpg:pref", "c.jpg"} << QStringList{"a.jpg", "c.jpg"} << QStringList{"not a camera original"};
        QTest::newRow("all preferred: no preference, keep first")
            << QStringList{"a.jpg:pref", "b.jpg:pref"} << QStringList{"b.jpg"} << QStringList{"no better than the kept photo"};
        QTest::newRow("older dates") << QStringList{"a.jpg:date=9", "b.jpg:date=3", "c.jpg:date=9"}
                                     << QStringList{"b.jpg"} << QStringList{"older"};
        QTest::newRow("one visible photo is never marked")
            << QStringList{"a.jpg", "b.jpg:hidden"} << QStringList{} << QStringList{};
        QTest::newRow("earlier marks are replaced")
            << QStringList{"a.jpg:marked", "b.jpg:def=6"} << QStringList{"a.jpg"} << QStringList{"less detail"};
        QTest::newRow("kept byte copies: the one beside the originals stays")
            << QStringList{"web.jpg:px=50x50", "backup/a.jpg:key=7", "camera/a.jpg:key=7:pref", "camera/b.jpg:pref"}
            << QStringList{"web.jpg", "backup/a.jpg"} << QStringList{"lower resolution", "byte copy of the kept photo"};
        QTest::newRow("kept byte copies where originals are alike: the one written first stays")
            << QStringList{"s.jpg:px=50x50", "backup/a.jpg:key=7:pref:mod=20", "camera/a.jpg:key=7:pref:mod=10"}
            << QStringList{"s.jpg", "backup/a.jpg"} << QStringList{"lower resolution", "byte copy of the kept photo"};
        QTest::newRow("kept byte copies without originals: the first stays")
            << QStringList{"s.jpg:px=50x50", "x/a.jpg:key=7", "y/a.jpg:key=7"} << QStringList{"s.jpg", "y/a.jpg"}
            << QStringList{"lower resolution", "byte copy of the kept photo"};
        QTest::newRow("equal keys of other sizes are not byte copies")
            << QStringList{"s.jpg:px=50x50", "a.jpg:key=7:size=10", "b.jpg:key=7:size=11"} << QStringList{"s.jpg"}
            << QStringList{"lower resolution"};
    }

    void testRuleOrderAndTies()
    {
        QFETCH(QStringList, group);
        QFETCH(QStringList, marked);
        QFETCH(QStringList, reasons);
        QList<CPhotoRecordCopy> files;
        QVector<quint64> listKeys;
        QVector<qint64> listModified;
        for (const QString &strDescription : group) {
            files << photo(strDescription);
            listKeys << quint64(fact(strDescription, QStringLiteral("key")));
            listModified << fact(strDescription, QStringLiteral("mod"));
        }
        CAutoMarkRule::clearMarks(files);
        QHash<QString, CAutoMarkRule::EnMarkReason> mapReasons;
        const QStringList listMarked = CAutoMarkRule::markGroup(files, listKeys, listModified, &mapReasons);
        QCOMPARE(names(listMarked), marked);
        QStringList listReasons;
        for (const QString &path : listMarked) {
            const QString reason = CAutoMarkRule::reasonKey(mapReasons.value(path));
            if (listReasons.isEmpty() || listReasons.last() != reason)
                listReasons << reason;
        }
        QCOMPARE(listReasons, reasons);
        int iVisible = 0;
        int iMarked = 0;
        for (const CPhotoRecordCopy &file : files) {
            QCOMPARE(file.isMarked(), marked.contains(file.path().mid(3)));
            if (!file.isHidden()) {
                ++iVisible;
                iMarked += file.isMarked();
            }
            QVERIFY(!(file.isHidden() && file.isMarked()));
        }
        // Never every visible copy of a group.
        QVERIFY(iVisible == 0 || iMarked < iVisible);
    }

    void testNeverMarksAWholeGroup()
    {
        // Every combination of two attributes over groups of two to four photos.
        const QStringList variants{"x.jpg", "x.heic", "x.jpg:def=3", "x.jpg:def=6", "x.jpg:px=50x50",
                                   "x.jpg:pref", "x.jpg:date=5", "x.jpg:hidden"};
        for (int n = 2; n <= 4; ++n) {
            for (int seed = 0; seed < 500; ++seed) {
                QList<CPhotoRecordCopy> files;
                for (int i = 0; i < n; ++i)
                    files << photo(QString(variants[(seed * 7 + i * 13 + seed / (i + 1)) % variants.size()]
                                       ).replace("x.", QStringLiteral("f%1.").arg(i)));
                CAutoMarkRule::markGroup(files);
                int iVisible = 0;
                int iMarked = 0;
                for (const CPhotoRecordCopy &file : files) {
                    iVisible += !file.isHidden();
                    iMarked += file.isMarked();
                }
                QVERIFY2(iVisible == 0 || iMarked < iVisible, qPrintable(QString::number(seed)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestAutoMarkRule)
#include "tst_CAutoMarkRule.moc"
