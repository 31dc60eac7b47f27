#include <gtest/gtest.h>

#include <QImage>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "ScreenPixels.h"
#include "ScriptedPrompter.h"
#include "core/album/Album.h"
#include "gui/app/ProgressPanel.h"
#include "gui/app/TMainForm.h"
#include "gui/browse/FavouritesList.h"
#include "gui/browse/FolderTree.h"
#include "gui/browse/TAddTab.h"
#include "gui/browse/ThumbBrowser.h"
#include "gui/toolkit/StoredValues.h"

using namespace pr;

namespace {

class ThumbInWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        auto settings = StoredValues::openSettings();
        settings->clear();
        settings->sync();
        FavouritesList::setFileOverride(scratch.filePath(QStringLiteral("folders.dat")));
        pictures = scratch.filePath(QStringLiteral("Bilder"));
        QDir().mkpath(pictures);
        for (int i = 0; i < 6; ++i) {
            QImage image(120, 90, QImage::Format_RGB32);
            image.fill(QColor::fromHsv(i * 50, 200, 220));
            ASSERT_TRUE(image.save(pictures + QStringLiteral("/bild%1.png").arg(i)));
        }
        form = std::make_unique<TMainForm>(&prompter);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        addTab = form->findChild<TAddTab*>();
        ASSERT_NE(addTab, nullptr);
        ASSERT_NE(addTab->thumbBrowser(), nullptr);
    }
    void TearDown() override {
        form.reset();
        FavouritesList::setFileOverride(QString());
    }
    void showBrowser() {
        addTab->folderTree()->setSelectedFolder(pictures);
        addTab->pageControl3()->setCurrentWidget(addTab->browserPage());
    }

    QTemporaryDir scratch;
    QString pictures;
    testsupport::ScriptedPrompter prompter;
    std::unique_ptr<TMainForm> form;
    TAddTab* addTab = nullptr;
};

}  // namespace

TEST_F(ThumbInWindow, BrowserTabShowsTheFolderAndEnterAddsThePicture) {
    ThumbBrowser& browser = *addTab->thumbBrowser();
    showBrowser();
    ASSERT_TRUE(QTest::qWaitFor(
        [&]() { return !browser.running() && browser.grid()->count() == 6; }, 20000));
    EXPECT_EQ(form->statusText(), browser.grid()->statusText());
    EXPECT_TRUE(form->statusText().endsWith(QStringLiteral("(1 von 6)")));

    browser.grid()->select(3);
    QTest::keyClick(browser.grid()->paintBox(), Qt::Key_Return);
    ASSERT_EQ(form->album().Pictures.size(), 1u);
    const QString name = QString::fromStdString(browser.grid()->cells()[2].name);
    EXPECT_EQ(QString::fromStdString(form->album().Pictures[0].FileName), pictures + "/" + name);
    ASSERT_GE(addTab->favourites()->count(), 1);
    EXPECT_EQ(addTab->favourites()->item(0)->text(), pictures + "/");
    EXPECT_TRUE(prompter.shown.empty());
    // The load went from 0 to 100 % and back; the panel on the screen shows no bar any more.
    const QImage panel = testsupport::shownOnScreen(form->progressPanel());
    ASSERT_FALSE(panel.isNull());
    EXPECT_NE(QColor(panel.pixel(panel.rect().center())), ProgressPanel::barColour());
}
