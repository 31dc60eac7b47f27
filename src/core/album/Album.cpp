#include "core/album/Album.h"

#include <cstring>

namespace pr {

Album::Album() : Placements(static_cast<int32_t>(sizeof(Placement)), &CurrentPlacement) {
    if (newdib(PreviewImage, 320, 200, 24)) {
        std::memset(PreviewImage.bits, 255, static_cast<std::size_t>(PreviewImage.imageBytes()));
    }
}

Album::~Album() {
    deldib(PreviewImage);
    DelallPics();
}

int32_t Album::addPicture(const std::string& fileName, const ImageBuffer& image) {
    AlbumImage picture;
    picture.FileName = fileName;
    picture.Image = image;
    picture.Rotation = 0;
    picture.Key = NextPictureKey;
    Pictures.push_back(std::move(picture));
    return NextPictureKey++;
}

bool Album::removePicture(int32_t index) {
    if (index < 0 || index >= PictureCount()) return false;
    const int32_t key = Pictures[static_cast<std::size_t>(index)].Key;
    bool complete = true;
    for (int64_t i = static_cast<int64_t>(Placements.count()) - 1; i >= 0; --i) {
        if (placementAt(static_cast<uint32_t>(i))->ImageKey == key &&
            !Placements.Delete(static_cast<int32_t>(i))) {
            complete = false;
            break;
        }
    }
    if (complete) {
        AlbumImage& picture = Pictures[static_cast<std::size_t>(index)];
        deldib(picture.Image);
        Pictures.erase(Pictures.begin() + index);
    }
    const int32_t last = static_cast<int32_t>(Placements.count()) - 1;
    if (SelectedPlacement != -1 && SelectedPlacement > last) SelectedPlacement = last;
    return complete;
}

const AlbumImage* Album::findKey(int32_t key) const {
    for (const AlbumImage& picture : Pictures) {
        if (picture.Key == key) return &picture;
    }
    return nullptr;
}

bool Album::getnumdib(int32_t key, ImageBuffer& dest) const {
    const AlbumImage* picture = findKey(key);
    if (!picture) return false;
    dest = picture->Image;
    return true;
}

bool Album::getnumfname(int32_t key, std::string& out) const {
    const AlbumImage* picture = findKey(key);
    if (!picture) return false;
    out = picture->FileName;
    return true;
}

bool Album::getnumComment(int32_t key, std::string& out) const {
    const AlbumImage* picture = findKey(key);
    if (!picture) return false;
    out = picture->Comment;
    return true;
}

int32_t Album::lastPlacementPage(int32_t limit) const {
    int32_t last = 0;
    for (uint32_t i = 0; i < placementCount(); ++i) {
        const int32_t page = placementAt(i)->Page;
        if (page > last && page <= limit) last = page;
    }
    return last;
}

void Album::DelallPics() {
    Placements.Clear();
    SelectedPlacement = -1;
    for (AlbumImage& picture : Pictures) {
        picture.FileName.clear();
        picture.Comment.clear();
        deldib(picture.Image);
    }
    std::vector<AlbumImage>().swap(Pictures);
}

}  // namespace pr
