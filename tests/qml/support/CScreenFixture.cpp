#include "CScreenFixture.h"

#include <QStandardPaths>

#include "CDupPicsMgr.h"
#include "CFileStamp.h"
#include "CFileDelImplement.h"
#include "CFilePreview.h"
#include "CFormat.h"
#include "CThumbImageProvider.h"
#include "FakeEngineControl.h"
#include "ManagerTestSupport.h"

#include <QColor>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSignalSpy>

namespace {
constexpr int kGroupKeyBase = 1000;

// A picture of its own colour and size, so that thumbnails differ and sizes are real.
bool writePhoto(const QString &strPath, int iGroup, int iRow)
{
    QDir().mkpath(QFileInfo(strPath).path());
    // The first photo is the largest and sharpest: the automatic marks keep it.
    QImage image(320 - 4 * iRow, 240, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((iGroup * 47) % 360, 120 + 20 * (iRow % 5), 200));
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("%1 / %2").arg(iGroup + 1).arg(iRow + 1));
    painter.end();
    return image.save(strPath, "JPG", 90 - iRow);
}

// The folders differ between the copies of a group, as they do between an original and its backup.
// Names differ between scans too, so that the trash never holds two of one name.
QString relativePath(int iScan, int iGroup, int iRow)
{
    static const char *const kFolders[] = {"Pictures/Lisbon", "Backup/Phone/Lisbon", "Pictures/Garden", "Backup/Card"};
    return QStringLiteral("scan%1/%2/IMG_%3.jpg")
        .arg(iScan)
        .arg(QLatin1String(kFolders[iRow % 4]))
        .arg(4200 + 1000 * iScan + 20 * iGroup + iRow);
}
} // namespace

CScreenFixture::CScreenFixture(QObject *parent)
    : QObject(parent), m_pEnv(std::make_unique<CManagerTestEnvironment>()),
      m_pEngine(std::make_unique<CFakeEngineControl>()), m_pLoader(new CScreenLoader(this))
{
    // The trash and the removal journal live below HOME.
    qputenv("HOME", QFile::encodeName(m_dir.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("xdg-data"))));
    if (!m_pEngine->isValid())
        qFatal("the fake engine %s does not load", FAKE_ENGINE_PATH);
    CDupPicsMgr::setEngineLibraryOverride(QStringLiteral(FAKE_ENGINE_PATH));
    m_pMgr = std::make_unique<CDupPicsMgr>();
}

CScreenFixture::~CScreenFixture() = default;

void CScreenFixture::registerTypes()
{
    qmlRegisterType<CDupPicsMgr>("DupPicsMgr", 1, 0, "DFMEnum");
    qmlRegisterType<CFilePreview>("FilePreview", 1, 0, "FPEnum");
    qmlRegisterSingletonType<CFormat>("Mirelle", 1, 0, "Format", [](QQmlEngine *, QJSEngine *) -> QObject * { return new CFormat; });
}

void CScreenFixture::publish(QQmlEngine *pEngine, EnPublish publish)
{
    QQmlContext *pContext = pEngine->rootContext();
    pContext->setContextProperty(QStringLiteral("apploader"), m_pLoader);
    if (publish == EnPublish::LoaderOnly)
        return;
    pContext->setContextProperty(QStringLiteral("dfMgr"), m_pMgr.get());
    QQmlEngine::setObjectOwnership(m_pMgr->deletionService(), QQmlEngine::CppOwnership);
    pContext->setContextProperty(QStringLiteral("dfDeltor"), m_pMgr->deletionService());
    pContext->setContextProperty(QStringLiteral("mainUI"), this);
    pContext->setContextProperty(QStringLiteral("fixture"), this);
    pEngine->addImageProvider(QStringLiteral("thumbProvider"), new CThumbImageProvider(false));
    pEngine->addImageProvider(QStringLiteral("maxThumbProvider"), new CThumbImageProvider(true));
}

bool CScreenFixture::scan(const QVariantList &listCounts)
{
    if (!prepare(listCounts))
        return false;
    m_pMgr->resetModel();
    QSignalSpy complete(m_pMgr.get(), &CDupPicsMgr::sigScanComplete);
    m_pMgr->collectDupFiles();
    return complete.wait(20000);
}

bool CScreenFixture::prepare(const QVariantList &listCounts, bool bHold, int iSlowMs)
{
    // Each scan gets fresh files: a removal of the last one must not decide this one.
    ++m_iScan;
    QJsonArray events{QJsonObject{{"op", "progress"}, {"step", 1}, {"done", 0}}};
    for (int g = 0; g < listCounts.size(); ++g) {
        for (int r = 0; r < listCounts.at(g).toInt(); ++r) {
            const QString path = m_dir.filePath(relativePath(m_iScan, g, r));
            quint64 iKey = 0;
            QString strError;
            if (!writePhoto(path, g, r) || !dp::platform::contentKeyOf(path, &iKey, &strError))
                return false;
            const double id = r == 0 ? kGroupKeyBase + g : 100000 + 1000 * g + r;
            QJsonObject event{{"op", r == 0 ? "create" : "join"}, {"id", id}, {"path", path},
                              {"size", double(QFileInfo(path).size())}, {"sim", 100 - 3 * r},
                              {"w", 320 - 4 * r}, {"h", 240}, {"def", 1.0 - 0.05 * r},
                              {"date", double(dp::platform::fileStamp(path).i64ModTime)},
                              {"mtime", QString::number(dp::platform::fileStamp(path).i64ModTime)},
                              {"hash", QString::number(iKey)}};
            if (r > 0)
                event.insert("group", kGroupKeyBase + g);
            events.append(event);
        }
    }
    if (iSlowMs > 0)
        events.append(QJsonObject{{"op", "sleep"}, {"ms", iSlowMs}});
    events.append(QJsonObject{{"op", "finished"}, {"step", 1}, {"n", 10}});
    if (bHold)
        events.append(QJsonObject{{"op", "waitStop"}});
    // A regroup (after a decision or an undo) finds the same groups again.
    m_pEngine->setScript(QJsonDocument(QJsonObject{{"volumes", QJsonArray{"/"}},
                                                   {"events", events},
                                                   {"regroup", events},
                                                   {"skipped", QJsonArray::fromVariantList(m_listSkipped)}})
                             .toJson());
    m_listSkipped.clear();
    return true;
}

QString CScreenFixture::photoPath(int iGroup, int iRow) const
{
    return m_dir.filePath(relativePath(m_iScan, iGroup, iRow));
}

bool CScreenFixture::scanning() const
{
    return m_pMgr->isScanning() || m_pMgr->isRegrouping();
}

void CScreenFixture::setMarks(int iGroup, const QVariantList &listMarks)
{
    QObject *pModel = m_pMgr->getPhotosModelByCreate(kGroupKeyBase + iGroup);
    for (int row = 0; pModel && row < listMarks.size(); ++row)
        QMetaObject::invokeMethod(pModel, "setCheckState", Q_ARG(int, row), Q_ARG(bool, listMarks.at(row).toBool()));
}

bool CScreenFixture::exists(const QString &strPath) const
{
    return QFileInfo::exists(strPath);
}

bool CScreenFixture::inTrash(const QString &strPath) const
{
    return QFileInfo::exists(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                             + QStringLiteral("/Trash/files/") + QFileInfo(strPath).fileName());
}

bool CScreenFixture::writeFile(const QString &strPath) const
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write("another file") > 0;
}
