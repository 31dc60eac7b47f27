// Cut marks on paper: "Go!" into a PDF with "Schnittmarken drucken" on, rasterised again by
// poppler, shows the corner marks outside the frame and nothing inside the gap.

#include <QCheckBox>
#include <QProcess>
#include <QStandardPaths>

#include "OutputFixture.h"

using CutMarksPaperTest = OutputFixture;

TEST_F(CutMarksPaperTest, MarksReachThePaperOnlyWhenChecked) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is missing; scripts/setup.sh installs it";
    constexpr int kDpi = 300;
    place(addPicture(40, 40, [](int, int) { return 0x00e0e0e0u; }), 1, 1, 1, 2, 2);
    auto printed = [&](bool marks, const QString& name) {
        output->CutMarksCheck->setChecked(marks);
        const QString pdf = scratch.filePath(name + QStringLiteral(".pdf"));
        prompter.answerPrint([pdf](QPrinter& printer) {
            printToPdf(pdf)(printer);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setFullPage(true);
            printer.setPageMargins(QMarginsF(0, 0, 0, 0));
            printer.setResolution(kDpi);
            return true;
        });
        EXPECT_TRUE(output->GoBtn1Click());
        QProcess poppler;
        const QString prefix = scratch.filePath(name);
        poppler.start(QStringLiteral("pdftoppm"),
                      {"-r", QString::number(kDpi), "-png", "-singlefile", pdf, prefix});
        EXPECT_TRUE(poppler.waitForFinished(60000));
        return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
    };
    // The darkest pixel within two pixels of a point, so antialiasing cannot hide a thin line.
    auto darkest = [](const QImage& page, int x, int y) {
        int d = 255;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) d = std::min(d, qGray(page.pixel(x + dx, y + dy)));
        return d;
    };
    const QImage with = printed(true, QStringLiteral("mit")),
                 without = printed(false, QStringLiteral("ohne"));
    ASSERT_FALSE(with.isNull());
    ASSERT_FALSE(without.isNull());
    // Frame at 300..899 pixels; 3 mm = 35 pixels, 8 mm = 94: the top-left mark across runs
    // from x 206 to 265 on row 300.
    EXPECT_LT(darkest(with, 235, 300), 128);
    EXPECT_LT(darkest(with, 300, 235), 128);
    EXPECT_LT(darkest(with, 965, 899), 128);  // bottom-right, across
    EXPECT_GT(darkest(with, 285, 285), 250);  // the gap at the corner stays clean
    EXPECT_GT(darkest(without, 235, 300), 250);
}

TEST_F(CutMarksPaperTest, PageExportCarriesThemToo) {
    place(addPicture(40, 40, [](int, int) { return 0x00e0e0e0u; }), 1, 1, 1, 2, 2);
    output->CutMarksCheck->setChecked(true);
    const QString path = scratch.filePath(QStringLiteral("seite.png"));
    prompter.answerSaveFile(path);
    ASSERT_TRUE(output->SaveBitBtnClick());
    const QImage image = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(image.isNull());
    // At 150 dpi the frame starts at 150; the mark across runs from 102 to 132 on row 150.
    EXPECT_EQ(image.pixel(120, 150), 0xff000000u);
    EXPECT_EQ(image.pixel(140, 150), 0xffffffffu);
    EXPECT_EQ(image.pixel(150, 120), 0xff000000u);
}
