#include "CTestPhotos.h"

#include <exiv2/exiv2.hpp>
#include <libheif/heif.h>

#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRandomGenerator>

namespace testphotos {

QImage scene(int iColourSeed, QSize size, int iLayoutSeed)
{
    QRandomGenerator colours(quint32(iColourSeed) * 7919u + 1u);
    QRandomGenerator layout(quint32(iLayoutSeed < 0 ? iColourSeed : iLayoutSeed) * 104729u + 17u);
    auto colour = [&] { return QColor::fromHsv(colours.bounded(360), 80 + colours.bounded(176), 60 + colours.bounded(196)); };
    const double w = size.width(), h = size.height();
    auto px = [&] { return layout.bounded(w); };
    auto py = [&] { return layout.bounded(h); };

    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(px(), py(), px(), py());
    background.setColorAt(0, colour());
    background.setColorAt(1, colour());
    p.fillRect(image.rect(), background);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 14; ++i) {
        const QRectF box(px() - w / 8, py() - h / 8, w / 12 + layout.bounded(w / 3), h / 12 + layout.bounded(h / 3));
        QLinearGradient fill(box.topLeft(), box.bottomRight());
        fill.setColorAt(0, colour());
        fill.setColorAt(1, colour());
        p.setBrush(fill);
        switch (layout.bounded(3)) {
        case 0: p.drawEllipse(box); break;
        case 1: p.drawRect(box); break;
        default: {
            QPolygonF poly;
            for (int k = 0; k < 5; ++k)
                poly << QPointF(box.left() + layout.bounded(box.width()), box.top() + layout.bounded(box.height()));
            p.drawPolygon(poly);
        }
        }
    }
    QFont font;
    font.setPixelSize(int(h / 8));
    p.setFont(font);
    p.setPen(colour());
    p.drawText(QPointF(px() / 2, py()), QStringLiteral("Photo %1").arg(iColourSeed));
    p.end();
    // Sensor-like noise, fixed by the seed.
    QRandomGenerator noise(quint32(iColourSeed) + 99u);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(noise.bounded(13)) - 6;
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + n, 255), qBound(0, qGreen(c) + n, 255), qBound(0, qBlue(c) + n, 255));
        }
    }
    return image;
}

QImage resized(const QImage &image, double dFactor)
{
    return image.scaled(image.size() * dFactor, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage cropped(const QImage &image, double dFraction)
{
    const int dx = int(image.width() * dFraction), dy = int(image.height() * dFraction);
    return image.copy(dx, dy, image.width() - dx, image.height() - dy);
}

QImage brighter(const QImage &image)
{
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            auto adjust = [](int v) { return qBound(0, int(v * 1.15 + 18), 255); };
            line[x] = qRgb(adjust(qRed(line[x])), adjust(qGreen(line[x])), adjust(qBlue(line[x])));
        }
    }
    return out;
}

QImage blurred(const QImage &image)
{
    // Down and up again: a strong, cheap blur.
    return resized(resized(image, 0.2), 5.0).copy(0, 0, image.width(), image.height());
}

QImage turned(const QImage &image, int iTurn)
{
    QImage out = image.mirrored(iTurn & 1, iTurn & 2);
    if (iTurn & 4)
        out = out.transformed(QTransform(0, 1, 1, 0, 0, 0));  // swaps x and y
    return out;
}

QImage burstFrame(int iSeed, int iFrame)
{
    const QImage wide = scene(iSeed, QSize(720, 540));
    return wide.copy(12 * iFrame, 9 * iFrame, 640, 480);
}

bool save(const QImage &image, const QString &strPath, const char *pszFormat, int iQuality)
{
    return image.save(strPath, pszFormat, iQuality);
}

bool saveHeic(const QImage &image, const QString &strPath)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    heif_context *ctx = heif_context_alloc();
    heif_encoder *encoder = nullptr;
    heif_image *img = nullptr;
    bool bOk = heif_context_get_encoder_for_format(ctx, heif_compression_HEVC, &encoder).code == heif_error_Ok
        && heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &img).code
            == heif_error_Ok
        && heif_image_add_plane(img, heif_channel_interleaved, rgb.width(), rgb.height(), 8).code == heif_error_Ok;
    if (bOk) {
        int stride = 0;
        uint8_t *plane = heif_image_get_plane(img, heif_channel_interleaved, &stride);
        for (int y = 0; y < rgb.height(); ++y)
            memcpy(plane + y * stride, rgb.constScanLine(y), size_t(rgb.width()) * 3);
        heif_encoder_set_lossy_quality(encoder, 80);
        bOk = heif_context_encode_image(ctx, img, encoder, nullptr, nullptr).code == heif_error_Ok
            && heif_context_write_to_file(ctx, QFile::encodeName(strPath).constData()).code == heif_error_Ok;
    }
    if (img)
        heif_image_release(img);
    if (encoder)
        heif_encoder_release(encoder);
    heif_context_free(ctx);
    return bOk;
}

namespace {
template <typename Fn>
bool editExif(const QString &strPath, Fn edit)
{
    try {
        auto img = Exiv2::ImageFactory::open(QFile::encodeName(strPath).toStdString());
        img->readMetadata();
        Exiv2::ExifData exif = img->exifData();
        edit(exif);
        img->setExifData(exif);
        img->writeMetadata();
        return true;
    } catch (...) {
        return false;
    }
}
} // namespace

bool setOrientation(const QString &strPath, int iOrientation)
{
    return editExif(strPath, [&](Exiv2::ExifData &exif) { exif["Exif.Image.Orientation"] = uint16_t(iOrientation); });
}

bool setCameraTags(const QString &strPath, const char *pszMake, const char *pszModel, const char *pszDateTime,
                   const char *pszSoftware)
{
    return editExif(strPath, [&](Exiv2::ExifData &exif) {
        exif["Exif.Image.Make"] = std::string(pszMake);
        exif["Exif.Image.Model"] = std::string(pszModel);
        exif["Exif.Photo.DateTimeOriginal"] = std::string(pszDateTime);
        if (pszSoftware)
            exif["Exif.Image.Software"] = std::string(pszSoftware);
    });
}

bool setSubSeconds(const QString &strPath, const char *pszSubSeconds)
{
    return editExif(strPath, [&](Exiv2::ExifData &exif) { exif["Exif.Photo.SubSecTimeOriginal"] = std::string(pszSubSeconds); });
}

} // namespace testphotos
