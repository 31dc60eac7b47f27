// The toolbar's open, save and save-as commands driven through the real window, with every dialog
// answered by a ScriptedPrompter.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "ScriptedPrompter.h"
#include "gui/album/AlbumCommands.h"
#include "gui/album/AlbumFileCommands.h"
#include "gui/album/AlbumList.h"
#include "gui/album/AlbumPanel.h"
#include "gui/app/TMainForm.h"
#include "gui/browse/FavouritesList.h"
#include "gui/browse/TAddTab.h"
#include "gui/imaging/THKForm.h"
#include "gui/layout/ColorComboBox.h"
#include "gui/layout/TLayoutTab.h"
#include "gui/toolkit/StoredValues.h"

using pr::AlbumSettings;
using testsupport::ScriptedPrompter;

namespace {

// Puts `s` into the controls by hand, so the commands' own copying is what the tests check.
void setControls(pr::TLayoutTab& t, const AlbumSettings& s) {
    t.ShowFNames->setChecked(s.ShowFNames);
    t.SverhCheck->setChecked(s.SverhCheck);
    t.ZoomEd->setValue(static_cast<int>(s.Zoom));
    t.RandEd->setValue(s.Margin);
    t.SpaceED->setValue(s.Spacing);
    t.TranspCheck->setChecked(s.TranspCheck);
    t.BkColBox->setColor(QColor(s.BkColor & 0xFF, (s.BkColor >> 8) & 0xFF, s.BkColor >> 16));
    t.CutDefault->setChecked(s.CutDefault);
    t.EnhanceQualCheck->setChecked(s.EnhanceQualCheck);
    t.UseGridCheck->setChecked(s.UseGridCheck);
    t.ShowGridCheck->setChecked(s.ShowGridCheck);
    t.MinQualEd->setValue(static_cast<int>(s.MinQual));
    t.DBreiteED->setValue(s.DefaultWidth);
    t.DHocheED->setValue(s.DefaultHeight);
    t.GridEd->setValue(s.GridSpacing);
    QFont font(QString::fromStdString(s.Font.Name));
    font.setPointSize(s.Font.Size);
    font.setBold(s.Font.Style & pr::CaptionFont::kBold);
    font.setItalic(s.Font.Style & pr::CaptionFont::kItalic);
    t.setCaptionFont(font);
}

AlbumSettings unusualSettings() {
    AlbumSettings s;
    s.ShowFNames = s.TranspCheck = s.CutDefault = s.ShowGridCheck = true;
    s.SverhCheck = s.EnhanceQualCheck = s.UseGridCheck = false;
    s.Zoom = 50, s.Margin = 7.9, s.Spacing = 3, s.BkColor = 0x0000FFFF, s.MinQual = 150;
    s.DefaultWidth = 90.5, s.DefaultHeight = 60.25, s.GridSpacing = 2.5;
    s.Font.Name = "Liberation Serif", s.Font.Size = 14;
    s.Font.Style = pr::CaptionFont::kBold | pr::CaptionFont::kItalic;
    return s;
}

class AlbumFileFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        auto settings = pr::StoredValues::openSettings();
        settings->clear();
        settings->sync();
        pr::FavouritesList::setFileOverride(file("folders.dat"));
        form = std::make_unique<pr::TMainForm>(&prompter);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void TearDown() override {
        form.reset();
        pr::FavouritesList::setFileOverride(QString());
    }

    pr::Album& album() { return form->album(); }
    pr::AlbumCommands* commands() { return form->findChild<pr::AlbumCommands*>(); }
    AlbumSettings collected() {
        return form->findChild<pr::AlbumFileCommands*>()->collectSettings();
    }
    pr::TLayoutTab& layout() { return *form->layoutTab(); }
    QString file(const QString& name) const { return scratch.filePath(name); }

