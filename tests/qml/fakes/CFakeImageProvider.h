#pragma once

#include <QQuickImageProvider>

// Paints a small landscape per photo id so that screens look as they would with real photos.
// Ids carrying the state "-s2" (could not be made) give a null image, as the real providers do;
// "-s0" pictures exist by the time the screens ask for them after a row change.
class CFakeImageProvider : public QQuickImageProvider
{
public:
    explicit CFakeImageProvider(bool bLarge);
    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

private:
    bool m_bLarge = false;
};
