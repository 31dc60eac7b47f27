#pragma once
// Album: the one document. It owns the pictures, the placements on the pages and the selection
// state; widgets read it and ask it to change, they keep no copies. Settings are not part of it:
// they live in their controls and reach core code as parameters.
//
// The object is neither copyable nor movable: Placements writes its current record into
// CurrentPlacement through a pointer to that member.

#include <cstdint>
#include <string>
#include <vector>

#include "core/album/AlbumImage.h"
#include "core/album/Placement.h"
#include "core/album/TDynaArray.h"
#include "core/imaging/ImageBuffer.h"

namespace pr {

class Album {
public:
    Album();
    ~Album();
    Album(const Album&) = delete;
    Album& operator=(const Album&) = delete;

    std::vector<AlbumImage> Pictures;  // album order: lists, strip, arrangement
    int32_t PictureCount() const { return static_cast<int32_t>(Pictures.size()); }

    // Only grows, and the album file keeps it, so a key is never handed out twice for an album,
    // not even after pictures were deleted or the album was emptied.
    int32_t NextPictureKey = 0;

    // Declared before Placements so that it is still alive while Placements is torn down.
    Placement* CurrentPlacement = nullptr;
    TDynaArray Placements;  // records of sizeof(Placement) bytes; array order is drawing order

    int32_t SelectedPlacement = -1;  // index into Placements, -1 for none
    // Index into Pictures chosen in the picture strip. Removing pictures does not adjust it, so
    // every user checks 0 <= StripSelection < PictureCount() first.
    int32_t StripSelection = 0;

    ImageBuffer PreviewImage;  // 320 x 200, 24 bit, white until a file is previewed
    std::string PreviewFileName;
    std::string AlbumFileName;  // empty for an untitled album
    bool AlbumLoading = false;  // page drawing and the print preview draw nothing while true

    Placement* placementAt(uint32_t i) const { return Placements.at<Placement>(i); }
    uint32_t placementCount() const { return Placements.count(); }

    // Appends a picture that already loaded and gives it the next key, which is returned.
    int32_t addPicture(const std::string& fileName, const ImageBuffer& image);

    // Removes picture `index` and every placement that shows it (scanned from the last to the
    // first), then pulls SelectedPlacement back to the last placement when it points past the end;
    // a selection still in range stays, even if another placement now has that index. Removing
    // several pictures from the highest index down keeps the lower indices valid. Returns false
    // for an index outside the album or when the placement array could not shrink (what was
    // removed by then stays removed; the picture itself is kept).
    bool removePicture(int32_t index);

    // The highest page number not above `limit` that holds a placement; 0 when none does.
    int32_t lastPlacementPage(int32_t limit) const;

    // Lookups by key: the first picture with the key wins; nothing is written when none has it.
    // getnumdib's copy shares the pixels with the album's picture.
    bool getnumdib(int32_t key, ImageBuffer& dest) const;
    bool getnumfname(int32_t key, std::string& out) const;
    bool getnumComment(int32_t key, std::string& out) const;

    // "Neu": empties pictures and placements. NextPictureKey, StripSelection, PreviewImage and
    // AlbumFileName stay as they are.
    void DelallPics();

private:
    const AlbumImage* findKey(int32_t key) const;
};

}  // namespace pr
