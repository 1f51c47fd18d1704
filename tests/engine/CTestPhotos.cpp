#include "CTestPhotos.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop
#include <libheif/heif.h>
#include <zlib.h>

#include <QBuffer>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRandomGenerator>
#include <QtEndian>

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

bool saveHeic(const QImage &image, const QString &strPath, int iThumbSide)
{
    if (!heif_have_encoder_for_format(heif_compression_HEVC))
        return false;
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
        heif_image_handle *pHandle = nullptr;
        bOk = heif_context_encode_image(ctx, img, encoder, nullptr, &pHandle).code == heif_error_Ok;
        heif_image_handle *pThumb = nullptr;
        if (bOk && iThumbSide > 0)
            bOk = heif_context_encode_thumbnail(ctx, img, pHandle, encoder, nullptr, iThumbSide, &pThumb).code
                == heif_error_Ok;
        if (pThumb)
            heif_image_handle_release(pThumb);
        if (pHandle)
            heif_image_handle_release(pHandle);
        bOk = bOk && heif_context_write_to_file(ctx, QFile::encodeName(strPath).constData()).code == heif_error_Ok;
    }
    if (img)
        heif_image_release(img);
    if (encoder)
        heif_encoder_release(encoder);
    heif_context_free(ctx);
    return bOk;
}

QImage cornerImage(int iWidth, int iHeight)
{
    QImage image(iWidth, iHeight, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter painter(&image);
    painter.fillRect(0, 0, iWidth / 4, iHeight / 4, Qt::red);
    return image;
}

// Opens the file's metadata, lets edit change it and writes it back.
template<typename Edit>
static bool editExif(const QString &strPath, Edit edit)
{
    try {
        auto image = Exiv2::ImageFactory::open(std::string(QFile::encodeName(strPath).constData()));
        image->readMetadata();
        edit(image->exifData());
        image->writeMetadata();
        return true;
    } catch (const Exiv2::AnyError &) {
        return false;
    }
}

bool writeExif(const QString &strPath, const QList<QPair<QString, QString>> &listTags)
{
    return editExif(strPath, [&](Exiv2::ExifData &exif) {
        for (const auto &tag : listTags)
            exif[tag.first.toStdString()] = tag.second.toStdString();
    });
}

bool writeExifPreview(const QString &strPath, const QImage &preview)
{
    const QByteArray jpeg = encoded(preview, "JPEG", 85);
    return !jpeg.isEmpty() && editExif(strPath, [&](Exiv2::ExifData &exif) {
        Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte *>(jpeg.constData()),
                                                static_cast<long>(jpeg.size()));
    });
}

bool writeBytes(const QString &strPath, const QByteArray &data)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray encoded(const QImage &image, const char *pszFormat, int iQuality)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, pszFormat, iQuality);
    return data;
}

bool near(QRgb a, QRgb b, int iTolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= iTolerance && std::abs(qGreen(a) - qGreen(b)) <= iTolerance
        && std::abs(qBlue(a) - qBlue(b)) <= iTolerance;
}

QByteArray jpegClaimingSize(int iWidth, int iHeight)
{
    QByteArray data = encoded(cornerImage(64, 48), "JPEG");
    const int iSof = data.indexOf("\xFF\xC0");
    if (iSof < 0)
        return {};
    // Marker, length (2), precision (1), then height and width, big-endian.
    qToBigEndian<quint16>(static_cast<quint16>(iHeight), data.data() + iSof + 5);
    qToBigEndian<quint16>(static_cast<quint16>(iWidth), data.data() + iSof + 7);
    return data;
}

