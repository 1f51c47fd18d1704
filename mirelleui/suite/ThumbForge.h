#pragma once

// The thumbnail library's interface: thumbnails, large images and image sizes.
// Both sides include this file; the library exports the classes declared here.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVariant>

#include "thumbforge_export.h"

#include <functional>

class QImage;
class QPixmap;

struct stu_ThumbTask
{
    quint64 group = 0;
    QString path;
};

// Process-wide thumbnail service. Work runs on the library's own threads; the
// signals may be emitted from them, so receivers connect with the automatic type.
class THUMBFORGE_EXPORT CImgThumbManager : public QObject
{
    Q_OBJECT
public:
    static CImgThumbManager *GetInstance();

    void Start();
    void Stop();

    // Queue one thumbnail; bFront puts it before waiting tasks.
    void EnPutThumbTask(const stu_ThumbTask &task, bool bFront);
    // The thumbnails wanted now (what is in view); they go before everything queued.
    void SetReserveThumbList(QList<stu_ThumbTask> &listTasks);

    // The key is a photo path or an image id (lower-case hex SHA-512 of the path's UTF-8).
    // true: filled (a null result means the image could not be read); false: not ready yet.
    bool GetThumb(const QString &strKey, QPixmap &pixmap);
    bool GetBigImg(const QString &strKey, QPixmap &pixmap);
    // Thread-safe forms for image providers, which run off the GUI thread.
    bool GetThumbImage(const QString &strKey, QImage &image);
    bool GetBigImgImage(const QString &strKey, QImage &image);

public Q_SLOTS:
    void slotNewBigImgTask(QVariant group, QString path);

Q_SIGNALS:
    // meta keys: "cameraModel", "longitude", "latitude", "shootTime"
    void sigBigImgResult(QVariant group, QString path, QMap<QString, QVariant> meta, bool ok);
    void sigImgThumbResult(QVariant group, QString path, bool ok);

protected:
    explicit CImgThumbManager(QObject *parent = nullptr);
    ~CImgThumbManager() override;
};

class THUMBFORGE_EXPORT CImgThumbTaskDeque
{
public:
    static CImgThumbTaskDeque *GetInstance();
    // Drops every thumbnail task that has not started.
    void ClearAllThumbTask();

protected:
    CImgThumbTaskDeque() = default;
    virtual ~CImgThumbTaskDeque() = default;
};

class THUMBFORGE_EXPORT CPageThumbCache
{
public:
    static CPageThumbCache *GetInstance();
    bool GetThumb(const QString &strKey, QPixmap &pixmap);
    bool GetThumbImage(const QString &strKey, QImage &image);

protected:
    CPageThumbCache() = default;
    virtual ~CPageThumbCache() = default;
};

// Pixel size from the file's header, without decoding pixels.
THUMBFORGE_EXPORT bool GetImgWidthHeight(const wchar_t *path, unsigned &width, unsigned &height);
// An addition to the fixed interface: whether the library reads the file as a camera
// raw (by its suffix), whose first image in the header is only a preview.
THUMBFORGE_EXPORT bool IsRawImagePath(const QString &strPath);

// An addition to the fixed interface: where thumbnails already made elsewhere can be
// found (a scan that decoded a photo may keep a small picture of it). The function gets
// a photo path and answers encoded image data of the photo upright, or nothing; the
// library tries it before decoding the file. It is called on the library's threads;
// setting another or an empty one waits until calls in progress have returned.
using ImgThumbSourceFn = std::function<QByteArray(const QString &path)>;
THUMBFORGE_EXPORT void SetImgThumbSource(ImgThumbSourceFn fnSource);
