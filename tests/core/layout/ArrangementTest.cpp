#include <gtest/gtest.h>

#include "core/imaging/ImageBuffer.h"
#include "core/layout/Arrangement.h"
#include "core/layout/PageUnits.h"
#include "core/layout/PlacementEditing.h"

using namespace pr;

namespace {

void addPictures(Album& album, int n) {
    for (int i = 0; i < n; ++i) {
        ImageBuffer b;
        newdib(b, 4, 3, 24);
        album.addPicture("p" + std::to_string(i) + ".bmp", b);
    }
}

void addFrame(Album& album, int32_t page, int32_t key, double left = 0.5) {
    ASSERT_GE(AddPlacement(album, key, page, left, left, 1, 1, false), 0);
}

double mm(double inches) {
    return inches * 25.39995;
}

TEST(ArrangementGrid, ColumnsFromTheRootRowsGrownToFit) {
    const std::pair<int, GridShape> cases[] = {
        {1, {1, 1}}, {2, {1, 2}},  {3, {1, 3}},   {4, {2, 2}},        {5, {2, 3}},
        {6, {2, 3}}, {7, {2, 4}},  {8, {2, 4}},   {9, {3, 3}},        {10, {3, 4}},
        {0, {0, 0}}, {-3, {0, 0}}, {99, {9, 11}}, {10000, {100, 100}}};
    for (const auto& [n, shape] : cases) {
        EXPECT_EQ(arrangementGrid(n), shape) << n;
    }
}

TEST(ArrangePage, FivePlacementsOnALetterPageWithMarginAndGap) {
    Album album;
    addPictures(album, 5);
    for (int k = 0; k < 5; ++k) addFrame(album, 1, k);
    album.SelectedPlacement = 2;
    const auto changed = arrangePage(album, 1, 8, 10.5, 15, 5);
    EXPECT_EQ(changed, (std::vector<uint32_t>{0, 1, 2, 3, 4}));
    const double expected[5][2] = {
        {15, 15}, {104.10, 15}, {15, 95.57}, {104.10, 95.57}, {15, 176.13}};
    for (uint32_t i = 0; i < 5; ++i) {
        const Placement& p = *album.placementAt(i);
        EXPECT_NEAR(mm(p.Left), expected[i][0], 0.005) << i;
        EXPECT_NEAR(mm(p.Top), expected[i][1], 0.005) << i;
        EXPECT_NEAR(p.Width, 3.3110, 5e-5);
        EXPECT_NEAR(p.Height, 2.9751, 5e-5);
        EXPECT_EQ(p.ImageKey, static_cast<int32_t>(i));  // order and pictures unchanged
    }
    EXPECT_EQ(album.SelectedPlacement, 2);
}

TEST(ArrangePage, ThreeFillOneColumnAndOtherPagesStayPut) {
    Album album;
    addPictures(album, 5);
    addFrame(album, 2, 0, 0.7);
    addFrame(album, 1, 1);
    addFrame(album, 2, 2, 0.9);
    addFrame(album, 1, 3);
    addFrame(album, 1, 4);
    const auto changed = arrangePage(album, 1, 8, 10.5, 15, 5);
    EXPECT_EQ(changed, (std::vector<uint32_t>{1, 3, 4}));
    const double margin = 15 / 25.39995, gap = 5 / 25.39995;
    const double cellH = (10.5 - 2 * margin - 2 * gap) / 3;
    for (int row = 0; row < 3; ++row) {
        const Placement& p = *album.placementAt(changed[static_cast<size_t>(row)]);
        EXPECT_NEAR(p.Left, margin, 1e-12);
        EXPECT_NEAR(p.Width, 8 - 2 * margin, 1e-12);
        EXPECT_NEAR(p.Top, margin + row * (cellH + gap), 1e-12);
        EXPECT_NEAR(p.Height, cellH, 1e-12);
    }
    EXPECT_EQ(album.placementAt(0)->Left, 0.7);
    EXPECT_EQ(album.placementAt(0)->Width, 1);
    EXPECT_EQ(album.placementAt(2)->Top, 0.9);
}

TEST(ArrangePage, EmptyPageChangesNothingAndHugeMarginsGiveNegativeCells) {
    Album album;
    addPictures(album, 2);
    addFrame(album, 2, 0);
    EXPECT_TRUE(arrangePage(album, 1, 8, 10.5, 15, 5).empty());
    EXPECT_EQ(album.placementAt(0)->Left, 0.5);

    addFrame(album, 1, 1);
    arrangePage(album, 1, 1, 1, 100, 100);  // margins wider than the page
    EXPECT_LT(album.placementAt(1)->Width, 0);
    EXPECT_LT(album.placementAt(1)->Height, 0);
}

TEST(OvertakeAll, DiagonalCascadeFromThePageWidthTwiceGivesTwoEach) {
    Album album;
    addPictures(album, 4);
    auto added = overtakeAll(album, 3, 8, 130, 100, true);
    EXPECT_EQ(added, (std::vector<uint32_t>{0, 1, 2, 3}));
    const double offsets[] = {0, 4.0 / 3, 8.0 / 3, 4};
    for (uint32_t i = 0; i < 4; ++i) {
        const Placement& p = *album.placementAt(i);
        EXPECT_NEAR(p.Left, offsets[i], 1e-12);
        EXPECT_EQ(p.Top, p.Left);
        EXPECT_DOUBLE_EQ(mm(p.Width), 130);
        EXPECT_DOUBLE_EQ(mm(p.Height), 100);
        EXPECT_EQ(p.Page, 3);
        EXPECT_EQ(p.ImageKey, album.Pictures[i].Key);
    }
    EXPECT_EQ(album.SelectedPlacement, 3);

    added = overtakeAll(album, 3, 8, 130, 100, false);
    EXPECT_EQ(added, (std::vector<uint32_t>{4, 5, 6, 7}));
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_EQ(album.placementAt(i + 4)->ImageKey, album.placementAt(i)->ImageKey);
    EXPECT_EQ(album.placementAt(5)->FitCrop, 0);
    EXPECT_EQ(album.SelectedPlacement, 7);
}

}  // namespace
