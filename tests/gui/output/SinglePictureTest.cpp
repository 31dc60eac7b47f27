// "Bild drucken...": size and position arithmetic, the two percentages kept in proportion, the
// stored choices, and printing one picture alone.

#include <QCheckBox>
#include <QRadioButton>
#include <QSpinBox>

#include "OutputFixture.h"
#include "gui/output/SinglePictureLayout.h"
#include "gui/output/TPrintForm.h"

using pr::PictureRect;
using pr::SinglePictureChoice;

TEST(SinglePictureLayout, SizesAndPositionsOnThePage) {
    SinglePictureChoice notCentred, stretched, user, quarter;
    notCentred.centred = stretched.centred = false;
    stretched.keepAspect = false;
    user.fullPage = quarter.fullPage = false;
    quarter.widthPercent = 25;
    const struct {
        const char* name;
        int pageW, pageH, w, h;
        SinglePictureChoice choice;
        PictureRect want;
    } cases[] = {
        {"landscape on portrait: full width, centred",
         4800,
         6600,
         400,
         300,
         {},
         {0, 1500, 4800, 3600}},
        {"taller than the page: full height", 4800, 6600, 300, 600, {}, {750, 0, 3300, 6600}},
        {"not centred", 4800, 6600, 400, 300, notCentred, {0, 0, 4800, 3600}},
        {"proportions not kept", 4800, 6600, 400, 300, stretched, {0, 0, 4800, 6600}},
        {"50 % / 50 %", 4800, 6600, 400, 300, user, {1200, 1650, 2400, 3300}},
        // Halves go to the even pixel: 25 % of 4802 is 1200.5 -> 1200, of 4806 1201.5 -> 1202.
        {"half down to even", 4802, 6600, 400, 300, quarter, {1801, 1650, 1200, 3300}},
        {"half up to even", 4806, 6600, 400, 300, quarter, {1802, 1650, 1202, 3300}},
        {"24 megapixels on a large page",
         14000,
         19800,
         6000,
         4000,
         {},
         {0, (19800 - 9333) / 2, 14000, 9333}},
        {"no page", 0, 6600, 400, 300, notCentred, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pr::singlePictureRect(c.pageW, c.pageH, c.w, c.h, c.choice), c.want) << c.name;
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

TEST_F(PrintFormTest, ChoicesAreKeptBetweenRunsEvenWhenCancelled) {
    pr::ImageBuffer picture;
    ASSERT_TRUE(pr::newdib(picture, 100, 100, 24));
    {
        pr::TPrintForm form(picture, output->printer(), prompter);
        form.UserdefCheck->click();
        form.ZentrCheck->click();
        form.SverhCheck->click();
        form.BreitEdit->setValue(30);
        form.reject();
    }
    pr::TPrintForm again(picture, output->printer(), prompter);
    EXPECT_TRUE(again.UserdefCheck->isChecked());
    EXPECT_FALSE(again.UseFullCheck->isChecked());
    EXPECT_FALSE(again.ZentrCheck->isChecked());
    EXPECT_FALSE(again.SverhCheck->isChecked());
    EXPECT_EQ(again.BreitEdit->value(), 30);
}
