#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <QPushButton>
#include "GuiTestHelpers.h"

#include "app/CursorSlots.h"
#include "app/ImageButton.h"
#include "app/ProgressPanel.h"
#include "app/TAboutBox.h"
#include "app/TabHeader.h"

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

TEST_F(MainFormFixture, FrameShowsToolbarTabsHeadersAndStatusPanels) {
    TMainForm& w = showForm();
    EXPECT_EQ(w.size(), QSize(638, 512));

    const struct {
        QAction* action;
        const char* text;
    } buttons[] = {{w.newAction(), "&Neu"},
                   {w.openAction(), "Ö&ffnen..."},
                   {w.saveAction(), "&Speichern"},
                   {w.saveAsAction(), "Speichern &unter..."}};
    for (const auto& b : buttons) {
        EXPECT_EQ(b.action->text(), QString::fromUtf8(b.text));
        EXPECT_FALSE(b.action->icon().isNull()) << b.text;
        EXPECT_FALSE(b.action->toolTip().isEmpty()) << b.text;
        // The tool button must show the dots of "Öffnen..." (Qt drops them by default).
        auto* tb = qobject_cast<QToolButton*>(w.toolBar()->widgetForAction(b.action));
        ASSERT_NE(tb, nullptr);
        EXPECT_EQ(tb->text(), QString::fromUtf8(b.text));
    }
    EXPECT_EQ(w.newAction()->toolTip(), QString::fromUtf8("Neues Album erstellen"));

    const char* captions[] = {"Bilder hinzufügen", "Sortieren", "Anordnen",
                              "Drucken/Als Bild speichern"};
    const char* headers[] = {
        "Bilder hinzufügen - Dateien markieren und auf \"Hinzufügen\" klicken",
        "Sortieren - Hier können Sie die Reihenfolge der Bilder ändern",
        "Anordnen - Ziehen Sie die Fotos aus dem linken Fenster in das rechte",
        "Drucken - Vorschau betrachten - Auf \"Go!\" klicken um das Ergebnis auszudrucken"};
    QTabWidget* tabs = w.pageControl();
    EXPECT_EQ(tabs->objectName(), "PageControl2");
    ASSERT_EQ(tabs->count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tabs->tabText(i), QString::fromUtf8(captions[i]));
        pr::TabHeader* header = w.tabHeader(i);
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->text(), QString::fromUtf8(headers[i]));
        // The header sits on the tab's own page, above its content area.
        EXPECT_TRUE(tabs->widget(i)->isAncestorOf(header));
        EXPECT_TRUE(tabs->widget(i)->isAncestorOf(w.contentArea(i)));
    }
    tabs->setCurrentIndex(2);
    const QImage strip = w.tabHeader(2)->grab().toImage();
    EXPECT_EQ(QColor(strip.pixel(2, 2)), QColor(240, 201, 166));

    EXPECT_EQ(w.statusBar()->objectName(), "StatusBar1");
    EXPECT_EQ(w.progressPanel()->width(), 50);
    EXPECT_EQ(w.exitButton()->toolTip(), QString::fromUtf8("Hiermit verlassen Sie das Programm"));
    EXPECT_EQ(w.aboutButton()->toolTip(), QString::fromUtf8("Informationen über das Programm"));
    EXPECT_FALSE(w.aboutButton()->pressedPictureShown());
    EXPECT_FALSE(w.exitButton()->pressedPictureShown());

    EXPECT_TRUE(w.ProgramFolder().endsWith('/'));
    EXPECT_EQ(w.ProgramFolder(), QCoreApplication::applicationDirPath() + '/');
    EXPECT_EQ(w.album().SelectedPlacement, -1);
    EXPECT_EQ(w.album().PreviewImage.width(), 320);
}

TEST_F(MainFormFixture, CaptionShowsOnlyTheAlbumFileName) {
    TMainForm& w = showForm();
    EXPECT_EQ(w.windowTitle(), "ZOR-VEX Pixo-Rahmler 4.0 - [Unbenannt.pxr]");
    EXPECT_TRUE(w.album().AlbumFileName.empty());

    const struct {
        const char* path;
        const char* shown;
    } cases[] = {
        {"/x/y/Urlaub.pxr", "Urlaub.pxr"},
        {"C:\\Fotos\\2001\\Urlaub.pxr", "Urlaub.pxr"},
        {"/home/a\\b/Mixed Name.PXR", "Mixed Name.PXR"},
        {"Urlaub.pxr", "Urlaub.pxr"},
        {"/home/ä/Fotoalbum Ü.pxr", "Fotoalbum Ü.pxr"},
        {"", "Unbenannt.pxr"},
    };
    for (const auto& c : cases) {
        const QString path = QString::fromUtf8(c.path);
        w.Setsavedfilename(path);
        EXPECT_EQ(
            w.windowTitle(),
            QString::fromUtf8("ZOR-VEX Pixo-Rahmler 4.0 - [%1]").arg(QString::fromUtf8(c.shown)))
            << c.path;
        EXPECT_EQ(w.album().AlbumFileName, std::string(c.path));
    }
}

TEST_F(MainFormFixture, ClosingAsksEveryTimeAndOnlyOkCloses) {
    TMainForm& w = showForm();
    prompter.answer(Prompter::Button::Cancel);
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(prompter.shown.size(), 1u);
    const auto& q = prompter.shown[0];
    EXPECT_EQ(q.text, QString::fromUtf8(kCloseText));
    EXPECT_EQ(q.caption, "Programm beenden");
    EXPECT_EQ(q.icon, Prompter::Icon::Information);
    EXPECT_EQ(q.buttons, Prompter::Buttons(Prompter::Button::Ok) | Prompter::Button::Cancel);

    // The same question again, not remembered from the first time.
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
    EXPECT_EQ(prompter.shown[0].caption, "Programm beenden");
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(exit->pressedPictureShown());
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
    EXPECT_FALSE(w.aboutButton()->pressedPictureShown());
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
    for (int stray : {-1, 0, 11})
        EXPECT_EQ(table.at(stray).shape(), Qt::ArrowCursor) << stray;
}
