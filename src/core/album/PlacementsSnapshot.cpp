#include "core/album/PlacementsSnapshot.h"

#include <cstring>

namespace pr {

PlacementsSnapshot PlacementsSnapshot::of(const Album& album) {
    PlacementsSnapshot s;
    s.records_.resize(album.placementCount());
    for (uint32_t i = 0; i < album.placementCount(); ++i) s.records_[i] = *album.placementAt(i);
    s.selected_ = album.SelectedPlacement;
    for (const AlbumImage& picture : album.Pictures) {
        if (picture.enlarged())
            s.enlargements_.push_back({picture.Key, picture.EnlargedWidth, picture.EnlargedHeight});
    }
    return s;
}

bool PlacementsSnapshot::restore(Album& album) const {
    album.Placements.Clear();
    album.SelectedPlacement = -1;
    for (const Placement& record : records_) {
        uint8_t* slot = album.Placements.Append();
        if (!slot) return false;
        std::memcpy(slot, &record, sizeof(Placement));
    }
    album.SelectedPlacement = selected_;
    for (AlbumImage& picture : album.Pictures) {
        picture.EnlargedWidth = 0;
        picture.EnlargedHeight = 0;
        for (const Enlargement& e : enlargements_) {
            if (e.key != picture.Key) continue;
            picture.EnlargedWidth = e.width;
            picture.EnlargedHeight = e.height;
            break;
        }
    }
    return true;
}

bool PlacementsSnapshot::operator==(const PlacementsSnapshot& other) const {
    // Byte for byte, as the album file keeps the records.
    if (records_.size() != other.records_.size() || selected_ != other.selected_ ||
        enlargements_.size() != other.enlargements_.size())
        return false;
    if (!records_.empty() &&
        std::memcmp(records_.data(), other.records_.data(), records_.size() * sizeof(Placement)))
        return false;
    for (std::size_t i = 0; i < enlargements_.size(); ++i) {
        const Enlargement &a = enlargements_[i], &b = other.enlargements_[i];
        if (a.key != b.key || a.width != b.width || a.height != b.height) return false;
    }
    return true;
}

std::size_t PlacementsSnapshot::bytes() const {
    return sizeof(*this) + records_.capacity() * sizeof(Placement) +
           enlargements_.capacity() * sizeof(Enlargement);
}

}  // namespace pr
