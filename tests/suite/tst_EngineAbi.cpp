#include <QtTest>

#include "IScanEngine.h"

namespace {

class CTestVolume : public IScanVolume
{
public:
    explicit CTestVolume(bool *pbDestroyed) : m_pbDestroyed(pbDestroyed) {}
    ~CTestVolume() override { *m_pbDestroyed = true; }
    void Prepare() override { m_iState = 7; }
    int32_t IsReady() override { return 1; }
    const ZKChar *GetRootPath() override { return u"/"; }
    void AddPath(const ZKChar *) override {}
    void ClearPaths() override { m_iState = 0; }

private:
    bool *m_pbDestroyed;
};

} // namespace

class TestEngineAbi : public QObject
{
    Q_OBJECT
private slots:
    void testStateWordAtByte16AndLastReleaseDestroys()
    {
        bool bDestroyed = false;
        auto *pVolume = new CTestVolume(&bDestroyed);
        QCOMPARE(scanVolumeState(pVolume), 0u);
        pVolume->Prepare();
        QCOMPARE(scanVolumeState(pVolume), 7u);
        // The last release destroys, once.
        QCOMPARE(pVolume->AddRef(), 2);
        QCOMPARE(pVolume->Release(), 1);
        QVERIFY(!bDestroyed);
        QCOMPARE(pVolume->Release(), 0);
        QVERIFY(bDestroyed);
    }
};

QTEST_GUILESS_MAIN(TestEngineAbi)
#include "tst_EngineAbi.moc"
