#pragma once

#include <QQuickImageProvider>

// Paints a small landscape per photo id so that screens look as they would with real photos.
// Ids carrying the state "-s2" or "-s0" (failed, not made yet) give a null image, as the real
// providers do.
class CFakeImageProvider : public QQuickImageProvider
{
public:
    explicit CFakeImageProvider(bool bLarge);
    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

private:
    bool m_bLarge = false;
};