    QString makePicture(const QString& name, int w, int h) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        EXPECT_TRUE(image.save(file(name), name.endsWith(".png") ? "PNG" : "BMP"));
        return file(name);
    }
    void addPlacement(int32_t key, int32_t page, double width = 1) {
        auto* p = reinterpret_cast<pr::Placement*>(album().Placements.Append());
        *p = pr::Placement{0.5, 0.25, width, 1, page, key, 0, {}};
    }
    // Two pictures, the second turned once to the right, each on a page of its own.
    void buildAlbum() {
        ASSERT_EQ(
            commands()->addPictureFiles({makePicture("a.png", 8, 6), makePicture("b.bmp", 10, 4)}),
            2);
        album().Pictures[1].Rotation = 1;
        album().Pictures[0].Comment = "Strand";
        addPlacement(0, 1);
        addPlacement(1, 2);
        album().SelectedPlacement = 1;
    }
    bool saveAs(const QString& path) {
        prompter.answerSaveFile(path);
        form->saveAsAction()->trigger();
        return QString::fromStdString(album().AlbumFileName) == path;
    }
    void newAlbum() {
        prompter.answer(ScriptedPrompter::Button::Ok);
        form->newAction()->trigger();
        prompter.shown.clear();
    }
    void open(const QString& path) {
        prompter.answer(ScriptedPrompter::Button::Ok);
        prompter.answerOpenFile(path);
        form->openAction()->trigger();
    }
    QByteArray bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QString& path, const QByteArray& data) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(data) == data.size());
    }
    QStringList albumLines() {
        QStringList lines;
        const QListWidget* list = form->findChild<pr::TAddTab*>()->albumPanel()->imageList();
        for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
        return lines;
    }
    std::vector<QString> errorsShown() const {
        std::vector<QString> texts;
        for (const auto& s : prompter.shown) {
            EXPECT_EQ(s.caption, "Fehler");
            EXPECT_EQ(s.icon, ScriptedPrompter::Icon::Error);
            texts.push_back(s.text);
        }
        return texts;
    }

    // "&Helligkeit, Kontrast..." on the selected placement, confirmed with the sliders at b, k, s.
    void adjustSelected(int b, int k, int s) {
        bool ran = false;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<pr::THKForm*>(QApplication::activeModalWidget());
            if (!dialog) return;
            timer.stop();
            ran = true;
            dialog->setPositions(b, k, s);
            QTest::mouseClick(dialog->OkBitBtn1, Qt::LeftButton);
        });
        timer.start(5);
        layout().setPlacementControlsEnabled(true);
        layout().HellKonBtn->click();
        EXPECT_TRUE(ran);
    }
    std::vector<uint8_t> shown(int32_t key) {
        pr::ImageBuffer picture;
        EXPECT_TRUE(album().getnumdib(key, picture));
        std::vector<uint8_t> pixels;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const uint32_t v = pr::getpixel(picture, x, y);
                pixels.insert(pixels.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16)});
            }
        return pixels;
    }

    QTemporaryDir scratch;
    ScriptedPrompter prompter;
    std::unique_ptr<pr::TMainForm> form;
};

}  // namespace

TEST_F(AlbumFileFixture, SaveNewOpenRestoresTheAlbumAndSavesTheSameBytesAgain) {
    buildAlbum();
    setControls(layout(), unusualSettings());
    const QString path = file("Urlaub.pxr");
    ASSERT_TRUE(saveAs(path));
    EXPECT_EQ(prompter.saveFilters.at(0), "Pixo-Rahmler Dateien (*.pxr)");
    EXPECT_EQ(prompter.saveSuffixes.at(0), "pxr");
    // The caption font as Windows writes it: a character set and a colour of its own, which no
    // control shows but saving again must keep.
    QByteArray stored = bytes(path);
    const int font = 28 + 2 * 48 + 92;
    stored[font] = char(0xEE);
    stored.replace(font + 1, 4, QByteArray("\xFF\0\0\0", 4));
    write(path, stored);
    newAlbum();
    setControls(layout(), AlbumSettings{});

    open(path);

    ASSERT_EQ(prompter.shown.size(), 1u);  // only the question: nothing went wrong
    EXPECT_EQ(prompter.shown[0].text,
              "Hiermit gehen alle nicht gespeicherten Informationen verloren.");
    EXPECT_EQ(prompter.shown[0].caption, "Datei/Öffnen");
    EXPECT_EQ(prompter.openFilters.at(0), "Pixo-Rahmler Dateien (*.pxr)");
    EXPECT_EQ(form->windowTitle(), "ZOR-VEX Pixo-Rahmler 4.0 - [Urlaub.pxr]");
    EXPECT_FALSE(album().AlbumLoading);

    ASSERT_EQ(album().PictureCount(), 2);
    EXPECT_EQ(album().Pictures[0].FileName, file("a.png").toStdString());
    EXPECT_EQ(album().Pictures[0].Comment, "Strand");
    EXPECT_EQ(album().Pictures[1].Rotation, 1);
    EXPECT_EQ(album().Pictures[1].width(), 4);  // reloaded and turned as stored
    EXPECT_EQ(album().Pictures[1].height(), 10);
    ASSERT_EQ(album().placementCount(), 2u);
    EXPECT_EQ(album().placementAt(1)->Page, 2);
    EXPECT_EQ(album().SelectedPlacement, 1);
    EXPECT_EQ(albumLines(), QStringList({"a.png", "b.bmp"}));

    AlbumSettings expected = unusualSettings();
    expected.Margin = 7;
    expected.Font.Charset = 0xEE;
    expected.Font.Color = 0x000000FF;
    EXPECT_TRUE(collected() == expected);
    EXPECT_EQ(layout().RandEd->value(), 7);
    EXPECT_EQ(layout().captionFont().family(), "Liberation Serif");
    EXPECT_TRUE(layout().captionFont().italic());

    form->saveAction()->trigger();  // titled now: written without a dialog
    EXPECT_EQ(prompter.saveCaptions.size(), 1u);
    EXPECT_EQ(bytes(path), stored);
}

