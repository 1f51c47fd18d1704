#pragma once

#include "CFileStamp.h"
#include "CTestPhotos.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

struct CCliRun
{
    int iExit = -1;
    QByteArray arrOut;
    QByteArray arrErr;
};

// Every per-user place the program writes to lies below strHome.
inline QProcessEnvironment cliEnvironment(const QString &strHome)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), strHome);
    for (const QString &name : {QStringLiteral("DATA"), QStringLiteral("CACHE"), QStringLiteral("CONFIG")})
        env.insert(QStringLiteral("XDG_%1_HOME").arg(name), strHome + QLatin1Char('/') + name.toLower());
#ifdef SCAN_ENGINE_PATH
    env.insert(QStringLiteral("MIRELLE_SCAN_ENGINE"), QStringLiteral(SCAN_ENGINE_PATH));
#endif
    return env;
}

inline CCliRun runCli(const QProcessEnvironment &env, const QStringList &listArgs, const QByteArray &arrInput = {})
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(env.value(QStringLiteral("HOME")));
    process.start(QStringLiteral(MIRELLE_CLI_PATH), listArgs);
    process.write(arrInput);
    process.closeWriteChannel();
    // Generous: the suite runs beside busy cores.
    if (!process.waitForFinished(120000))
        process.kill();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

using CGroups = QSet<QStringList>;

// A home and a folder of photos for the program: distinct scenes a.jpg .. f.jpg, where a, b
// and c have copies an engine must find, and a file that cannot be decoded.
class CCliSandbox
{
public:
    QTemporaryDir home;
    std::unique_ptr<QTemporaryDir> pPhotos;
    const CGroups expected{{"a-copy.jpg", "a.jpg"}, {"b-half.png", "b.jpg"}, {"c-q50.jpg", "c.jpg"}};

    QString photo(const QString &strName) const { return pPhotos->filePath(strName); }
    QString inHome(const QString &strName) const { return home.filePath(strName); }
    CCliRun run(const QStringList &listArgs, const QByteArray &arrInput = {}) const
    {
        return runCli(cliEnvironment(home.path()), listArgs, arrInput);
    }

    void makePhotos()
    {
        pPhotos = std::make_unique<QTemporaryDir>(home.filePath(QStringLiteral("photosXXXXXX")));
        const QStringList listScenes{"a", "b", "c", "d", "e", "f"};
        for (int i = 0; i < listScenes.size(); ++i)
            QVERIFY(testphotos::save(testphotos::scene(7 * i + 3, QSize(1200, 900)), photo(listScenes[i] + ".jpg"), "JPEG", 92));
        QVERIFY(QFile::copy(photo("a.jpg"), photo("a-copy.jpg")));
        const QImage b(photo("b.jpg"));
        QVERIFY(b.scaled(600, 450, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).save(photo("b-half.png")));
        QVERIFY(QImage(photo("c.jpg")).save(photo("c-q50.jpg"), "JPEG", 50));
        QVERIFY(testphotos::writeBytes(photo("broken.jpg"), QByteArray("\xff\xd8\xff\xe0") + QByteArray(200000, 'x')));
    }

    static QJsonObject readJson(const QString &strPath)
    {
        QFile file(strPath);
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
    }

    static CGroups groupsOf(const QJsonObject &root)
    {
        CGroups groups;
        for (const QJsonValue &group : root.value("groups").toArray()) {
            QStringList listNames;
            for (const QJsonValue &photo : group.toObject().value("photos").toArray())
                listNames << QFileInfo(photo.toObject().value("path").toString()).fileName();
            listNames.sort();
            groups.insert(listNames);
        }
        return groups;
    }

    // Scans the photos into strOutput; an empty object when the scan failed.
    QJsonObject scan(const QString &strOutput, const QStringList &listExtra = {}) const
    {
        const CCliRun result = run(QStringList{"scan", "--all-images", "--min-size", "0", "-o", strOutput} + listExtra
                                   + QStringList{pPhotos->path()});
        return result.iExit == 0 ? readJson(strOutput) : QJsonObject();
    }

    // A saved scan written here: pairs of small files, the second of each proposed.
    QString writePairs(int iPairs, QStringList *pProposed) const
    {
        QJsonArray groups;
        for (int i = 0; i < iPairs; ++i) {
            QJsonArray photos;
            for (const QString &name : {QStringLiteral("p%1.jpg").arg(i), QStringLiteral("p%1-copy.jpg").arg(i)}) {
                const QByteArray content = QByteArray::number(i);
                testphotos::writeBytes(photo(name), content);
                const bool bProposed = name.endsWith("-copy.jpg");
                if (bProposed)
                    *pProposed << photo(name);
                // What a scan records, so that apply finds each file unchanged.
                quint64 iKey = 0;
                QString strError;
                (void)dp::platform::contentKeyOf(photo(name), &iKey, &strError);
                photos.append(QJsonObject{{"path", photo(name)}, {"size", double(content.size())}, {"proposed", bProposed},
                                          {"fileTime", QString::number(dp::platform::fileStamp(photo(name)).i64ModTime)},
                                          {"contentKey", QString::number(iKey, 16)}});
            }
            groups.append(QJsonObject{{"photos", photos}});
        }
        const QString saved = home.filePath("pairs.json");
        testphotos::writeBytes(saved, QJsonDocument(QJsonObject{{"format", "mirelle-scan"}, {"version", 2},
                                                   {"sources", QJsonArray{pPhotos->path()}}, {"groups", groups}})
                             .toJson());
        return saved;
    }
};
