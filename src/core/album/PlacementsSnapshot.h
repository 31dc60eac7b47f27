#pragma once
// PlacementsSnapshot: the placements of an album as plain values, with the selection and the sizes
// the quality enhancement raised pictures to (which placing and resizing change along with the
// frames). Undoing a change of the pages puts the snapshot from before it back, redoing the one
// from after it; no pixels are held, 48 bytes per placement and 12 per enlarged picture.
//
// The whole list is kept rather than the changed records: a click on a placement swaps it to the
// end of the array without being a step of its own, so indices taken at one step may name another
// placement at the next. Putting the whole list back is right whatever happened in between.
//
// Copies share the records: one step's "after" is mostly the next step's "before", and the history
// keeps it once (shareRecordsWith).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/album/Album.h"

namespace pr {

class PlacementsSnapshot {
public:
    static PlacementsSnapshot of(const Album& album);

    // Replaces the album's placements, selection and enlargements by the snapshot's. Pictures the
    // snapshot does not know (none, when every change of the picture list is undone in order) lose
    // their enlargement. False when the placement array could not grow (it reported it; the album
    // then holds the placements that fitted and no selection).
    bool restore(Album& album) const;

    bool operator==(const PlacementsSnapshot& other) const;
    bool operator!=(const PlacementsSnapshot& other) const { return !(*this == other); }
    // Takes over `other`'s records when they are equal to this one's, so both hold them once.
    void shareRecordsWith(const PlacementsSnapshot& other);
    // What the snapshot holds; records shared with other snapshots count by their share.
    std::size_t bytes() const;

private:
    bool sameRecords(const PlacementsSnapshot& other) const;

    struct Enlargement {
        int32_t key;
        int32_t width;
        int32_t height;
    };

    std::shared_ptr<const std::vector<Placement>> records_ =
        std::make_shared<const std::vector<Placement>>();
    int32_t selected_ = -1;
    std::vector<Enlargement> enlargements_;
};

}  // namespace pr
