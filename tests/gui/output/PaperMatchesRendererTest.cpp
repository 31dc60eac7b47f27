// Paper against the renderer: the PDF that "Go!" writes, rasterised again by poppler, shows what
// PageRenderer draws for the same page at the same resolution; and a device with different
// resolutions across and down still places everything by the horizontal one.

#include <QFontMetrics>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>

#include "OutputFixture.h"
#include "gui/layout/PrinterPageSource.h"
#include "render/PageExport.h"
#include "render/PagePrinter.h"

using PaperTest = OutputFixture;

TEST_F(PaperTest, PdfRasterisedAgainMatchesTheRenderersRaster) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is missing; scripts/setup.sh installs it";
    constexpr int kDpi = 100;
    // Four coloured quarters, so that resampling differences stay at a few edges.
    auto quarters = [this](int w, int h) {
        return addPicture(w, h, [w, h](int x, int y) {
            const uint32_t colours[] = {0x000000e0, 0x0000c000, 0x00e00000, 0x0000d0d0};
            return colours[(x < w / 2 ? 0 : 1) + (y < h / 2 ? 0 : 2)];
        });
    };
    // Fitted, cropped and stretched pictures, one covering another, and captions on a coloured
    // background: everything the page draws.
    place(quarters(400, 300), 1, 0.5, 0.5, 3, 3);
    place(quarters(300, 500), 1, 4, 0.5, 3, 3, true);
    place(quarters(200, 200), 1, 2.5, 3, 3, 2);
    place(quarters(64, 48), 2, 1, 1, 2, 2);
    album.Pictures[0].Comment = "Am Strand";
    album.Pictures[2].Comment = "Ein viel zu langer Text unter dem Bild";
    layout->BkColBox->setColor(QColor(255, 255, 128));
    layout->PageCountED->setValue(2);

    const QString pdf = scratch.filePath(QStringLiteral("album.pdf"));
    prompter.answerPrint([pdf](QPrinter& printer) {
        printToPdf(pdf)(printer);
        printer.setPageSize(QPageSize(QPageSize::A4));
        // The printable area is the whole sheet, so the sheet poppler draws is the page.
        printer.setFullPage(true);
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
        printer.setResolution(kDpi);
        return true;
    });
    ASSERT_TRUE(output->GoBtn1Click());
    ASSERT_EQ(output->printer().logicalDpiX(), kDpi);
    const pr::PrinterPage page = pr::PrinterPageSource::pageOf(output->printer());

    const QString prefix = scratch.filePath(QStringLiteral("seite"));
    QProcess poppler;
    poppler.start(QStringLiteral("pdftoppm"), {"-r", QString::number(kDpi), "-png", pdf, prefix});
    ASSERT_TRUE(poppler.waitForFinished(60000));
    ASSERT_EQ(poppler.exitCode(), 0) << poppler.readAllStandardError().constData();

    for (int p = 1; p <= 2; ++p) {
        SCOPED_TRACE(p);
        const QImage paper =
            QImage(prefix + QStringLiteral("-%1.png").arg(p)).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(paper.isNull());
        pr::PageRenderOptions options = layout->renderOptions();
        options.page = p;
        const QImage drawn = pr::PageExport::renderPage(album, options, page, kDpi)
                                 .convertToFormat(QImage::Format_RGB32);
        // A4 at 100 dpi: 826.8 x 1169.3, which each side may round its own way.
        EXPECT_LE(std::abs(paper.width() - drawn.width()), 1);
        EXPECT_LE(std::abs(paper.height() - drawn.height()), 1);
        // Mean difference per channel, and the share of pixels with a channel off by more than 64
        // (about 0.003: edges and glyphs).
        const int w = std::min(paper.width(), drawn.width());
        const int h = std::min(paper.height(), drawn.height());
        double sum = 0, far = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const QRgb a = paper.pixel(x, y), b = drawn.pixel(x, y);
                const int dr = std::abs(qRed(a) - qRed(b)), dg = std::abs(qGreen(a) - qGreen(b)),
                          db = std::abs(qBlue(a) - qBlue(b));
                sum += dr + dg + db;
                far += std::max({dr, dg, db}) > 64;
            }
        EXPECT_LT(sum / (3.0 * w * h), 1.5);
        EXPECT_LT(far / (double(w) * h), 0.005);
        // Inside each quarter, and where one picture covers another, the colours agree closely.
        for (QPoint at : {QPoint(80, 80), QPoint(300, 320), QPoint(450, 100), QPoint(420, 440)}) {
            const QRgb a = paper.pixel(at), b = drawn.pixel(at);
            EXPECT_LT(std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                          std::abs(qBlue(a) - qBlue(b)),
                      24)
                << at.x() << "," << at.y();
        }
    }
}

TEST_F(PaperTest, UnequalResolutionsPlaceFramesAndCaptionsByTheHorizontalOne) {
    // A device of 600 dpi across and 1200 dpi down, the size of 2 x 2 inches at 600 dpi.
    QImage device(1200, 1200, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(600 / 0.0254));
    device.setDotsPerMeterY(qRound(1200 / 0.0254));
    device.fill(Qt::white);
    ASSERT_EQ(device.logicalDpiY(), 1200);

    place(addPicture(100, 100, 0x00ff0000), 1, 0.25, 0.5, 1, 1);  // blue
    album.Pictures[0].Comment = "Mitte";
    layout->BkColBox->setColor(QColor(0, 255, 0));
    pr::PageRenderOptions options = layout->renderOptions();
    options.page = 1;
    {
        QPainter painter(&device);
        pr::PagePrinter::drawPage(painter, album, options);
    }
    // Frame: x 150 .. 749, y 300 .. 899, both from 600 dpi.
    EXPECT_EQ(device.pixel(150, 300), 0xff0000ffu);
    EXPECT_EQ(device.pixel(749, 500), 0xff0000ffu);
    for (QPoint outside : {QPoint(149, 300), QPoint(450, 299), QPoint(450, 900)})
        EXPECT_EQ(device.pixel(outside), 0xffffffffu) << outside.x() << "," << outside.y();

    // The caption: trunc(11 pt x 600 / 72) = 91 pixels, its background ending on the picture's
    // last row and centred on it.
    QFont font = options.captionFont;
    font.setPixelSize(91);
    const QFontMetrics metrics(font, &device);
    const QRect band = extentOf(device, QRect(150, 300, 600, 600), 0xff00ff00u);
    EXPECT_EQ(band.bottom(), 899);
    EXPECT_EQ(band.height(), metrics.height());
    const int width = metrics.horizontalAdvance(QStringLiteral("Mitte"));
    EXPECT_EQ(band.left(), 150 + (600 - width) / 2);
    EXPECT_EQ(band.width(), width);
}
