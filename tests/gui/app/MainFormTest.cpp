#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "GuiTestHelpers.h"
#include "gui/app/CursorSlots.h"
#include "gui/app/ImageButton.h"
#include "gui/app/TAboutBox.h"
#include "gui/app/TabHeader.h"
#include "gui/layout/PlacementEditor.h"
#include "gui/layout/TLayoutTab.h"
#include "gui/output/TViewPicForm.h"

using pr::Prompter;
using pr::TMainForm;

namespace {

const char* const kCloseText =
    "Hiermit beenden Sie das Programm! Alle nicht gespeicherten Daten gehen verloren!";

bool samePixels(const QPixmap& a, const QPixmap& b) {
    return a.toImage().convertToFormat(QImage::Format_RGB32) ==
           b.toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

TEST_F(MainFormFixture, FrameTabsCaptionAndCloseQuestion) {
    TMainForm& w = showForm();
    // The tool button must show the dots of "Öffnen..." (Qt drops them by default).
    auto* open = qobject_cast<QToolButton*>(w.toolBar()->widgetForAction(w.openAction()));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->text(), QString::fromUtf8("Ö&ffnen..."));
    const char* captions[] = {"Bilder hinzufügen", "Sortieren", "Anordnen",
                              "Drucken/Als Bild speichern"};
    QTabWidget* tabs = w.pageControl();
    ASSERT_EQ(tabs->count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tabs->tabText(i), QString::fromUtf8(captions[i]));
        // The header sits on the tab's own page, above its content area.
        EXPECT_TRUE(tabs->widget(i)->isAncestorOf(w.tabHeader(i)));
        EXPECT_TRUE(tabs->widget(i)->isAncestorOf(w.contentArea(i)));
    }
    EXPECT_EQ(w.ProgramFolder(), QCoreApplication::applicationDirPath() + '/');

    // The caption shows only the album's file name.
    EXPECT_EQ(w.windowTitle(), "ZOR-VEX Pixo-Rahmler 4.0 - [Unbenannt.pxr]");
    const std::pair<const char*, const char*> names[] = {
        {"C:\\Fotos\\2001\\Urlaub.pxr", "Urlaub.pxr"},
        {"/home/a\\b/Mixed Name.PXR", "Mixed Name.PXR"},
        {"Urlaub.pxr", "Urlaub.pxr"},
        {"", "Unbenannt.pxr"}};
    for (const auto& [path, shown] : names) {
        w.Setsavedfilename(QString::fromUtf8(path));
        EXPECT_EQ(w.windowTitle(), QString("ZOR-VEX Pixo-Rahmler 4.0 - [%1]").arg(shown)) << path;
        EXPECT_EQ(w.album().AlbumFileName, std::string(path));
    }

    // Closing asks every time; Cancel keeps the window.
    prompter.answer(Prompter::Button::Cancel);
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, QString::fromUtf8(kCloseText));
    EXPECT_EQ(prompter.shown[0].buttons,
              Prompter::Buttons(Prompter::Button::Ok) | Prompter::Button::Cancel);
    prompter.answer(Prompter::Button::Ok);
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(prompter.shown.size(), 2u);
}

TEST_F(MainFormFixture, ExitPictureFollowsThePointerAndReleaseOutsideDoesNothing) {
    TMainForm& w = showForm();
    pr::ImageButton* exit = w.exitButton();
    const QPoint inside = exit->rect().center();
    const QPoint outside(exit->width() + 5, inside.y());

    QTest::mousePress(exit, Qt::LeftButton, {}, inside);
    EXPECT_TRUE(exit->isPressed());
    EXPECT_TRUE(exit->pressedPictureShown());
    EXPECT_TRUE(samePixels(exit->grab(), exit->pressedPicture()));

    QTest::mouseMove(exit, outside);
    EXPECT_TRUE(exit->isPressed());
    EXPECT_FALSE(exit->pressedPictureShown());
    // The right edge belongs outside: x == width is no longer on the picture.
    QTest::mouseMove(exit, QPoint(exit->width() - 1, inside.y()));
    EXPECT_TRUE(exit->pressedPictureShown());
    QTest::mouseMove(exit, QPoint(exit->width(), inside.y()));
    EXPECT_FALSE(exit->pressedPictureShown());

    QTest::mouseRelease(exit, Qt::LeftButton, {}, outside);
    EXPECT_FALSE(exit->isPressed());
    EXPECT_FALSE(exit->pressedPictureShown());
    EXPECT_TRUE(samePixels(exit->grab(), exit->normalPicture()));
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(w.isVisible());

    // Moving over the picture with no button down changes nothing.
    QTest::mouseMove(exit, inside);
    EXPECT_FALSE(exit->pressedPictureShown());
}

