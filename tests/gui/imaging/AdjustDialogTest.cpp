// The brightness/contrast/saturation dialog, driven through its buttons while its modal loop runs,
// and on its own without a loop.

#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <cstring>

#include "ImagingFixture.h"
#include "core/album/AdjustSession.h"
#include "core/imaging/Adjust.h"
#include "core/imaging/ImageBackup.h"
#include "gui/imaging/THKForm.h"

using namespace imagingtest;

namespace {

class AdjustDialogTest : public ImagingTest {
protected:
    // The three adjustments on a separate copy.
    static std::vector<uint8_t> adjusted(const pr::ImageBuffer& original, int b, int k, int s) {
        pr::ImageBuffer copy;
        EXPECT_TRUE(pr::MakeBackup(original, copy));
        pr::AdjustAll(copy, b, k, s);
        return bytesOf(copy);
    }
    // Runs the command with `script` pressing the dialog's buttons.
    void runDialog(std::function<void(pr::THKForm&)> script) {
        ModalScript<pr::THKForm> modal(std::move(script));
        pr::HelligkeitKontrastundSttigung1Click(context());
        EXPECT_TRUE(modal.ran());
    }
    static void preview(pr::THKForm& form, int b, int k, int s) {
        form.setPositions(b, k, s);
        QTest::mouseClick(form.PreviewBtn, Qt::LeftButton);
    }
};

TEST_F(AdjustDialogTest, CancelAndEscapeGiveBackEveryByteAndOkKeepsTheLastSetting) {
    for (int bits : {4, 8, 24}) {
        SCOPED_TRACE(bits);
        album.DelallPics();
        const int32_t key = placed(picture(bits, 33, 17));
        const auto before = bytesOf(image(key));
        const auto first = adjusted(image(key), 80, 150, 40);
        const auto second = adjusted(image(key), -60, 30, -100);
        const auto last = adjusted(image(key), 30, 170, -50);
        std::vector<std::vector<uint8_t>> seen;  // what the page showed at each redraw
        onRedraw = [&] { seen.push_back(bytesOf(image(key))); };
        runDialog([&](pr::THKForm& form) {
            preview(form, 80, 150, 40);
            preview(form, -60, 30, -100);  // from the backup again, not on top of the first
            QTest::mouseClick(form.CancelBitBtn2, Qt::LeftButton);
        });
        runDialog([&](pr::THKForm& form) {
            EXPECT_EQ(form.TrackBar2->value(), 100);  // every dialog starts at 0, 100, 0
            preview(form, 80, 150, 40);
            QTest::keyClick(&form, Qt::Key_Escape);
        });
        runDialog([&](pr::THKForm& form) {
            form.setPositions(30, 170, -50);
            EXPECT_EQ(bytesOf(image(key)), before);  // sliders alone change nothing
            QTest::mouseClick(form.OkBitBtn1, Qt::LeftButton);
        });
        // The album's record brings the new palette along, so palette displays see it too. OK
        // draws once more when the adjustment is in the recipe.
        EXPECT_EQ(seen, (std::vector<std::vector<uint8_t>>{first, second, before, first, before,
                                                           last, last}));
        const pr::ImageBuffer& kept = image(key);
        if (kept.hasPalette) {
            EXPECT_EQ(std::memcmp(kept.paletteHandle.get(), &kept.palette, sizeof kept.palette), 0);
        }
        EXPECT_TRUE(prompter.shown.empty());
    }
}

TEST_F(AdjustDialogTest, ResetOnlyMovesTheSlidersAndEnterMeansOk) {
    const int32_t key = placed(picture(24, 6, 6));
    const auto before = bytesOf(image(key));
    runDialog([&](pr::THKForm& form) {
        preview(form, -127, 0, 100);
        const auto previewed = bytesOf(image(key));
        QTest::mouseClick(form.BacksetBitBtn3, Qt::LeftButton);
        EXPECT_EQ(form.TrackBar1->value(), 0);
        EXPECT_EQ(form.TrackBar2->value(), 100);
        EXPECT_EQ(form.TrackBar3->value(), 0);
        EXPECT_EQ(redraws, 1);
        EXPECT_EQ(bytesOf(image(key)), previewed);
        QTest::keyClick(&form, Qt::Key_Return);
    });
    EXPECT_EQ(bytesOf(image(key)), before);
    EXPECT_EQ(redraws, 2);
}

TEST_F(AdjustDialogTest, NoBackupShowsTheMessageAndNoDialog) {
    placed(pr::ImageBuffer{});  // a picture without pixels
    ModalScript<QDialog> stray([](QDialog&) {});
    pr::HelligkeitKontrastundSttigung1Click(context());
    EXPECT_FALSE(stray.ran());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              QStringLiteral("Fehler: Konnte Bild nicht erstellen! (Zuwenig Speicher?)"));
    EXPECT_EQ(prompter.shown[0].icon, pr::Prompter::Icon::Error);
}

}  // namespace
