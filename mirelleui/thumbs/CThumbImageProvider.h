#pragma once

#include <QQuickImageProvider>

// Serves image://thumbProvider/<id> (thumbnails) and image://maxThumbProvider/<id>
// (large images) from the thumbnail library. The QML engine owns each instance and
// calls it on its image-loading threads, so it only reads the library's QImages.
class CThumbImageProvider : public QQuickImageProvider
{
public:
    explicit CThumbImageProvider(bool bLarge);

    // An image the library does not have yet comes back null: QML shows its
    // placeholder and asks again when the model reports the thumbnail.
    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

private:
    bool m_bLarge = false;
};