TEST_F(MainFormFixture, ExitClickAsksAndClosesOnlyOnOk) {
    TMainForm& w = showForm();
    pr::ImageButton* exit = w.exitButton();

    prompter.answer(Prompter::Button::Cancel);
    QTest::mouseClick(exit, Qt::LeftButton, {}, exit->rect().center());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(exit->isPressed());

    prompter.answer(Prompter::Button::Ok);
    QTest::mouseClick(exit, Qt::LeftButton, {}, exit->rect().center());
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MainFormFixture, AboutClickShowsTheInfoBoxModally) {
    TMainForm& w = showForm();
    QString seenTitle;
    bool seenModal = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<pr::TAboutBox*>(modal)) {
            seenTitle = box->windowTitle();
            seenModal = box->isModal();
            box->okButton()->click();
        } else if (modal) {
            modal->close();
        }
    });
    QTest::mouseClick(w.aboutButton(), Qt::LeftButton, {}, w.aboutButton()->rect().center());
    EXPECT_EQ(seenTitle, "Info");
    EXPECT_TRUE(seenModal);
    // The box is gone after it closed.
    EXPECT_TRUE(w.findChildren<pr::TAboutBox*>().isEmpty());
}

TEST(CursorSlotsTest, MoveSlotIsTheDrawnCursorAndStraySlotsGiveTheArrow) {
    pr::CursorSlots table;
    const QCursor& move = table.at(pr::CursorSlots::kMove);
    EXPECT_EQ(move.shape(), Qt::BitmapCursor);
    ASSERT_FALSE(move.pixmap().isNull());
    EXPECT_EQ(move.hotSpot(), QPoint(move.pixmap().width() / 2, move.pixmap().height() / 2));
    // The centre of the drawn cross is opaque: the hot spot is on the picture, not beside it.
    EXPECT_GT(qAlpha(move.pixmap().toImage().pixel(move.hotSpot())), 0);
    EXPECT_EQ(table.at(1).shape(), Qt::SizeFDiagCursor);
    EXPECT_EQ(table.at(2).shape(), Qt::SizeBDiagCursor);
    for (int stray : {-1, 0, 11}) EXPECT_EQ(table.at(stray).shape(), Qt::ArrowCursor) << stray;
}

namespace {

// A widget of the window that still reads the album when it goes, as the tabs' widgets may.
class AlbumReader : public QWidget {
public:
    AlbumReader(const pr::Album& album, int& seen, QWidget* parent)
        : QWidget(parent), album_(album), seen_(seen) {}
    ~AlbumReader() override {
        seen_ = album_.PictureCount() + static_cast<int>(album_.placementCount());
    }

private:
    const pr::Album& album_;
    int& seen_;
};

}  // namespace

TEST_F(MainFormFixture, TheAlbumOutlivesEveryWidgetThatHoldsIt) {
    TMainForm& w = showForm();
    pr::Album& album = w.album();
    for (int i = 0; i < 2; ++i) {
        pr::ImageBuffer picture;
        ASSERT_TRUE(pr::newdib(picture, 40, 30, 24));
        const int32_t key = album.addPicture("bild" + std::to_string(i) + ".png", picture);
        *reinterpret_cast<pr::Placement*>(album.Placements.Append()) =
            pr::Placement{0.5 + i, 0.5, 1, 1, 1, key, 0, {}};
    }
    w.pageControl()->setCurrentIndex(TMainForm::LayoutTab);
    // The editor reaches the window's status bar through what the window handed it.
    w.layoutTab()->editor().SelectPlacement(1);
    EXPECT_TRUE(w.statusText().contains(QStringLiteral("Breite"))) << w.statusText().toStdString();
    QApplication::processEvents();

    int inTab = -1;
    int inViewer = -1;
    new AlbumReader(album, inTab, w.contentArea(TMainForm::LayoutTab));
    new AlbumReader(album, inViewer, w.viewPicForm());
    form.reset();
    EXPECT_EQ(inTab, 4) << "the album was gone before the widgets of the tab";
    EXPECT_EQ(inViewer, 4) << "the album was gone before the viewer";
}
