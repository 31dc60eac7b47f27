#include <QDoubleSpinBox>
#include <QSignalSpy>
#include <QTimer>

#include "EditingFixture.h"
#include "gui/layout/TKoordEdForm.h"

using namespace editingtest;

namespace {

TEST_F(EditingTest, TypingACaptionStoresEveryKeyAndRepaintsOnceHalfASecondLater) {
    addPictures(1);
    place(0, 1, 1, 2, 2);
    place(0, 4, 4, 2, 2);  // a second placement of the same picture
    editor().SelectPlacement(0);
    panel().Timer1->stop();
    QApplication::processEvents();

    std::vector<std::string> stored;
    QObject::connect(tab.FreeText, &QLineEdit::textChanged,
                     [&] { stored.push_back(album.Pictures[0].Comment); });
    PaintCounter paints(tab.PaintBox2);
    // A paint while the delay still runs would be one too early, however long the wait.
    int early = 0;
    paints.onPaint = [&] { early += panel().Timer1->isActive() ? 1 : 0; };
    QSignalSpy fired(panel().Timer1, &QTimer::timeout);
    tab.FreeText->setFocus();
    QTest::keyClicks(tab.FreeText, QStringLiteral("abc"));
    EXPECT_EQ(stored, (std::vector<std::string>{"a", "ab", "abc"}));
    EXPECT_EQ(paints.count, 0);
    EXPECT_TRUE(panel().Timer1->isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return fired.count() == 1 && paints.count >= 1; }, 20000));
    EXPECT_EQ(paints.count, 1);
    EXPECT_EQ(early, 0);
    EXPECT_FALSE(panel().Timer1->isActive());

    // The caption belongs to the picture: the other placement shows it too.
    editor().SelectPlacement(1);
    EXPECT_EQ(tab.FreeText->text(), QStringLiteral("abc"));
}

TEST_F(EditingTest, SelectingLoadsFitCropAndSizeIntoThePanelAndTheCheckBoxWritesBack) {
    addPictures(1);
    place(0, 1, 0.5, 2, 2);
    album.placementAt(0)->FitCrop = 1;
    tab.CutCheck->setChecked(false);
    editor().SelectPlacement(0);
    EXPECT_TRUE(tab.CutCheck->isChecked());
    EXPECT_TRUE(status.contains(QStringLiteral("Breite: 50")));
    tab.CutCheck->click();
    EXPECT_EQ(at(0).FitCrop, 0);
}

TEST_F(EditingTest, DeletingIndexTwoOfFiveWithoutAQuestion) {
    addPictures(5);
    for (int i = 0; i < 5; ++i) place(i, i * 0.5, 0, 1, 1);
    album.SelectedPlacement = 2;
    editor().SelectPlacement(2);
    tab.DelitBtn->click();
    ASSERT_EQ(album.placementCount(), 4u);
    EXPECT_EQ(at(2).ImageKey, album.Pictures[3].Key);
    EXPECT_EQ(at(3).ImageKey, album.Pictures[4].Key);
    EXPECT_EQ(album.SelectedPlacement, -1);
    EXPECT_EQ(album.PictureCount(), 5);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(EditingTest, ShowBigHandsTheAlbumPictureItselfToTheViewer) {
    addPictures(2);
    place(1, 1, 1, 1, 1);
    editor().SelectPlacement(0);
    tab.ShowBigBtn->click();
    EXPECT_EQ(shownBits, album.Pictures[1].Image.bits);
    EXPECT_EQ(shownPath, QStringLiteral("/pics/p1.jpg"));
}

TEST_F(EditingTest, PositionDialogFieldsAreLinked) {
    pr::TKoordEdForm& form = *panel().KoordEdForm;
    using F = pr::KoordFields;
    form.edit(F::Left)->setValue(10);
    form.edit(F::Right)->setValue(110);
    EXPECT_DOUBLE_EQ(form.edit(F::Width)->value(), 100);
    form.edit(F::Left)->setValue(20);
    EXPECT_DOUBLE_EQ(form.edit(F::Width)->value(), 90);
    EXPECT_DOUBLE_EQ(form.edit(F::Right)->value(), 110);
    form.edit(F::Width)->setValue(50);
    EXPECT_DOUBLE_EQ(form.edit(F::Right)->value(), 70);
    EXPECT_DOUBLE_EQ(form.edit(F::Left)->value(), 20);
    form.edit(F::Bottom)->setValue(40);
    EXPECT_DOUBLE_EQ(form.edit(F::Height)->value(), 22.5);
    form.edit(F::Height)->setValue(5);
    EXPECT_DOUBLE_EQ(form.edit(F::Bottom)->value(), 22.5);

    // Validation: "Links" must be below "Rechts"; the dialog stays open.
    form.edit(F::Top)->setValue(10);
    form.edit(F::Bottom)->setValue(40);
    form.edit(F::Left)->setValue(30);
    form.edit(F::Right)->setValue(30);
    QSignalSpy accepted(&form, &QDialog::accepted);
    form.OkBtnClick();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].icon, pr::Prompter::Icon::Error);
    EXPECT_EQ(accepted.count(), 0);
    EXPECT_DOUBLE_EQ(form.edit(F::Left)->value(), 30);
    form.edit(F::Right)->setValue(31);
    form.OkBtnClick();
    EXPECT_EQ(accepted.count(), 1);
}

TEST_F(EditingTest, PositionDialogSetsExactlyWhatWasTypedAndCancelKeepsThePlacement) {
    addPictures(1);
    place(0, 0.123456, 1, 2, 1);
    editor().SelectPlacement(0);
    using F = pr::KoordFields;
    panel().setDialogRunner([](pr::TKoordEdForm& form) {
        EXPECT_NEAR(form.edit(F::Right)->value(), (0.123456 + 2) * kMm, 0.005);
        form.edit(F::Top)->setValue(12.34);  // grid alignment is on, but not applied here
        form.OkBtnClick();
        return form.result();
    });
    tab.ChangePosSizeBtn->click();
    EXPECT_EQ(at(0).Left, 0.123456);  // untouched fields come back exactly
    EXPECT_DOUBLE_EQ(at(0).Top, 12.34 / kMm);
    EXPECT_NEAR(at(0).Height, (2 * kMm - 12.34) / kMm, 1e-12);  // the bottom edge stayed
    EXPECT_TRUE(status.contains(QStringLiteral("y: 12")));

    panel().setDialogRunner([](pr::TKoordEdForm& form) {
        form.edit(F::Left)->setValue(99);
        return static_cast<int>(QDialog::Rejected);
    });
    tab.ChangePosSizeBtn->click();
    EXPECT_EQ(at(0).Left, 0.123456);
}

}  // namespace