QByteArray tinyGif()
{
    static const char kGif[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00"
                               "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b";
    return QByteArray(kGif, sizeof(kGif) - 1);
}

namespace {

struct CTiffEntry
{
    quint16 tag = 0;
    quint16 type = 0;
    quint32 count = 0;
    QByteArray value;
};

enum : quint16 { kByte = 1, kAscii = 2, kShort = 3, kLong = 4 };

QByteArray littleEndian(const QList<quint32> &listValues, int iWidth)
{
    QByteArray data;
    for (const quint32 value : listValues)
        for (int i = 0; i < iWidth; ++i)
            data += char(value >> (8 * i));
    return data;
}

CTiffEntry entry(quint16 tag, quint16 type, const QList<quint32> &listValues)
{
    const int iWidth = type == kShort ? 2 : type == kLong ? 4 : 1;
    return {tag, type, quint32(listValues.size()), littleEndian(listValues, iWidth)};
}

CTiffEntry text(quint16 tag, const QByteArray &value)
{
    return {tag, kAscii, quint32(value.size() + 1), value + '\0'};
}

// Entries must be sorted by tag; values longer than four bytes follow the table.
QByteArray serializeIfd(const QList<CTiffEntry> &listEntries, quint32 offset)
{
    QByteArray table = littleEndian({quint32(listEntries.size())}, 2);
    QByteArray extra;
    const quint32 extraOffset = offset + 2 + 12 * quint32(listEntries.size()) + 4;
    for (const CTiffEntry &e : listEntries) {
        table += littleEndian({e.tag, e.type}, 2) + littleEndian({e.count}, 4);
        if (e.value.size() <= 4) {
            table += e.value.leftJustified(4, '\0');
        } else {
            table += littleEndian({extraOffset + quint32(extra.size())}, 4);
            extra += e.value;
            if (e.value.size() & 1)
                extra += '\0';
        }
    }
    return table + littleEndian({0}, 4) + extra;
}

} // namespace

// A real small picture whose header's size (and, in a PNG, its checksum) is rewritten.
QByteArray bmpClaimingSize(int iWidth, int iHeight)
{
    QByteArray data = encoded(cornerImage(4, 4), "BMP");
    return data.replace(18, 8, littleEndian({quint32(iWidth), quint32(iHeight)}, 4));
}

QByteArray pngClaimingSize(int iWidth, int iHeight)
{
    QByteArray data = encoded(cornerImage(1, 1), "PNG");
    // The header chunk: its type at 12, width and height at 16, then the checksum of type and data.
    const quint32 size[2] = {qToBigEndian(quint32(iWidth)), qToBigEndian(quint32(iHeight))};
    data.replace(16, 8, reinterpret_cast<const char *>(size), 8);
    const quint32 crc = qToBigEndian(quint32(crc32(0, reinterpret_cast<const Bytef *>(data.constData() + 12), 17)));
    return data.replace(29, 4, reinterpret_cast<const char *>(&crc), 4);
}

QByteArray dng(const QSize &rawSize, const QImage &preview, int iOrientation)
{
    const QImage rgb = preview.convertToFormat(QImage::Format_RGB888);
    QByteArray previewPixels;
    for (int y = 0; y < rgb.height(); ++y)
        previewPixels.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), rgb.width() * 3);
    QByteArray rawPixels(rawSize.width() * rawSize.height() * 2, '\0');
    for (int i = 0; i < rawPixels.size(); i += 2)
        rawPixels[i + 1] = char(0x40 + (i / 2) % 64);

    const quint32 pw = quint32(rgb.width());
    const quint32 ph = quint32(rgb.height());
    const quint32 rw = quint32(rawSize.width());
    const quint32 rh = quint32(rawSize.height());
    // Offsets are patched once the layout is known; their size does not change.
    QList<CTiffEntry> listMain{entry(254, kLong, {1}), entry(256, kLong, {pw}), entry(257, kLong, {ph}),
                               entry(258, kShort, {8, 8, 8}), entry(259, kShort, {1}), entry(262, kShort, {2}),
                               text(271, "TestMake"), text(272, "TestCam"), entry(273, kLong, {0}),
                               entry(274, kShort, {quint32(iOrientation)}), entry(277, kShort, {3}),
                               entry(278, kLong, {ph}), entry(279, kLong, {pw * ph * 3}), entry(330, kLong, {0}),
                               entry(50706, kByte, {1, 4, 0, 0}), text(50708, "TestCam")};
    QList<CTiffEntry> listRaw{entry(254, kLong, {0}), entry(256, kLong, {rw}), entry(257, kLong, {rh}),
                              entry(258, kShort, {16}), entry(259, kShort, {1}), entry(262, kShort, {32803}),
                              entry(273, kLong, {0}), entry(277, kShort, {1}), entry(278, kLong, {rh}),
                              entry(279, kLong, {rw * rh * 2}), entry(33421, kShort, {2, 2}),
                              entry(33422, kByte, {0, 1, 1, 2}), entry(50717, kLong, {65535})};
    const quint32 mainOffset = 8;
    // An IFD's size does not depend on where it lies.
    const quint32 rawIfdOffset = mainOffset + quint32(serializeIfd(listMain, 0).size());
    const quint32 previewOffset = rawIfdOffset + quint32(serializeIfd(listRaw, 0).size());
    const quint32 rawOffset = previewOffset + quint32(previewPixels.size());
    listMain[8] = entry(273, kLong, {previewOffset});
    listMain[13] = entry(330, kLong, {rawIfdOffset});
    listRaw[6] = entry(273, kLong, {rawOffset});

    QByteArray file("II*\0", 4);
    file += littleEndian({mainOffset}, 4);
    file += serializeIfd(listMain, mainOffset);
    file += serializeIfd(listRaw, rawIfdOffset);
    return file + previewPixels + rawPixels;
}

bool isRed(QRgb rgb)
{
    return qRed(rgb) > 160 && qBlue(rgb) < 100;
}

bool isGreen(QRgb rgb)
{
    return qGreen(rgb) > 160 && qRed(rgb) < 100 && qBlue(rgb) < 100;
}


bool setOrientation(const QString &strPath, int iOrientation)
{
    return writeExif(strPath, {{QStringLiteral("Exif.Image.Orientation"), QString::number(iOrientation)}});
}

bool setCameraTags(const QString &strPath, const char *pszMake, const char *pszModel, const char *pszDateTime,
                   const char *pszSoftware)
{
    QList<QPair<QString, QString>> tags{{QStringLiteral("Exif.Image.Make"), QString::fromUtf8(pszMake)},
                                        {QStringLiteral("Exif.Image.Model"), QString::fromUtf8(pszModel)},
                                        {QStringLiteral("Exif.Photo.DateTimeOriginal"), QString::fromUtf8(pszDateTime)}};
    if (pszSoftware)
        tags.append({QStringLiteral("Exif.Image.Software"), QString::fromUtf8(pszSoftware)});
    return writeExif(strPath, tags);
}

} // namespace testphotos
