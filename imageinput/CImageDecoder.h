#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QVariantMap>

class QIODevice;

// Turns a photo file into an upright colour picture no larger than asked, for the
// thumbnails, choosing the decoder from the file's first bytes: libjpeg-turbo with DCT
// scaling for JPEG, libheif, libraw's embedded preview for camera raw files, Qt's image
// plug-ins for the rest. Headers claiming more than CImageLimits are refused unread.
// A null image is a failure; the reason goes to *pstrError.
// Stateless and thread-safe.
class CImageDecoder
{
public:
    static constexpr int kThumbSide = 256;
    static constexpr int kBigSide = 2048;

    enum class EnKind { Jpeg, Heif, Raw, Other };

    [[nodiscard]] static QImage decode(const QString &strPath, int iMaxSide, QString *pstrError = nullptr);
    // The file's pixel size from its header; no pixels are decoded.
    [[nodiscard]] static bool readSize(const QString &strPath, QSize &size);
    [[nodiscard]] static QVariantMap readMeta(const QString &strPath);

    [[nodiscard]] static EnKind kindOf(const QString &strPath, const QByteArray &head);
    // The bytes of a JPEG file read before deciding between its embedded preview and
    // its full data: enough for the EXIF block (at most 64 KiB) and the frame header.
    static constexpr qint64 kJpegHeadSize = 256 * 1024;

    // JPEG bytes scaled in the DCT so that the longest side is at least iMaxSide when
    // the picture allows, then down to iMaxSide; EXIF orientation applied if bOrient.
    // *pbOtherDecoder is set for JPEGs TurboJPEG cannot handle (CMYK) but Qt can.
    [[nodiscard]] static QImage decodeJpeg(const QByteArray &data, int iMaxSide, bool bOrient, QString *pstrError,
                                           bool *pbOtherDecoder = nullptr);
    // A JPEG file: its embedded EXIF preview when that shows the same picture at
    // iMaxSide or more and the file is complete, otherwise its full data.
    [[nodiscard]] static QImage decodeJpegFile(QIODevice &file, int iMaxSide, QString *pstrError,
                                               bool *pbOtherDecoder = nullptr);
    // Scales down (never up) so that the longest side is at most iMaxSide.
    [[nodiscard]] static QImage fitInto(const QImage &image, int iMaxSide);
};
