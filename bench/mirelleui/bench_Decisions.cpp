// The costs of remembered "Not duplicates" decisions: storing one group's pairs into a
// store that already holds many, opening that store at the first scan, handing the pairs
// to the engine, and the automatic marks over 100,000 photos with burst frames among them.
#include "CAutoMarkRule.h"
#include "CDecisionStore.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kStoredPairs = 20000;
constexpr int kGroupPhotos = 40;
constexpr int kPhotos = 100000;
constexpr int kGroupSize = 5;

QList<CDecision> pairsFrom(quint64 iFirstKey, int iPhotos)
{
    QList<CDecision> list;
    for (int i = 0; i < iPhotos; ++i) {
        for (int j = i + 1; j < iPhotos; ++j) {
            CDecision pair;
            pair.iKeyA = iFirstKey + quint64(i);
            pair.iKeyB = iFirstKey + quint64(j);
            pair.strPathA = QStringLiteral("/photos/2026/IMG_%1.jpg").arg(pair.iKeyA);
            pair.strPathB = QStringLiteral("/photos/2026/IMG_%1.jpg").arg(pair.iKeyB);
            list << pair;
        }
    }
    return list;
}

} // namespace

class BenchDecisions : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_strPath;
    quint64 m_iNextKey = 1;

private slots:
    void initTestCase()
    {
        // Given a store holding kStoredPairs decisions, made of groups of 20 photos
        m_strPath = m_dir.filePath(QStringLiteral("decisions.sqlite"));
        CDecisionStore store;
        QVERIFY(store.open(m_strPath));
        while (store.count() < kStoredPairs) {
            QVERIFY(store.addPairs(pairsFrom(m_iNextKey, 20)));
            m_iNextKey += 20;
        }
    }

    void benchSeparateGroup()
    {
        CDecisionStore store;
        QVERIFY(store.open(m_strPath));
        QBENCHMARK {
            QVERIFY(store.addPairs(pairsFrom(m_iNextKey, kGroupPhotos)));
            m_iNextKey += kGroupPhotos;
        }
    }

    void benchOpen()
    {
        QBENCHMARK {
            CDecisionStore store;
            QVERIFY(store.open(m_strPath));
        }
    }

    void benchPairsForTheEngine()
    {
        CDecisionStore store;
        QVERIFY(store.open(m_strPath));
        QVector<uint64_t> keys;
        QBENCHMARK {
            keys = store.flatPairs();
        }
        QVERIFY(keys.size() >= 2 * kStoredPairs);
    }

    void benchAutoMarkWithBursts()
    {
        QStringList paths;
        for (int i = 0; i < kPhotos; ++i)
            paths << QStringLiteral("/photos/IMG_%1.jpg").arg(i);
        QVector<QList<CPhotoRecordCopy>> groups(kPhotos / kGroupSize);
        for (int i = 0; i < kPhotos; ++i) {
            PhotoRecord record;
            record.pszPath = reinterpret_cast<const ZKChar *>(paths.at(i).utf16());
            record.definition = 5.0 + i % 3;
            record.dateTime = quint64(i);
            record.similarity = i % kGroupSize == 0 ? 100 : 90;
            // Every other group is a burst
            if ((i / kGroupSize) % 2 == 1)
                record.flags |= PhotoFlag_Burst;
            groups[i / kGroupSize] << CPhotoRecordCopy(record);
        }
        int iMarked = 0;
        QBENCHMARK {
            iMarked = 0;
            for (QList<CPhotoRecordCopy> &files : groups) {
                CAutoMarkRule::clearMarks(files);
                iMarked += CAutoMarkRule::markGroup(files).size();
            }
        }
        QVERIFY(iMarked > 0);
    }
};

QTEST_GUILESS_MAIN(BenchDecisions)
#include "bench_Decisions.moc"
