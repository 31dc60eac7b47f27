#include <QAction>
#include <QMenu>

#include "EditingFixture.h"
#include "gui/layout/BildPopup.h"
#include "gui/layout/PrintSizeCommands.h"

using namespace editingtest;

namespace {

// The fixture's page is 8 x 10.5 inches (203.2 x 266.7 mm).
class PrintSizeTest : public EditingTest {
protected:
    pr::PrintSizeCommands& sizes() { return tab.printSizes(); }
    QAction* formatAction(const QString& label) {
        for (QAction* a : editor().popup()->FormatMenu->actions())
            if (a->text() == label) return a;
        ADD_FAILURE() << label.toStdString();
        return nullptr;
    }
    void expectFrameMm(uint32_t i, double l, double t, double w, double h) {
        EXPECT_NEAR(at(i).Left * kMm, l, 1e-9);
        EXPECT_NEAR(at(i).Top * kMm, t, 1e-9);
        EXPECT_NEAR(at(i).Width * kMm, w, 1e-9);
        EXPECT_NEAR(at(i).Height * kMm, h, 1e-9);
    }
};

TEST_F(PrintSizeTest, FormatMenuSetsTheExactSizeInThePicturesOrientation) {
    QStringList labels;
    for (QAction* a : editor().popup()->FormatMenu->actions())
        if (!a->isSeparator()) labels << a->text();
    EXPECT_EQ(labels, QStringList({"9 x 13 cm", "10 x 15 cm", "13 x 18 cm", "15 x 20 cm",
                                   "20 x 30 cm", "Passbild 3,5 x 4,5 cm", "Wie Seite"}));

    addPictures(1, 40, 30);  // landscape
    place(0, 1, 1, 2, 2);
    editor().SelectPlacement(0);
    formatAction(QStringLiteral("10 x 15 cm"))->trigger();
    expectFrameMm(0, kMm, kMm, 150, 100);
    EXPECT_TRUE(status.contains(QStringLiteral("Breite: 150")));

    // A quarter turn makes the picture portrait, and the next format follows it.
    album.Pictures[0].Rotation = 1;
    formatAction(QStringLiteral("Passbild 3,5 x 4,5 cm"))->trigger();
    expectFrameMm(0, kMm, kMm, 35, 45);

    // Near the bottom-right corner the frame is moved back so that it ends at the page's edges.
    album.placementAt(0)->Left = 7;
    album.placementAt(0)->Top = 10;
    album.Pictures[0].Rotation = 0;
    sizes().setFormat(4);  // 20 x 30 cm
    // 300 mm is wider than the page: it starts at the left edge.
    expectFrameMm(0, 0, 10.5 * kMm - 200, 300, 200);

    formatAction(QStringLiteral("Wie Seite"))->trigger();
    EXPECT_DOUBLE_EQ(at(0).Left, 0);
    EXPECT_DOUBLE_EQ(at(0).Top, 0);
    EXPECT_DOUBLE_EQ(at(0).Width, 8);
    EXPECT_DOUBLE_EQ(at(0).Height, 10.5);
}

TEST_F(PrintSizeTest, FillPagePlacesCopiesInRowsAndSaysHowMany) {
    addPictures(2, 30, 40);
    tab.RandEd->setValue(5);
    tab.SpaceED->setValue(2);
    place(1, 3, 9, 1, 1, 2);  // on another page: no obstacle
    place(0, 5 / kMm, 5 / kMm, 1, 1);
    album.placementAt(1)->FitCrop = 1;
    editor().SelectPlacement(1);
    sizes().setFormat(5);  // passport, 35 x 45 mm
    // Inside the margin 193.2 x 256.7 mm: 5 across (5 x 35 + 4 x 2 = 183) and 5 down
    // (5 x 45 + 4 x 2 = 233); the first cell holds the original.
    EXPECT_EQ(sizes().fillPage(), 24);
    EXPECT_EQ(status, QStringLiteral("Seite füllen: 24 Kopien platziert"));
    ASSERT_EQ(album.placementCount(), 26u);
    for (uint32_t i = 2; i < 26; ++i) {
        EXPECT_EQ(at(i).ImageKey, at(1).ImageKey);
        EXPECT_EQ(at(i).Page, 1);
        EXPECT_EQ(at(i).FitCrop, 1);
        EXPECT_DOUBLE_EQ(at(i).Width, at(1).Width);
    }
    expectFrameMm(2, 42, 5, 35, 45);      // second cell of the first row
    expectFrameMm(25, 153, 193, 35, 45);  // last cell
    EXPECT_EQ(album.SelectedPlacement, 1);

    editor().popup()->FillPage->trigger();  // nothing left
    EXPECT_EQ(album.placementCount(), 26u);
    EXPECT_EQ(status, QStringLiteral("Seite füllen: kein Platz für eine Kopie"));
}

}  // namespace
