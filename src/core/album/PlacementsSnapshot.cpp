#include "core/album/PlacementsSnapshot.h"

#include <algorithm>
#include <cstring>

namespace pr {

PlacementsSnapshot PlacementsSnapshot::of(const Album& album) {
    PlacementsSnapshot s;
    auto records = std::make_shared<std::vector<Placement>>(album.placementCount());
    for (uint32_t i = 0; i < album.placementCount(); ++i) (*records)[i] = *album.placementAt(i);
    s.records_ = std::move(records);
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
    for (const Placement& record : *records_) {
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
    if (selected_ != other.selected_ || enlargements_.size() != other.enlargements_.size() ||
        !sameRecords(other))
        return false;
    for (std::size_t i = 0; i < enlargements_.size(); ++i) {
        const Enlargement &a = enlargements_[i], &b = other.enlargements_[i];
        if (a.key != b.key || a.width != b.width || a.height != b.height) return false;
    }
    return true;
}

bool PlacementsSnapshot::sameRecords(const PlacementsSnapshot& other) const {
    const std::vector<Placement>&a = *records_, &b = *other.records_;
    if (records_ == other.records_) return true;
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Placement)) == 0);
}

void PlacementsSnapshot::shareRecordsWith(const PlacementsSnapshot& other) {
    if (sameRecords(other)) records_ = other.records_;
}

std::size_t PlacementsSnapshot::bytes() const {
    const auto sharers = static_cast<std::size_t>(std::max<long>(1, records_.use_count()));
    return sizeof(*this) + records_->capacity() * sizeof(Placement) / sharers +
           enlargements_.capacity() * sizeof(Enlargement);
}

}  // namespace pr
