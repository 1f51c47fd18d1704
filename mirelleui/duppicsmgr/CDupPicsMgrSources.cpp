// Scan sources, options and the settings document of the scan manager.
#include "CDupPicsMgr.h"

#include "CCollectionThread.h"
#include "CPlatform.h"
#include "IVolumes.h"
#include "ManagerLogging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>


namespace {

QVariantMap photoTypeRecord(int iValue)
{
    return {{QStringLiteral("desc"), QObject::tr("Orignal photo only")}, {QStringLiteral("value"), iValue}};
}

QVariantMap similarSlotRecord(int iValue)
{
    return {{QStringLiteral("desc"), QObject::tr("70%")}, {QStringLiteral("value"), iValue}};
}

QVariantMap rotationRecord(bool bOn)
{
    return {{QStringLiteral("desc"), QObject::tr("Find rotated and mirrored copies")}, {QStringLiteral("value"), bOn ? 1 : 0}};
}

bool isVolumeRoot(const QString &strPath)
{
    const QString clean = QDir::cleanPath(strPath);
    return QDir(clean).isRoot() || dp::platform::volumes().keyOfPath(clean) == clean;
}

} // namespace

QVariantMap CDupPicsMgr::defaultOptions()
{
    return {{QStringLiteral("photoType"), photoTypeRecord(0)},
            {QStringLiteral("minSize"),
             QVariantMap{{QStringLiteral("desc"), QObject::tr("Minimum file size")},
                         {QStringLiteral("value"), 100},
                         {QStringLiteral("index"), 0},
                         {QStringLiteral("unit"), QStringLiteral("KB")}}},
            {QStringLiteral("similarSlot"), similarSlotRecord(6)},
            {QStringLiteral("rotationMatching"), rotationRecord(false)}};
}

void CDupPicsMgr::addCollectPath()
{
    resetEngine();
    clearVolumePaths();
    const bool bWasEmpty = m_listSources.isEmpty();

    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QUrl url = QFileDialog::getExistingDirectoryUrl(
        nullptr, QString(), QUrl(QStringLiteral("file:///") + pictures),
        QFileDialog::DontResolveSymlinks | QFileDialog::DontConfirmOverwrite | QFileDialog::ShowDirsOnly);

    if (!url.isEmpty()) {
        const QString path = url.toLocalFile();
        if (!QFileInfo(path).isDir())
            return;
        const QString key = dp::platform::volumes().keyOfPath(path);
        if (!m_listSources.contains(path) && !key.isEmpty() && m_mapVolumes.contains(key)) {
            m_listSources.append(path);
            Q_EMIT sigSourcesChanged();
        }
    }
    sendUsageEvent(QStringLiteral("AddPhotoFolders"), QStringLiteral("Click_AddFolders"),
                   {{QStringLiteral("method"), QStringLiteral("select_folder")},
                    {QStringLiteral("path_type"), QStringLiteral("folder")},
                    {QStringLiteral("phase"), bWasEmpty ? QStringLiteral("add_first") : QStringLiteral("add_more")}});
}

void CDupPicsMgr::addDropPaths(QList<QUrl> dropList)
{
    const bool bWasEmpty = m_listSources.isEmpty();
    int iAdded = 0;
    bool bLastIsRoot = false;
    QStringList listSkipped;
    for (const QUrl &url : qAsConst(dropList)) {
        const QString path = url.toLocalFile();
        // Network paths are not scanned.
        if (path.isEmpty() || path.startsWith(QLatin1Char('\\')) || path.startsWith(QLatin1String("//"))
            || !QFileInfo(path).isDir()) {
            // Said once, so that a dropped file or a mistyped folder is not just ignored.
            const QString shown = path.isEmpty() ? url.toDisplayString(QUrl::PreferLocalFile) : QDir::toNativeSeparators(path);
            if (!listSkipped.contains(shown))
                listSkipped << shown;
            continue;
        }
        if (m_listSources.contains(path))
            continue;
        m_listSources.append(path);
        Q_EMIT sigSourcesChanged();
        ++iAdded;
        bLastIsRoot = isVolumeRoot(path);
    }
    if (!listSkipped.isEmpty())
        Q_EMIT sigSourcesSkipped(listSkipped);
    if (iAdded == 0)
        return;
    resetEngine();
    const bool bPlural = iAdded >= 2;
    const QString pathType = bLastIsRoot ? (bPlural ? QStringLiteral("drives") : QStringLiteral("drive"))
                                         : (bPlural ? QStringLiteral("folders") : QStringLiteral("folder"));
    sendUsageEvent(QStringLiteral("AddPhotoFolders"), QStringLiteral("Click_AddFolders"),
                   {{QStringLiteral("method"), QStringLiteral("drag_and_drop")},
                    {QStringLiteral("path_type"), pathType},
                    {QStringLiteral("phase"), bWasEmpty ? QStringLiteral("add_first") : QStringLiteral("add_more")}});
}

