// Every change of the pages and of a picture's recipe, undone and redone, gives back the album
// byte for byte, alone and in sequences that mix the kinds.

#include <QAction>
#include <QTest>
#include <cstring>

#include "UndoFixture.h"
#include "gui/imaging/THKForm.h"
#include "gui/layout/BildPopup.h"
#include "gui/layout/PrintSizeCommands.h"
#include "gui/layout/TKoordEdForm.h"

using undotest::albumState;

namespace {

class LayoutUndo : public undotest::UndoTest {
public:
    // For the table of changes below.
    using EditingTest::editor;
    using EditingTest::panel;
    using EditingTest::tab;

protected:
    // Three pictures 40 pixels wide, so every 2 inch frame raises them (72 dpi minimum); three
    // placements on page 1 and one on page 2; the middle one of page 1 selected.
    void SetUp() override {
        addPictures(3);
        place(0, 0.5, 0.5, 2, 1.5);
        place(1, 3, 0.5, 2, 1.5);
        place(2, 0.5, 3, 2, 1.5);
        place(0, 1, 1, 2, 1.5, 2);
        for (uint32_t i = 0; i < album.placementCount(); ++i) editor().changequal(i);
        editor().SelectPlacement(1);
    }

public:
    // Presses, moves and releases the left button on the page.
    void drag(QPoint from, QPoint to) {
        editor().PaintBox2MouseDown(from, Qt::LeftButton, QPoint());
        editor().PaintBox2MouseMove((from + to) / 2);
        editor().PaintBox2MouseMove(to);
        editor().PaintBox2MouseUp(to);
    }
    void adjust(int b, int k, int s) {
        undotest::ModalScript<pr::THKForm> ok([=](pr::THKForm& form) {
            form.setPositions(b, k, s);
            form.OkBitBtn1->click();
        });
        tab.HellKonBtn->click();
    }
};

struct Change {
    const char* name;
    std::function<void(LayoutUndo&)> make;
};

// Placement 1 covers (288, 48) to (480, 192) on the screen at 100 % and 96 ppi.
const Change kChanges[] = {
    {"drop",
     [](LayoutUndo& t) { t.editor().PaintBox2DragDrop(QPoint(300, 400), t.tab.PaintBox1); }},
    {"strip double click", [](LayoutUndo& t) { t.editor().PaintBox1DblClick(); }},
    {"move", [](LayoutUndo& t) { t.drag(QPoint(350, 100), QPoint(420, 260)); }},
    {"resize", [](LayoutUndo& t) { t.drag(QPoint(480, 192), QPoint(600, 330)); }},
    {"position dialog",
     [](LayoutUndo& t) {
         t.panel().setDialogRunner([](pr::TKoordEdForm& form) {
             form.edit(pr::KoordFields::Left)->setValue(10);
             form.OkBtnClick();
             return form.result();
         });
         t.tab.ChangePosSizeBtn->click();
     }},
    {"delete", [](LayoutUndo& t) { t.tab.DelitBtn->click(); }},
    {"arrange", [](LayoutUndo& t) { t.tab.OrdeneBtn->click(); }},
    {"all pictures", [](LayoutUndo& t) { t.tab.Overtakeall->click(); }},
    {"fit crop", [](LayoutUndo& t) { t.tab.CutCheck->click(); }},
    {"turn left", [](LayoutUndo& t) { t.tab.RotLeftBtn->click(); }},
    {"turn right", [](LayoutUndo& t) { t.editor().popup()->Nachrechtsrotieren901->trigger(); }},
    {"adjust", [](LayoutUndo& t) { t.adjust(40, 120, -30); }},
    {"caption", [](LayoutUndo& t) { QTest::keyClicks(t.tab.FreeText, QStringLiteral("Strand")); }},
    {"format", [](LayoutUndo& t) { t.tab.printSizes().setFormat(1); }},
    {"fill page", [](LayoutUndo& t) { t.tab.printSizes().fillPage(); }},
};

class EachChange : public LayoutUndo, public ::testing::WithParamInterface<Change> {};

TEST_P(EachChange, IsOneStepAndUndoAndRedoGiveBackEveryByte) {
    const auto before = albumState(album);
    const int stepsBefore = steps();
    GetParam().make(*this);
    const auto after = albumState(album);
    ASSERT_NE(after, before) << "the change changed nothing";
    EXPECT_EQ(steps(), stepsBefore + 1);
    for (int round = 0; round < 2; ++round) {
        undo();
        EXPECT_EQ(albumState(album), before) << "round " << round;
        redo();
        EXPECT_EQ(albumState(album), after) << "round " << round;
    }
    EXPECT_FALSE(history.stack().canRedo());
}

INSTANTIATE_TEST_SUITE_P(Kinds, EachChange, ::testing::ValuesIn(kChanges), [](const auto& info) {
    std::string n = info.param.name;
    for (char& c : n)
        if (c == ' ') c = '_';
    return n;
});

TEST_F(LayoutUndo, MixedSequenceUndoesAndRedoesStepByStep) {
    std::vector<std::vector<uint8_t>> states{albumState(album)};
    const std::function<void()> changes[] = {
        [&] { tab.printSizes().fillPage(); },
        [&] { editor().PaintBox2DragDrop(QPoint(40, 500), tab.PaintBox1); },
        [&] { drag(QPoint(60, 520), QPoint(200, 600)); },
        [&] { QTest::keyClicks(tab.FreeText, QStringLiteral("Berge")); },
        [&] { tab.RotRightBtn->click(); },
        [&] { adjust(-20, 100, 50); },
        [&] { tab.printSizes().setFormat(0); },
        [&] { tab.CutCheck->click(); },
        [&] { tab.OrdeneBtn->click(); },
        [&] { tab.DelitBtn->click(); },
        [&] { tab.Overtakeall->click(); },
    };
    for (const auto& change : changes) {
        change();
        states.push_back(albumState(album));
        ASSERT_EQ(steps(), static_cast<int>(states.size()) - 1);
    }
    for (int i = static_cast<int>(states.size()) - 2; i >= 0; --i) {
        undo();
        EXPECT_EQ(albumState(album), states[static_cast<size_t>(i)]) << "undo to " << i;
    }
    EXPECT_FALSE(history.stack().canUndo());
    for (size_t i = 1; i < states.size(); ++i) {
        redo();
        EXPECT_EQ(albumState(album), states[i]) << "redo to " << i;
    }
    // Half way back, a new change drops what could have been redone.
    for (int i = 0; i < 5; ++i) undo();
    tab.RotLeftBtn->click();
    EXPECT_FALSE(history.stack().canRedo());
    undo();
    EXPECT_EQ(albumState(album), states[states.size() - 6]);
}

TEST_F(LayoutUndo, AClickThatBringsAPlacementToTheFrontDoesNotMisleadUndo) {
    const auto before = albumState(album);
    const pr::Placement moved = at(1);
    drag(QPoint(350, 100), QPoint(420, 260));
    // Pressing on placement 0 swaps it with the last one of the array; no step of its own.
    editor().PaintBox2MouseDown(QPoint(60, 60), Qt::LeftButton, QPoint());
    editor().PaintBox2MouseUp(QPoint(60, 60));
    ASSERT_EQ(at(0).Page, 2);
    ASSERT_EQ(steps(), 1);
    undo();
    EXPECT_EQ(albumState(album), before);
    EXPECT_EQ(std::memcmp(&at(1), &moved, sizeof moved), 0);
    EXPECT_EQ(album.SelectedPlacement, 1);
    EXPECT_TRUE(tab.DelitBtn->isEnabled());  // the side panel follows the selection
}

TEST_F(LayoutUndo, UndoShowsThePageOfTheStepsPlacement) {
    tab.PageCountED->setValue(2);
    const auto before = albumState(album);
    drag(QPoint(350, 100), QPoint(420, 260));
    tab.APageEd->setValue(2);
    ASSERT_EQ(album.SelectedPlacement, -1);
    undo();
    EXPECT_EQ(tab.APageEd->value(), 1);
    EXPECT_EQ(albumState(album), before);
    EXPECT_EQ(album.SelectedPlacement, 1);

    // A placement on a page beyond the page count is not selected where it cannot be seen.
    redo();
    tab.APageEd->setValue(2);
    editor().SelectPlacement(3);  // on page 2
    tab.CutCheck->click();
    tab.APageEd->setValue(1);
    tab.PageCountED->setValue(1);
    undo();
    EXPECT_EQ(tab.APageEd->value(), 1);
    EXPECT_EQ(album.SelectedPlacement, -1);
    EXPECT_FALSE(tab.DelitBtn->isEnabled());
}

TEST_F(LayoutUndo, CaptionKeystrokesOfOneRunAreOneStep) {
    QTest::keyClicks(tab.FreeText, QStringLiteral("ab"));
    panel().Timer1Timer();  // the pause after the last key
    QTest::keyClicks(tab.FreeText, QStringLiteral("c"));
    EXPECT_EQ(steps(), 2);
    undo();
    EXPECT_EQ(album.Pictures[1].Comment, "ab");
    EXPECT_EQ(tab.FreeText->text(), QStringLiteral("ab"));  // the edit shows the caption
    undo();
    EXPECT_EQ(album.Pictures[1].Comment, "");
    EXPECT_EQ(steps(), 2);  // loading the caption into the edit recorded nothing

    // A run that ends where it began leaves no step; selecting another placement records none.
    redo();
    redo();
    const int stepsNow = steps();
    QTest::keyClicks(tab.FreeText, QStringLiteral("x"));
    QTest::keyClick(tab.FreeText, Qt::Key_Backspace);
    editor().SelectPlacement(0);
    EXPECT_EQ(steps(), stepsNow);
}

TEST_F(LayoutUndo, PressingWithoutMovingAndCancelledDialogsRecordNothing) {
    tab.UseGridCheck->setChecked(false);  // else the press alone aligns the frame to the grid
    editor().PaintBox2MouseDown(QPoint(350, 100), Qt::LeftButton, QPoint());
    editor().PaintBox2MouseUp(QPoint(350, 100));
    panel().setDialogRunner([](pr::TKoordEdForm&) { return static_cast<int>(QDialog::Rejected); });
    tab.ChangePosSizeBtn->click();
    undotest::ModalScript<pr::THKForm> cancel([](pr::THKForm& form) {
        form.setPositions(50, 100, 0);
        form.CancelBitBtn2->click();
    });
    tab.HellKonBtn->click();
    EXPECT_EQ(steps(), 0) << history.stack().undoText().toStdString();
}

TEST_F(LayoutUndo, TheHistoryKeepsItsLastStepsAndNoPixels) {
    for (int i = 0; i < pr::AlbumHistory::kUndoLimit + 20; ++i) tab.CutCheck->click();
    EXPECT_EQ(steps(), pr::AlbumHistory::kUndoLimit);
    // A step holds the four placements once (shared with the step before), three enlargements
    // twice and itself: about 500 bytes; without the sharing it would be about 700.
    EXPECT_LT(history.bytes(), static_cast<size_t>(pr::AlbumHistory::kUndoLimit) * 600);
}

}  // namespace
