#include <gtest/gtest.h>

#include <functional>

#include "core/album/SavedAlbumState.h"

using namespace pr;

namespace {

struct Edit {
    const char* name;
    std::function<void(Album&, AlbumSettings&)> apply;
    bool isChange;
};

}  // namespace

TEST(SavedAlbumState, OnlyWhatTheFileKeepsCountsAsAChange) {
    const Edit edits[] = {
        {"placement moved", [](Album& a, AlbumSettings&) { a.placementAt(0)->Left += 0.01; }, true},
        {"caption typed", [](Album& a, AlbumSettings&) { a.Pictures[0].Comment = "Strand"; }, true},
        {"picture turned", [](Album& a, AlbumSettings&) { a.Pictures[0].Rotation = 1; }, true},
        {"picture adjusted",
         [](Album& a, AlbumSettings&) {
             a.Pictures[0].Adjustments.push_back({10, 100, 0});
         },
         true},
        {"adjustment only previewed",
         [](Album& a, AlbumSettings&) {
             a.Pictures[0].Preview = Adjustment{10, 100, 0};
         },
         false},
        {"picture enlarged",
         [](Album& a, AlbumSettings&) {
             a.Pictures[0].EnlargedWidth = a.Pictures[0].EnlargedHeight = 40;
         },
         false},
        {"margin", [](Album&, AlbumSettings& s) { s.Margin = 20; }, true},
        {"caption font", [](Album&, AlbumSettings& s) { s.Font.Size = 12; }, true},
        {"placement deleted", [](Album& a, AlbumSettings&) { a.Placements.Delete(0); }, true},
        {"placement selected", [](Album& a, AlbumSettings&) { a.SelectedPlacement = -1; }, false},
        {"strip picture chosen", [](Album& a, AlbumSettings&) { a.StripSelection = 3; }, false},
        {"zoomed", [](Album&, AlbumSettings& s) { s.Zoom = 200; }, false},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        Album album;
        ImageBuffer picture;
        ASSERT_TRUE(newdib(picture, 2, 2, 24));
        album.addPicture("/fotos/a.jpg", picture);
        auto* p = reinterpret_cast<Placement*>(album.Placements.Append());
        *p = Placement{1, 1, 2, 2, 1, 0, 0, {}};
        album.SelectedPlacement = 0;
        AlbumSettings settings;
        SavedAlbumState saved;
        saved.remember(album, settings);
        EXPECT_FALSE(saved.changed(album, settings));
        edit.apply(album, settings);
        EXPECT_EQ(saved.changed(album, settings), edit.isChange);
        saved.remember(album, settings);
        EXPECT_FALSE(saved.changed(album, settings));
    }
}
