#include <QtTest>

#include "CFileStamp.h"
#include "CRemovalGuard.h"
#include "FileOpsSandbox.h"

#include <optional>

#include <unistd.h>

namespace {

enum class EnChange {
    None,
    FileGone,
    FileSymlink,
    FileSameSizeOtherBytes,
    FileTouched,
    KeptGone,
    KeptOtherBytes,
    KeptRewrittenAfterFirstCheck,
    KeptSymlinkToFile,
    KeptHardLinkOfFile,
    KeptAliasOfFile,
    KeptOverlayOfFile,
    FileOverlayOfKept,
    KeptInMemory,
    OneOfTwoKeptGone,
    UnrecordedKeptSameBytes,
    UnrecordedKeptOtherPicture
};

} // namespace

Q_DECLARE_METATYPE(EnChange)

class TestRemovalGuard : public QObject
{
    Q_OBJECT
private:
    static void write(const QString &strPath, const QByteArray &bytes)
    {
        QFile file(strPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static CScannedFile scanned(const QString &strPath)
    {
        const CFileStamp stamp = dp::platform::fileStamp(strPath);
        CScannedFile file{strPath, stamp.i64Size, stamp.i64ModTime, 0};
        QString strError;
        if (!dp::platform::contentKeyOf(strPath, &file.iContentKey, &strError))
            qFatal("cannot hash %s", qPrintable(strPath));
        return file;
    }
    // Rewrites a file keeping its size and modification time, as a tool that restores the
    // time would: only the content tells it apart.
    static void rewriteKeepingTime(const QString &strPath, const QByteArray &bytes)
    {
        const QDateTime time = QFileInfo(strPath).lastModified();
        write(strPath, bytes);
        QFile file(strPath);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
    }

private slots:
    void testCheck_data()
    {
        QTest::addColumn<EnChange>("change");
        QTest::addColumn<QString>("reason");
        // Where the kept copy lies, below the test's folder.
        QTest::addColumn<QString>("keptAt");
        const auto row = [](const char *pszName, EnChange change, const QString &strReason,
                            const QString &strKeptAt = QStringLiteral("original.jpg")) {
            QTest::newRow(pszName) << change << strReason << strKeptAt;
        };
        row("unchanged", EnChange::None, QString());
        row("file gone", EnChange::FileGone, CRemovalGuard::textGone());
        row("file now a link", EnChange::FileSymlink, CRemovalGuard::textNotRegular());
        row("file rewritten, same size and time", EnChange::FileSameSizeOtherBytes, CRemovalGuard::textChanged());
        row("file touched", EnChange::FileTouched, CRemovalGuard::textChanged());
        row("kept gone", EnChange::KeptGone, CRemovalGuard::textKeptGone());
        row("kept rewritten", EnChange::KeptOtherBytes, CRemovalGuard::textKeptChanged());
        // Read once for the first removal, then rewritten in place with its time set back.
        row("kept rewritten after the first removal checked it", EnChange::KeptRewrittenAfterFirstCheck,
            CRemovalGuard::textKeptChanged());
        row("kept is a link to the file", EnChange::KeptSymlinkToFile, CRemovalGuard::textKeptChanged());
        row("kept is a hard link of the file", EnChange::KeptHardLinkOfFile, CRemovalGuard::textKeptSameFile());
        row("kept is the file by another spelling", EnChange::KeptAliasOfFile, CRemovalGuard::textKeptSameFile());
        // One file on two devices: the folder and an overlay of it (a FUSE view would do the same).
        row("kept is the file seen through an overlay", EnChange::KeptOverlayOfFile, CRemovalGuard::textKeptMayBeSameFile());
        row("file is the kept copy seen through an overlay", EnChange::FileOverlayOfKept,
            CRemovalGuard::textKeptMayBeSameFile());
        // A scan of a whole home or drive also finds the copies in its trash.
        row("kept lies in the home trash", EnChange::None, CRemovalGuard::textKeptInTrash(), "data/Trash/files/original.jpg");
        row("kept lies in a volume's trash", EnChange::None, CRemovalGuard::textKeptInTrash(),
            QStringLiteral(".Trash-%1/files/original.jpg").arg(::getuid()));
        // A drive also used with other systems: their trashes get emptied there.
        row("kept lies in a macOS volume trash", EnChange::None, CRemovalGuard::textKeptInTrash(), ".Trashes/501/original.jpg");
        row("kept lies in a Windows recycle bin", EnChange::None, CRemovalGuard::textKeptInTrash(),
            "$RECYCLE.BIN/S-1-5-21-1004/$RA1B2C3.jpg");
        row("kept lies in a system snapshot", EnChange::None, CRemovalGuard::textKeptInSnapshot(),
            ".snapshots/42/snapshot/original.jpg");
        // A viewer that opened the photo from an archive left a copy there.
        row("kept lies in a cache folder", EnChange::None, CRemovalGuard::textKeptInCache(), ".cache/.fr-Xb12/original.jpg");
        // A photo opened from a mail lands in a folder in memory or for temporary files; the
        // copy that stays is the one on disk.
        row("kept lies in memory, the file on disk", EnChange::KeptInMemory, CRemovalGuard::textKeptInMemory());
        row("kept lies in a temporary folder", EnChange::None, CRemovalGuard::textKeptInTempFolder(), "tmp/original.jpg");
        row("one of two kept gone", EnChange::OneOfTwoKeptGone, QString());
        // Scanned without content records, as by an engine without its additions.
        row("no content records, kept has the file's bytes", EnChange::UnrecordedKeptSameBytes, QString());
        row("no content records, kept is another picture of the same size", EnChange::UnrecordedKeptOtherPicture,
            CRemovalGuard::textKeptUnconfirmed());
    }
    void testCheck()
    {
        QFETCH(EnChange, change);
        QFETCH(QString, reason);
        QFETCH(QString, keptAt);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray picture(300000, 'p');
        QString file = dir.filePath("copy.jpg");
        QString kept = dir.filePath(keptAt);
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
        // The sandbox stands for folders the user keeps, not for temporary ones.
        const QByteArray oldTemp = qgetenv("TMPDIR");
        const auto restoreTemp = qScopeGuard([&] { qputenv("TMPDIR", oldTemp); });
        qputenv("TMPDIR", QFile::encodeName(dir.filePath("tmp")));
        // Copies in memory keep each other: the rows about one need the sandbox on disk.
        if ((change == EnChange::KeptInMemory || reason == CRemovalGuard::textKeptInTempFolder())
            && dp::platform::isInMemory(dir.path()))
            QSKIP("the temporary folder is in memory here");
        std::optional<QTemporaryDir> memory;
        if (change == EnChange::KeptInMemory) {
            memory.emplace(QStringLiteral("/dev/shm/guard-XXXXXX"));
            if (!memory->isValid() || !dp::platform::isInMemory(memory->path()))
                QSKIP("needs a folder in memory");
            kept = memory->filePath("original.jpg");
        }
        const bool bOverlay = change == EnChange::KeptOverlayOfFile || change == EnChange::FileOverlayOfKept;
        if (bOverlay) {
            QString &lower = change == EnChange::KeptOverlayOfFile ? file : kept;
            QString &view = change == EnChange::KeptOverlayOfFile ? kept : file;
            lower = dir.filePath("lower/" + QFileInfo(lower).fileName());
            view = dir.filePath("view/" + QFileInfo(lower).fileName());
        }
        QVERIFY(QDir().mkpath(QFileInfo(kept).path()) && QDir().mkpath(QFileInfo(file).path()));
        const QString second = dir.filePath("backup.jpg");
        for (const QString &path : {file, kept, second})
            if (!path.contains("/view/"))
                write(path, picture);
        std::unique_ptr<sandbox::CTmpfs> pOverlay;
        if (bOverlay) {
            QVERIFY(QDir().mkpath(dir.filePath("upper")) && QDir().mkpath(dir.filePath("work")));
            pOverlay = std::make_unique<sandbox::CTmpfs>(
                dir.filePath("view"),
                QFile::encodeName(QStringLiteral("lowerdir=%1,upperdir=%2,workdir=%3")
                                      .arg(dir.filePath("lower"), dir.filePath("upper"), dir.filePath("work"))),
                "overlay");
            if (!pOverlay->isOk())
                QSKIP("cannot mount an overlay here (needs root)");
        }

        CRemovalGuard guard;
        CScannedFile planned = scanned(file);
        // A time the rewrite below can set back to the last digit.
        if (change == EnChange::KeptRewrittenAfterFirstCheck)
            rewriteKeepingTime(kept, picture);
        QList<CScannedFile> listKept{scanned(kept)};
        if (change == EnChange::KeptAliasOfFile) {
            // The saved scan named the file twice, once through "/./".
            listKept = {scanned(file)};
            listKept.first().strPath = dir.path() + "/./copy.jpg";
        }
        if (change == EnChange::OneOfTwoKeptGone)
            listKept << scanned(second);
        QByteArray other = picture;
        other[1000] = 'q';
        // A rewrite that kept the time to the last digit the system stores: what the scan
        // saw of size and time matches, only the content tells it apart.
        if (change == EnChange::FileSameSizeOtherBytes) {
            rewriteKeepingTime(file, other);
            planned.i64ModTime = dp::platform::fileStamp(file).i64ModTime;
        } else if (change == EnChange::KeptOtherBytes) {
            rewriteKeepingTime(kept, other);
            listKept.first().i64ModTime = dp::platform::fileStamp(kept).i64ModTime;
        }
        if (change == EnChange::UnrecordedKeptOtherPicture)
            write(kept, other);
        if (change == EnChange::UnrecordedKeptSameBytes || change == EnChange::UnrecordedKeptOtherPicture) {
            for (CScannedFile *pFile : {&planned, &listKept.first()})
                *pFile = CScannedFile{pFile->strPath, pFile->i64Size, 0, 0};
        }
        guard.add(planned, listKept);
        if (change == EnChange::KeptRewrittenAfterFirstCheck) {
            guard.add(scanned(second), listKept);
            QCOMPARE(guard.check(second), QString());
            rewriteKeepingTime(kept, other);
        }
        switch (change) {
        case EnChange::FileGone: QVERIFY(QFile::remove(file)); break;
        case EnChange::FileSymlink: QVERIFY(QFile::remove(file) && QFile::link(kept, file)); break;
        case EnChange::FileTouched: {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
            break;
        }
        case EnChange::KeptGone:
        case EnChange::OneOfTwoKeptGone: QVERIFY(QFile::remove(kept)); break;
        case EnChange::KeptSymlinkToFile: QVERIFY(QFile::remove(kept) && QFile::link(file, kept)); break;
        case EnChange::KeptHardLinkOfFile:
            QVERIFY(QFile::remove(kept));
            QCOMPARE(::link(QFile::encodeName(file).constData(), QFile::encodeName(kept).constData()), 0);
            break;
        default: break;
        }
        QCOMPARE(guard.check(file), reason);
    }

    // Two removals at once (a second apply, the window), each keeping the copy the other
    // removes, would take both: the check and the removal of a file are one turn.
    void testCheckWaitsForTheTurnOfAnotherRemoval()
    {
        QTemporaryDir dir;
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
        const QString file = dir.filePath("copy.jpg");
        const QString kept = dir.filePath("original.jpg");
        write(file, "picture");
        write(kept, "picture");
        CRemovalGuard guard;
        guard.add(scanned(file), {scanned(kept)});
        {
            const CRemovalTurn other;
            QVERIFY(other.isHeld());
            const CRemovalTurn mine(true, 0);
            QVERIFY(!mine.isHeld());
            QCOMPARE(guard.check(file, mine), CRemovalGuard::textBusy());
        }
        const CRemovalTurn mine(true, 0);
        QVERIFY(mine.isHeld());
        QCOMPARE(guard.check(file, mine), QString());
    }

    void testUnplannedFileIsRefused()
    {
        CRemovalGuard guard;
        QCOMPARE(guard.check(QStringLiteral("/tmp/not-planned.jpg")), CRemovalGuard::textNotPlanned());
    }
};

QTEST_GUILESS_MAIN(TestRemovalGuard)
#include "tst_CRemovalGuard.moc"
