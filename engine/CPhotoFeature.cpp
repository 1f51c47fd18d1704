#include "CPhotoFeature.h"

#include <cstring>
#include <type_traits>

namespace {
// Bump when the layout or the meaning of a field changes: old cache rows are then recomputed.
constexpr char kBlobVersion = 7;
} // namespace

static_assert(std::is_trivially_copyable<CPhotoFeature>::value, "the feature is cached byte for byte");

QByteArray CPhotoFeature::toBlob() const
{
    QByteArray blob(int(sizeof(CPhotoFeature)) + 1, Qt::Uninitialized);
    blob[0] = kBlobVersion;
    std::memcpy(blob.data() + 1, this, sizeof(CPhotoFeature));
    return blob;
}

bool CPhotoFeature::fromBlob(const QByteArray &blob)
{
    if (blob.size() != int(sizeof(CPhotoFeature)) + 1 || blob[0] != kBlobVersion)
        return false;
    std::memcpy(static_cast<void *>(this), blob.constData() + 1, sizeof(CPhotoFeature));
    return orientation >= 1 && orientation <= 8 && !bEmbedded;
}
