// Every change of the album reaches what shows it, and the window knows whether the album holds
// changes that were not saved.

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <functional>

#include "GuiTestHelpers.h"
#include "ScreenPixels.h"
#include "gui/album/AlbumCommands.h"
#include "gui/album/AlbumList.h"
#include "gui/album/AlbumPanel.h"
#include "gui/browse/FavouritesList.h"
#include "gui/browse/TAddTab.h"
#include "gui/layout/TLayoutTab.h"
#include "gui/output/PrintPreview.h"
#include "gui/output/TOutputTab.h"

using pr::Prompter;
using pr::TMainForm;

namespace {

class AlbumChanges : public ShownFormFixture {
protected:
    pr::AlbumCommands& commands() { return *form->findChild<pr::AlbumCommands*>(); }
    QString red() {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::red);
        const QString path = scratch.filePath("rot.png");
        EXPECT_TRUE(image.save(path));
        return path;
    }
    // A red picture on page 1, from half an inch to two and a half inches.
    void placeRedPicture() {
        ASSERT_EQ(commands().addPictureFiles({red()}), 1);
        commands().UpdateListBox();
        auto* p = reinterpret_cast<pr::Placement*>(form->album().Placements.Append());
        *p = pr::Placement{0.5, 0.5, 2, 2, 1, form->album().Pictures[0].Key, 0, {}};
        form->album().SelectedPlacement = 0;
    }
    QColor previewAt(QPoint p) {
        const QImage shown = testsupport::shownOnScreen(form->outputTab()->PaintBox3);
        return shown.rect().contains(p) ? QColor(shown.pixel(p)) : QColor();
    }
    bool previewShows(QPoint p, QColor colour) {
        return QTest::qWaitFor([&] { return previewAt(p) == colour; }, 2000);
    }
};

}  // namespace

TEST_F(AlbumChanges, ThePreviewShowsEveryChangeAtOnce) {
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"Neu",
         [&] {
             prompter.answer(Prompter::Button::Ok);
             form->newAction()->trigger();
         }},
        {"Bild löschen", [&] { commands().removePictures({0}); }},
        {"Platzierung löschen", [&] { form->layoutTab()->DelitBtn->click(); }},
    };
    const QPoint inside(100, 100);  // preview pixels at 96 dpi: the picture spans 48..240
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        placeRedPicture();
        form->layoutTab()->setPlacementControlsEnabled(true);
        form->pageControl()->setCurrentIndex(TMainForm::OutputTab);
        form->outputTab()->PaintBox3->setScreenDpi(96, 96);
        ASSERT_TRUE(previewShows(inside, Qt::red));
        change();
        EXPECT_TRUE(previewShows(inside, Qt::white));
        form->album().DelallPics();
        commands().UpdateListBox();
    }
}

TEST_F(AlbumChanges, CaptionMarksUnsavedChangesAndTheQuestionsOfferToSave) {
    const QString plain = TMainForm::windowCaptionFor(QString());
    EXPECT_EQ(form->windowTitle(), plain);
    EXPECT_FALSE(form->hasUnsavedChanges());
    // Looking is no change: the zoom and the selection are not kept as changes.
    form->layoutTab()->ZoomEd->setValue(50);
    EXPECT_EQ(form->windowTitle(), plain);

    placeRedPicture();
    EXPECT_EQ(form->windowTitle(), "ZOR-VEX Pixo-Rahmler 4.0 - [Unbenannt.pxr*]");
    const auto offered =
        Prompter::Buttons(Prompter::Button::Ok) | Prompter::Button::Save | Prompter::Button::Cancel;

    // "Speichern" with the save dialog cancelled: nothing saved, nothing emptied.
    prompter.answer(Prompter::Button::Save);
    form->newAction()->trigger();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].buttons, offered);
    EXPECT_EQ(form->album().PictureCount(), 1);

    // A failed save (no such folder) keeps the album and the window too.
    prompter.answer(Prompter::Button::Save);
    prompter.answerSaveFile(scratch.filePath("fehlt/a.pxr"));
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(prompter.shown.back().caption, "Fehler");

    // "Speichern" on opening saves first, then asks for the album to open.
    const QString path = scratch.filePath("Urlaub.pxr");
    prompter.answer(Prompter::Button::Save);
    prompter.answerSaveFile(path);
    form->openAction()->trigger();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(form->windowTitle(), "ZOR-VEX Pixo-Rahmler 4.0 - [Urlaub.pxr]");
    EXPECT_EQ(prompter.openCaptions.size(), 1u);

    // Saved: the plain question again; a caption typed in is a change.
    form->layoutTab()->FreeText->setText("Strand");
    EXPECT_EQ(form->album().Pictures[0].Comment, "Strand");
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->windowTitle().endsWith("[Urlaub.pxr*]"); }));
    prompter.answer(Prompter::Button::Save);
    EXPECT_TRUE(form->close());
    EXPECT_NE(QFile(path).size(), 0);
    form.reset();
}
