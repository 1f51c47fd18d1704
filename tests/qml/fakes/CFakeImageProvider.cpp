#include "CFakeImageProvider.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

CFakeImageProvider::CFakeImageProvider(bool bLarge)
    : QQuickImageProvider(QQmlImageProviderBase::Image), m_bLarge(bLarge)
{
}

QImage CFakeImageProvider::requestImage(const QString &id, QSize *size, const QSize &)
{
    if (id.isEmpty() || id.endsWith(QLatin1String("-s2")))
        return {};
    // Photos of one group share a scene and differ a little, like real near-duplicates.
    const QStringList listParts = id.split(QLatin1Char('-'));
    const int iGroup = listParts.value(0).mid(1).toInt();
    const int iPhoto = listParts.value(1).toInt();
    const QSize sizeImage = m_bLarge ? QSize(1200, 900) : QSize(240, 180);
    QImage image(sizeImage, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const int iHue = (iGroup * 47) % 360;
    QLinearGradient sky(0, 0, 0, sizeImage.height());
    sky.setColorAt(0, QColor::fromHsv(iHue, 90, 250));
    sky.setColorAt(1, QColor::fromHsv((iHue + 30) % 360, 60, 200));
    painter.fillRect(image.rect(), sky);
    const double dW = sizeImage.width();
    const double dH = sizeImage.height();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromHsv((iHue + 180) % 360, 40, 255));
    painter.drawEllipse(QPointF(dW * (0.7 + 0.02 * iPhoto), dH * 0.3), dH * 0.12, dH * 0.12);
    for (int i = 0; i < 3; ++i) {
        QPainterPath path;
        path.moveTo(0, dH);
        path.lineTo(0, dH * (0.55 + 0.12 * i));
        path.cubicTo(dW * 0.3, dH * (0.35 + 0.1 * i + 0.01 * iPhoto), dW * 0.6, dH * (0.8 + 0.05 * i),
                     dW, dH * (0.5 + 0.1 * i));
        path.lineTo(dW, dH);
        painter.setBrush(QColor::fromHsv((iHue + 90 + 20 * i) % 360, 120 + 30 * i, 160 - 35 * i));
        painter.drawPath(path);
    }
    painter.end();
    if (size)
        *size = sizeImage;
    return image;
}