TEST_F(AlbumFileFixture, MissingPictureIsReportedOnceAndKept) {
    buildAlbum();
    const QString path = file("a.pxr");
    ASSERT_TRUE(saveAs(path));
    const QByteArray saved = bytes(path);
    ASSERT_TRUE(QFile::remove(file("b.bmp")));
    newAlbum();

    open(path);
    prompter.shown.erase(prompter.shown.begin());  // the question

    EXPECT_EQ(errorsShown(), std::vector<QString>{"Konnte das Bild b.bmp nicht öffnen!"});
    ASSERT_EQ(album().PictureCount(), 2);
    EXPECT_EQ(album().Pictures[1].width(), 320);  // the placeholder, not turned
    EXPECT_EQ(albumLines(), QStringList({"a.png", "b.bmp"}));
    form->saveAction()->trigger();
    EXPECT_EQ(bytes(path), saved);
}

TEST_F(AlbumFileFixture, FailedOpenOrSaveLeavesAlbumControlsCaptionAndFileAlone) {
    buildAlbum();
    setControls(layout(), unusualSettings());
    const QString path = file("good.pxr");
    ASSERT_TRUE(saveAs(path));
    const QByteArray good = bytes(path);
    write(file("cut.pxr"), good.left(good.size() - 3));
    setControls(layout(), AlbumSettings{});
    const QString title = form->windowTitle();
    EXPECT_TRUE(title.endsWith("[good.pxr*]"));  // the controls changed since the save

    const std::pair<QString, QString> cases[] = {
        {"cut.pxr", "Die Datei ist keine gültige Pixo-Rahmler Datei!"},
        {"nix.pxr", "Pixo-Rahmler Datei öffnen: Konnte die Datei nix.pxr nicht öffnen!"}};
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name.toStdString());
        open(file(name));
        prompter.shown.erase(prompter.shown.begin());
        EXPECT_EQ(errorsShown(), std::vector<QString>{message});
        prompter.shown.clear();
        EXPECT_EQ(form->windowTitle(), title);
        EXPECT_EQ(album().AlbumFileName, path.toStdString());
        EXPECT_EQ(album().PictureCount(), 2);
        EXPECT_EQ(album().placementCount(), 2u);
        EXPECT_FALSE(album().AlbumLoading);
        EXPECT_TRUE(collected() == AlbumSettings{});
    }

    // A failed save keeps the file name, the caption and the old file. The tests run as root, so a
    // read-only folder would not stop them: a missing folder and a folder in the file's place do.
    ASSERT_TRUE(QDir().mkdir(file("dir.pxr")));
    EXPECT_FALSE(saveAs(file("gone/b.pxr")));
    EXPECT_FALSE(saveAs(file("dir.pxr")));
    EXPECT_EQ(errorsShown(),
              (std::vector<QString>{
                  "Pixo-Rahmler Datei speichern: Konnte die Datei b.pxr nicht erstellen!\n"
                  "Der Ordner oder die Datei existiert nicht.",
                  "Pixo-Rahmler Datei speichern: Konnte die Datei dir.pxr nicht erstellen!\n"
                  "Ist ein Ordner."}));
    EXPECT_EQ(album().AlbumFileName, path.toStdString());
    EXPECT_EQ(form->windowTitle(), title);
    EXPECT_EQ(bytes(path), good);
}

