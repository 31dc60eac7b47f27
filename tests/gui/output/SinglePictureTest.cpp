// "Bild drucken...": size and position arithmetic, the two percentages kept in proportion, the
// stored choices, and printing one picture alone.

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTimer>

#include "OutputFixture.h"
#include "output/SinglePictureLayout.h"
#include "output/TPrintForm.h"

using pr::PictureRect;
using pr::SinglePictureChoice;

TEST(SinglePictureLayout, SizesAndPositionsOnThePage) {
    SinglePictureChoice full;
    // Landscape picture, proportions kept, on a portrait page: full width, centred vertically.
    EXPECT_EQ(pr::singlePictureRect(4800, 6600, 400, 300, full), (PictureRect{0, 1500, 4800, 3600}));
    // Portrait picture taller than the page's proportions: full height, centred across.
    EXPECT_EQ(pr::singlePictureRect(4800, 6600, 300, 600, full), (PictureRect{750, 0, 3300, 6600}));
    full.centred = false;
    EXPECT_EQ(pr::singlePictureRect(4800, 6600, 400, 300, full), (PictureRect{0, 0, 4800, 3600}));
    full.keepAspect = false;
    EXPECT_EQ(pr::singlePictureRect(4800, 6600, 400, 300, full), (PictureRect{0, 0, 4800, 6600}));

    SinglePictureChoice user;
    user.fullPage = false;
    EXPECT_EQ(pr::singlePictureRect(4800, 6600, 400, 300, user),
              (PictureRect{1200, 1650, 2400, 3300}));
    // nearest() takes halves to the even pixel: 25 % of 4802 is 1200.5 -> 1200, of 4806 1201.5 -> 1202.
    user.widthPercent = 25;
    EXPECT_EQ(pr::singlePictureRect(4802, 6600, 400, 300, user).w, 1200);
    EXPECT_EQ(pr::singlePictureRect(4806, 6600, 400, 300, user).w, 1202);
    // A 24-megapixel picture on a large page does not overflow.
    EXPECT_EQ(pr::singlePictureRect(14000, 19800, 6000, 4000, SinglePictureChoice{}).h, 9333);
    EXPECT_EQ(pr::singlePictureRect(0, 6600, 400, 300, full), PictureRect{});
}

TEST(SinglePictureLayout, PreviewSheetFillsTheBoxAlongThePagesLongSide) {
    EXPECT_EQ(pr::previewSheet(190, 190, 4800, 6600), (PictureRect{26, 0, 138, 190}));
    EXPECT_EQ(pr::previewSheet(190, 190, 6600, 4800), (PictureRect{0, 26, 190, 138}));
}

using PrintFormTest = OutputFixture;

TEST_F(PrintFormTest, PercentagesStayInProportionAndStopAtTheLimits) {
    pr::ImageBuffer picture;
    ASSERT_TRUE(pr::newdib(picture, 300, 600, 24));
    pr::TPrintForm form(picture, output->printer(), prompter);
    form.setPageSource([] { return pr::PrinterPage{4800, 6600, 600, 600}; });
    form.UserdefCheck->click();
    // 40 % across of a 1:2 picture on this page is 40 x 2 x 4800 / 6600 = 58.18 % down.
    form.BreitEdit->setValue(40);
    EXPECT_EQ(form.HochEdit->value(), 58);
    // 100 % across would need 145 % down: the height stops at 100 and the width follows once.
    form.BreitEdit->setValue(100);
    EXPECT_EQ(form.HochEdit->value(), 100);
    EXPECT_EQ(form.BreitEdit->value(), 68);
    // Without proportions the fields are independent.
    form.SverhCheck->click();
    form.HochEdit->setValue(20);
    EXPECT_EQ(form.BreitEdit->value(), 68);
    EXPECT_EQ(form.printRect(), (PictureRect{(4800 - 3264) / 2, (6600 - 1320) / 2, 3264, 1320}));
}

TEST_F(PrintFormTest, ChoicesAreKeptBetweenRunsWhetherConfirmedOrNot) {
    pr::ImageBuffer picture;
    ASSERT_TRUE(pr::newdib(picture, 100, 100, 24));
    {
        pr::TPrintForm form(picture, output->printer(), prompter);
        EXPECT_TRUE(form.UseFullCheck->isChecked());
        EXPECT_TRUE(form.SverhCheck->isChecked());
        EXPECT_TRUE(form.ZentrCheck->isChecked());
        EXPECT_EQ(form.BreitEdit->value(), 50);
        form.UserdefCheck->click();
        form.ZentrCheck->click();
        form.SverhCheck->click();
        form.BreitEdit->setValue(30);
        form.reject();
    }
    auto settings = pr::StoredValues::openSettings();
    EXPECT_TRUE(settings->contains(QStringLiteral("TPrintForm/UserdefCheck.Checked")));
    pr::TPrintForm again(picture, output->printer(), prompter);
    EXPECT_TRUE(again.UserdefCheck->isChecked());
    EXPECT_FALSE(again.UseFullCheck->isChecked());
    EXPECT_FALSE(again.ZentrCheck->isChecked());
    EXPECT_FALSE(again.SverhCheck->isChecked());
    EXPECT_EQ(again.BreitEdit->value(), 30);
}

TEST_F(PrintFormTest, ConfirmedDialogPrintsThePictureAloneToTheChosenFile) {
    pr::ImageBuffer picture;
    ASSERT_TRUE(pr::newdib(picture, 64, 48, 24));
    output->printer().setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = scratch.filePath(QStringLiteral("bild.pdf"));
    prompter.answerSaveFile(pdf);
    QTimer::singleShot(0, [] {
        if (auto* form = qobject_cast<pr::TPrintForm*>(QApplication::activeModalWidget()))
            form->OkBtn->click();
    });
    EXPECT_TRUE(output->printSinglePicture(picture, scratch.filePath(QStringLiteral("bild.bmp")),
                                           nullptr, QStringLiteral("Pixo-Rahmler Bild")));
    EXPECT_EQ(output->printer().docName(), QStringLiteral("Pixo-Rahmler Bild"));
    const QByteArray bytes = readAll(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Subtype /Image"), 1);
    EXPECT_TRUE(prompter.shown.empty());
    for (QWidget* w : QApplication::topLevelWidgets())  // released once printed
        EXPECT_EQ(qobject_cast<pr::TPrintForm*>(w), nullptr);

    // Cancelled: no file, no message.
    const QString other = scratch.filePath(QStringLiteral("nie.pdf"));
    prompter.answerSaveFile(other);
    QTimer::singleShot(0, [] {
        if (auto* form = qobject_cast<pr::TPrintForm*>(QApplication::activeModalWidget()))
            form->CancelBtn->click();
    });
    EXPECT_FALSE(output->printSinglePicture(picture, QString(), nullptr,
                                            QStringLiteral("Pixo-Rahmler Bild")));
    EXPECT_FALSE(QFile::exists(other));
}