void CDupPicsMgr::addWholeComputer()
{
    resetEngine();
    // A drive already listed is not listed again, however often the button is pressed.
    for (auto it = m_mapVolumes.constBegin(); it != m_mapVolumes.constEnd(); ++it) {
        const QString source = dp::platform::volumes().sourceOfKey(it.key());
        if (!m_listSources.contains(source))
            m_listSources.append(source);
    }
    Q_EMIT sigSourcesChanged();
}

void CDupPicsMgr::removeCollectPath(QString path)
{
    clearVolumePaths();
    if (path.isEmpty())
        m_listSources.clear();
    else
        m_listSources.removeAll(path);
    Q_EMIT sigSourcesChanged();
}

void CDupPicsMgr::clear()
{
    if (m_pFilter)
        m_pFilter->Release();
    m_pFilter = nullptr;
    clearVolumePaths();
    if (m_pEngine) {
        m_pFilter = m_pEngine->CreateFilter();
        m_pEngine->Flush();
    }
    m_listSources.clear();
    Q_EMIT sigSourcesChanged();
}

void CDupPicsMgr::backToEntrance()
{
    QCoreApplication::quit();
}

void CDupPicsMgr::backToDrag()
{
    clear();
    Q_EMIT sigSwitchToDrag();
}

void CDupPicsMgr::backToSouceList()
{
    clear();
    Q_EMIT sigSwitchToSouceList();
}

void CDupPicsMgr::setOption(QVariantMap value)
{
    m_mapOptions = std::move(value);
    setShowSetting();
}

void CDupPicsMgr::setShowDeleteWin(bool bShow)
{
    m_bShowDeleteWin = bShow;
    setShowSetting();
}

void CDupPicsMgr::setShowGoToHomePage(bool bShow)
{
    m_bShowGoToPageWin = bShow;
    setShowSetting();
}

void CDupPicsMgr::setShowSetting()
{
    Q_EMIT sigWriteOption(buildSettingDocument());
}

QByteArray CDupPicsMgr::buildSettingDocument() const
{
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("Setting"));
    writer.writeTextElement(QStringLiteral("ShowDeleteWin"), m_bShowDeleteWin ? QStringLiteral("1") : QStringLiteral("0"));
    writer.writeTextElement(QStringLiteral("ShowGoToPageWin"), m_bShowGoToPageWin ? QStringLiteral("1") : QStringLiteral("0"));
    auto writeIfAny = [&writer](const QString &name, const QVariant &value) {
        const QString text = value.toString();
        if (!text.isEmpty())
            writer.writeTextElement(name, text);
    };
    const QVariantMap minSize = m_mapOptions.value(QStringLiteral("minSize")).toMap();
    writeIfAny(QStringLiteral("photoType"), m_mapOptions.value(QStringLiteral("photoType")).toMap().value(QStringLiteral("value")));
    writeIfAny(QStringLiteral("minSize"), minSize.value(QStringLiteral("value")));
    writeIfAny(QStringLiteral("index"), minSize.value(QStringLiteral("index")));
    writeIfAny(QStringLiteral("unit"), minSize.value(QStringLiteral("unit")));
    writeIfAny(QStringLiteral("similarSlot"), m_mapOptions.value(QStringLiteral("similarSlot")).toMap().value(QStringLiteral("value")));
    writeIfAny(QStringLiteral("rotationMatching"),
               m_mapOptions.value(QStringLiteral("rotationMatching")).toMap().value(QStringLiteral("value")));
    writeIfAny(QStringLiteral("thumbSize"), m_mapOptions.value(QStringLiteral("thumbSize")).toMap().value(QStringLiteral("value")));
    // The places of the last scan, offered again at the next start.
    writer.writeStartElement(QStringLiteral("Places"));
    for (const QString &source : m_listSources)
        writer.writeTextElement(QStringLiteral("Place"), source);
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndDocument();
    return bytes;
}

