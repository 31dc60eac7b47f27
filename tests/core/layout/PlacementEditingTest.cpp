#include <gtest/gtest.h>

#include <cstdlib>

#include "core/imaging/ImageBuffer.h"
#include "core/layout/KoordFields.h"
#include "core/layout/PlacementEditing.h"
#include "core/layout/SizeInfo.h"

using namespace pr;

namespace {

// Frames at zoom 100 and 96 ppi: inches x 96 pixels.
Album& overlapping(Album& album) {
    AddPlacement(album, 10, 1, 1, 1, 1, 1, false);      // 96..191
    AddPlacement(album, 11, 2, 1, 1, 1, 1, false);      // same place, other page
    AddPlacement(album, 12, 1, 1.5, 1.5, 1, 1, false);  // 144..239, in front
    return album;
}

TEST(PlacementAt, FrontmostOfTheCurrentPageWithRightAndBottomEdgesOutside) {
    Album album;
    overlapping(album);
    // page, x, y -> placement; L + W is outside.
    const int cases[][4] = {{1, 150, 150, 2}, {1, 100, 100, 0},  {1, 96, 96, 0},
                            {1, 191, 120, 0}, {1, 192, 120, -1}, {1, 95, 120, -1},
                            {2, 150, 150, 1}, {3, 150, 150, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(PlacementAt(album, c[0], 100, 96, c[1], c[2]), c[3])
            << c[0] << ": " << c[1] << "," << c[2];
}

TEST(BringAkInFront, ExchangesWithTheLastOnly) {
    Album album;
    for (int k = 0; k < 4; ++k) AddPlacement(album, k, 1, k, 0, 1, 1, false);
    album.SelectedPlacement = 1;
    EXPECT_TRUE(BringAkInFront(album));
    EXPECT_EQ(album.SelectedPlacement, 3);
    const int32_t keys[] = {0, 3, 2, 1};
    for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(album.placementAt(i)->ImageKey, keys[i]);

    for (int32_t selected : {3, -1, 7}) {  // already last, none, no such placement
        album.SelectedPlacement = selected;
        EXPECT_FALSE(BringAkInFront(album)) << selected;
    }
    EXPECT_EQ(album.placementAt(3)->ImageKey, 1);
}

TEST(AddPlacement, FailedGrowthAddsNothing) {
    Album album;
    std::string reported;
    album.Placements.setMessageHandler([&](const std::string& t) { reported = t; });
    album.Placements.setAllocator([](std::size_t) -> void* { return nullptr; });
    EXPECT_EQ(AddPlacement(album, 1, 1, 0, 0, 1, 1, false), -1);
    EXPECT_EQ(album.placementCount(), 0u);
    EXPECT_FALSE(reported.empty());
}

TEST(SizeInfo, TwoDecimalsWithTheGivenSeparator) {
    const Placement p{1, 0.5, 130 / 25.39995, 100 / 25.39995, 1, 0, 0, {}};
    EXPECT_EQ(sizeInfoText(p, ','),
              "( x: 25,40mm; y: 12,70mm ) ( Breite: 130,00mm; Höhe: 100,00mm ) ");
    EXPECT_EQ(formatMm(-3.14159, ','), "-3,14");
    EXPECT_EQ(formatMm(-0.001, '.'), "0.00");
    EXPECT_EQ(formatMm(1234567.125, '.'), "1234567.12");  // exact binary tie rounds to even
    EXPECT_EQ(formatMm(2.5e15, '.'), "2.50000000000000e+15");
}

TEST(KoordFields, FillAndApplyRoundTripExactlyAndTakeEdits) {
    const Placement source{0.123456789, -0.5, 5.1181, 3.937, 2, 7, 1, {}};
    KoordFields f;
    f.set(KoordFields::Right, 999);  // stale values from an earlier use
    f.fill(source);
    EXPECT_DOUBLE_EQ(f.value(KoordFields::Right), (0.123456789 + 5.1181) * 25.39995);
    EXPECT_DOUBLE_EQ(f.value(KoordFields::Bottom), (-0.5 + 3.937) * 25.39995);
    Placement p = source;
    f.apply(p);
    EXPECT_EQ(std::vector<double>({p.Left, p.Top, p.Width, p.Height}),
              std::vector<double>({source.Left, source.Top, source.Width, source.Height}));

    f.set(KoordFields::Width, 50.8);
    f.apply(p);
    EXPECT_EQ(p.Left, source.Left);
    EXPECT_DOUBLE_EQ(p.Width, 50.8 / 25.39995);
    EXPECT_EQ(p.Page, 2);
    EXPECT_EQ(p.ImageKey, 7);
}

}  // namespace

#include "core/layout/StripGeometry.h"

namespace {

TEST(StripCellAt, CellsWithTheTwoPixelGapBetween) {
    // Width 100: cell 0 answers at 1..101, cell 1 at 103..203, 102 and 0 are gaps.
    const std::pair<int, int> cases[] = {{0, -1},  {1, 0},    {101, 0},  {102, -1},
                                         {103, 1}, {203, 1},  {204, -1}, {205, 2},
                                         {305, 2}, {307, -1}, {-5, -1}};
    for (const auto& [y, cell] : cases) EXPECT_EQ(stripCellAt(y, 100, 3), cell) << y;
    EXPECT_EQ(stripCellAt(50, 100, 0), -1);
}

}  // namespace
