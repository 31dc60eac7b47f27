// The brightness/contrast/saturation dialog, driven through its buttons while its modal loop runs,
// and on its own without a loop.

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <cstring>

#include "ImagingFixture.h"
#include "imaging/Adjust.h"
#include "imaging/AdjustSession.h"
#include "imaging/THKForm.h"

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
};

TEST_F(AdjustDialogTest, CancelAfterSeveralPreviewsGivesBackEveryByte) {
    for (int bits : {8, 24}) {
        SCOPED_TRACE(bits);
        album.DelallPics();
        redraws = 0;
        const int32_t key = placed(picture(bits, 33, 17));
        const auto before = bytesOf(image(key));
        const auto first = adjusted(image(key), 80, 150, 40);
        const auto second = adjusted(image(key), -60, 30, -100);
        std::vector<std::vector<uint8_t>> seen;  // what the page showed at each redraw
        onRedraw = [&] { seen.push_back(bytesOf(image(key))); };
        runDialog([&](pr::THKForm& form) {
            form.setPositions(80, 150, 40);
            QTest::mouseClick(form.PreviewBtn, Qt::LeftButton);
            form.setPositions(-60, 30, -100);  // from the backup again, not on top of the first
            QTest::mouseClick(form.PreviewBtn, Qt::LeftButton);
            QTest::mouseClick(form.CancelBitBtn2, Qt::LeftButton);
        });
        // The album's record brings the new palette along, so palette displays see it too.
        ASSERT_EQ(seen.size(), 3u);
        EXPECT_EQ(seen[0], first);
        EXPECT_EQ(seen[1], second);
        EXPECT_EQ(seen[2], before);
        EXPECT_EQ(bytesOf(image(key)), before);
        EXPECT_TRUE(prompter.shown.empty());
    }
}

TEST_F(AdjustDialogTest, OkKeepsTheAdjustmentAndEscapeDropsIt) {
    for (int bits : {4, 24}) {
        SCOPED_TRACE(bits);
        album.DelallPics();
        redraws = 0;
        const int32_t key = placed(picture(bits, 9, 6));
        const auto before = bytesOf(image(key));
        const auto expected = adjusted(image(key), 30, 170, -50);
        runDialog([](pr::THKForm& form) {
            form.setPositions(127, 200, 100);
            QTest::mouseClick(form.PreviewBtn, Qt::LeftButton);
            QTest::keyClick(&form, Qt::Key_Escape);
        });
        EXPECT_EQ(bytesOf(image(key)), before);
        runDialog([](pr::THKForm& form) {
            EXPECT_EQ(form.TrackBar2->value(), 100);  // every dialog starts at 0, 100, 0
            form.setPositions(30, 170, -50);
            QTest::mouseClick(form.OkBitBtn1, Qt::LeftButton);
        });
        EXPECT_EQ(bytesOf(image(key)), expected);
        EXPECT_EQ(redraws, 3);  // preview, cancel, OK
        const pr::ImageBuffer& kept = image(key);
        if (kept.hasPalette) {
            EXPECT_EQ(std::memcmp(kept.paletteHandle.get(), &kept.palette, sizeof kept.palette), 0);
        }
    }
}

TEST_F(AdjustDialogTest, ResetOnlyMovesTheSlidersAndEnterMeansOk) {
    const int32_t key = placed(picture(24, 6, 6));
    const auto before = bytesOf(image(key));
    runDialog([&](pr::THKForm& form) {
        form.setPositions(-127, 0, 100);
        QTest::mouseClick(form.PreviewBtn, Qt::LeftButton);
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
    EXPECT_TRUE(prompter.shown[0].caption.isEmpty());
    EXPECT_EQ(prompter.shown[0].icon, pr::Prompter::Icon::Error);
}

TEST(THKForm, SlidersButtonsAndNoWorkUntilAButtonIsPressed) {
    pr::ImageBuffer image = picture(24, 3, 2);
    pr::AdjustSession session;
    ASSERT_TRUE(session.begin(image));
    int redraws = 0;
    pr::THKForm form(session, [&] { ++redraws; });
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Helligkeit, Kontrast und Sättigung"));
    auto slider = [&](QSlider* s, const char* label, int min, int max, int start) {
        EXPECT_EQ(s->minimum(), min) << label;
        EXPECT_EQ(s->maximum(), max) << label;
        EXPECT_EQ(s->value(), start) << label;
        bool labelled = false;
        for (QLabel* l : form.findChildren<QLabel*>())
            labelled |= l->buddy() == s && l->text() == QString::fromUtf8(label);
        EXPECT_TRUE(labelled) << label;
    };
    slider(form.TrackBar1, "Helligkeit:", -127, 127, 0);
    slider(form.TrackBar2, "Kontrast:", 0, 200, 100);
    slider(form.TrackBar3, "Sättigung:", -100, 100, 0);
    EXPECT_EQ(form.PreviewBtn->text(), QStringLiteral("&Vorschau"));
    EXPECT_EQ(form.BacksetBitBtn3->text(), QStringLiteral("&Zurücksetzen"));
    EXPECT_EQ(form.OkBitBtn1->text(), QStringLiteral("&OK"));
    EXPECT_EQ(form.CancelBitBtn2->text(), QStringLiteral("A&bbrechen"));
    EXPECT_TRUE(form.OkBitBtn1->isDefault());

    const auto before = bytesOf(image);
    form.TrackBar3->setValue(-100);
    EXPECT_EQ(bytesOf(image), before);
    form.OkBitBtn1Click();
    EXPECT_EQ(pr::getpixel(image, 2, 1), 0x00808080u);  // saturation -100: every channel 128
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    session.cancel(image);
    EXPECT_EQ(bytesOf(image), before);
}

}  // namespace