void CDupPicsMgr::getShowSetting(QByteArray arrData)
{
    const QString stars(46, QLatin1Char('*'));
    qCDebug(lcManager).noquote() << stars << '\n' << QString::fromUtf8(arrData) << '\n' << stars;

    QVariantMap options;
    QVariantMap minSize;
    QStringList listPlaces;
    QXmlStreamReader reader(arrData);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = reader.name().toString();
        if (name == QLatin1String("Setting") || name == QLatin1String("Places"))
            continue;
        const QString text = reader.readElementText();
        if (name == QLatin1String("ShowDeleteWin")) {
            if (!text.isEmpty())
                m_bShowDeleteWin = text.toULongLong() != 0;
        } else if (name == QLatin1String("ShowGoToPageWin")) {
            if (!text.isEmpty())
                m_bShowGoToPageWin = text.toULongLong() != 0;
        } else if (name == QLatin1String("photoType")) {
            options.insert(name, photoTypeRecord(text.toInt()));
        } else if (name == QLatin1String("minSize")) {
            minSize = {{QStringLiteral("desc"), tr("Minimum file size")},
                       {QStringLiteral("value"), text.isEmpty() ? 100 : text.toInt()}};
        } else if (name == QLatin1String("index")) {
            minSize.insert(QStringLiteral("index"), text.isEmpty() ? 0 : text.toInt());
        } else if (name == QLatin1String("unit")) {
            if (!minSize.isEmpty()) {
                minSize.insert(QStringLiteral("unit"), text.isEmpty() ? QStringLiteral("KB") : text);
                options.insert(QStringLiteral("minSize"), minSize);
            }
        } else if (name == QLatin1String("similarSlot")) {
            options.insert(name, similarSlotRecord(text.isEmpty() ? 6 : text.toInt()));
        } else if (name == QLatin1String("rotationMatching")) {
            options.insert(name, rotationRecord(text.toInt() != 0));
        } else if (name == QLatin1String("thumbSize")) {
            options.insert(name, QVariantMap{{QStringLiteral("desc"), tr("Thumbnail size")}, {QStringLiteral("value"), text.toInt()}});
        } else if (name == QLatin1String("Place")) {
            // A place gone since (an unplugged drive, a removed folder) is not offered.
            if (QFileInfo(text).isDir() && !listPlaces.contains(text))
                listPlaces << text;
        }
    }
    m_mapOptions = options;
    // Places given at start (a drop on the icon, a second start) win over the remembered ones.
    if (m_listSources.isEmpty() && !listPlaces.isEmpty()) {
        m_listSources = listPlaces;
        Q_EMIT sigSourcesChanged();
    }
    qCDebug(lcManager) << "Receive finished.................";
}

int CDupPicsMgr::getSimilarSlot() const
{
    return CScanIntake::similarityOf(m_mapOptions);
}

void CDupPicsMgr::catchOption()
{
    const QVariantMap minSize = m_mapOptions.value(QStringLiteral("minSize")).toMap();
    const int iType = m_mapOptions.value(QStringLiteral("photoType")).toMap().value(QStringLiteral("value")).toInt();
    sendUsageEvent(QStringLiteral("ScanPhotosOptions"), QStringLiteral("Click_SaveOptions"),
                   {{QStringLiteral("image_type"), iType == 0 ? QStringLiteral("original_photos") : QStringLiteral("all images")},
                    {QStringLiteral("mini_size"), QStringLiteral("%1 %2").arg(minSize.value(QStringLiteral("value")).toString(),
                                                                             minSize.value(QStringLiteral("unit")).toString())},
                    {QStringLiteral("similarity_threshold"), QString::number(getSimilarSlot())}});
}

void CDupPicsMgr::applyOptionsToFilter(IScanFilter *pFilter) const
{
    CCollectionThread::applyOptionsToFilter(m_mapOptions, pFilter);
}