// A 4.0 album raises its pictures to the minimum quality with the file's settings, not with the
// values the controls had before it was opened.
TEST_F(AlbumFileFixture, OpeningRaisesPicturesWithTheFilesQualitySettings) {
    ASSERT_EQ(commands()->addPictureFiles({makePicture("small.png", 20, 10)}), 1);
    addPlacement(0, 1, /*inches*/ 2);
    layout().EnhanceQualCheck->setChecked(true);
    layout().MinQualEd->setValue(100);
    ASSERT_TRUE(saveAs(file("q.pxr")));
    layout().EnhanceQualCheck->setChecked(false);

    open(file("q.pxr"));
    ASSERT_EQ(album().PictureCount(), 1);
    EXPECT_EQ(album().Pictures[0].width(), 200);
    EXPECT_EQ(album().Pictures[0].height(), 100);
}

// The file keeps no page count: opening raises "Seitenzahl" to the last page with a picture, so
// "Go!" reaches it, and never lowers a count the user set.
TEST_F(AlbumFileFixture, OpeningRaisesThePageCountToTheLastPageWithAPicture) {
    ASSERT_EQ(commands()->addPictureFiles({makePicture("a.png", 8, 6)}), 1);
    addPlacement(0, 1);
    addPlacement(0, 3);
    addPlacement(0, 2000);  // beyond the page field: not reachable, not counted
    ASSERT_TRUE(saveAs(file("drei.pxr")));
    for (const auto& [before, after] : {std::pair{1, 3}, std::pair{5, 5}}) {
        newAlbum();
        layout().PageCountED->setValue(before);
        open(file("drei.pxr"));
        EXPECT_EQ(layout().PageCountED->value(), after) << before;
    }
}

// Confirmed adjustments are a change the title shows, and they come back from the file in their
// order, giving the same pixels and the same bytes when saved again.
TEST_F(AlbumFileFixture, AdjustmentsAreUnsavedChangesAndSurviveSaveAndOpen) {
    buildAlbum();
    // Opening would raise the small picture to the minimum quality, and then show other pixels.
    layout().EnhanceQualCheck->setChecked(false);
    const QString path = file("hell.pxr");
    ASSERT_TRUE(saveAs(path));
    const QByteArray plain = bytes(path);
    const std::vector<uint8_t> unadjusted = shown(1);
    adjustSelected(40, 150, -30);
    adjustSelected(-20, 100, 60);
    EXPECT_TRUE(form->windowTitle().endsWith("[hell.pxr*]"));
    const std::vector<pr::Adjustment> kept = {{40, 150, -30}, {-20, 100, 60}};
    ASSERT_EQ(album().Pictures[1].Adjustments, kept);
    const std::vector<uint8_t> pixels = shown(1);
    ASSERT_NE(pixels, unadjusted);

    form->saveAction()->trigger();
    EXPECT_TRUE(form->windowTitle().endsWith("[hell.pxr]"));
    const QByteArray saved = bytes(path);
    EXPECT_TRUE(saved.startsWith(plain));  // the adjustments follow the last picture entry
    // Undoing them is a change against the saved album; redoing them returns to it.
    form->undoAction()->trigger();
    EXPECT_TRUE(form->windowTitle().endsWith("[hell.pxr*]"));
    form->redoAction()->trigger();
    EXPECT_TRUE(form->windowTitle().endsWith("[hell.pxr]"));
    newAlbum();
    open(path);
    ASSERT_EQ(prompter.shown.size(), 1u);  // only the question
    ASSERT_EQ(album().PictureCount(), 2);
    EXPECT_TRUE(album().Pictures[0].Adjustments.empty());
    EXPECT_EQ(album().Pictures[1].Adjustments, kept);
    EXPECT_EQ(album().Pictures[1].Rotation, 1);
    EXPECT_EQ(shown(1), pixels);
    EXPECT_TRUE(form->windowTitle().endsWith("[hell.pxr]"));
    form->saveAction()->trigger();
    EXPECT_EQ(bytes(path), saved);
}
