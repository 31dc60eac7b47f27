// Paper against the renderer: the PDF that "Go!" writes, rasterised again by poppler, shows what
// PageRenderer draws for the same page at the same resolution; and a device with different
// resolutions across and down still places everything by the horizontal one.

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>

#include "OutputFixture.h"
#include "PageExport.h"
#include "PagePrinter.h"
#include "layout/PrinterPageSource.h"

namespace {

// Four coloured quarters, so that resampling differences stay at a few edges.
int32_t addQuarters(pr::Album& album, int w, int h) {
    pr::ImageBuffer image;
    EXPECT_TRUE(pr::newdib(image, w, h, 24));
    const uint32_t colours[] = {0x000000e0, 0x0000c000, 0x00e00000, 0x0000d0d0};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pr::setpixel(image, x, y, colours[(x < w / 2 ? 0 : 1) + (y < h / 2 ? 0 : 2)]);
    return album.addPicture("viertel.bmp", image);
}

struct Difference {
    double mean = 0;       // mean absolute difference per channel
    double farShare = 0;   // share of pixels where a channel differs by more than 64
};

Difference compare(const QImage& a, const QImage& b) {
    const int w = std::min(a.width(), b.width()), h = std::min(a.height(), b.height());
    double sum = 0;
    long far = 0;
    for (int y = 0; y < h; ++y) {
        const QRgb* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const QRgb* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const int dr = std::abs(qRed(ra[x]) - qRed(rb[x]));
            const int dg = std::abs(qGreen(ra[x]) - qGreen(rb[x]));
            const int db = std::abs(qBlue(ra[x]) - qBlue(rb[x]));
            sum += dr + dg + db;
            if (std::max({dr, dg, db}) > 64) ++far;
        }
    }
    const double n = double(w) * h;
    return {sum / (3 * n), far / n};
}

}  // namespace

using PaperTest = OutputFixture;

TEST_F(PaperTest, PdfRasterisedAgainMatchesTheRenderersRaster) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is missing; scripts/setup.sh installs it";
    constexpr int kDpi = 100;
    // Fitted, cropped and stretched pictures, one covering another, and captions on a coloured
    // background: everything the page draws.
    place(addQuarters(album, 400, 300), 1, 0.5, 0.5, 3, 3);
    place(addQuarters(album, 300, 500), 1, 4, 0.5, 3, 3, true);
    place(addQuarters(album, 200, 200), 1, 2.5, 3, 3, 2);
    place(addQuarters(album, 64, 48), 2, 1, 1, 2, 2);
    album.Pictures[0].Comment = "Am Strand";
    album.Pictures[2].Comment = "Ein viel zu langer Text unter dem Bild";
    layout->BkColBox->setColor(QColor(255, 255, 128));
    layout->PageCountED->setValue(2);

    const QString pdf = scratch.filePath(QStringLiteral("album.pdf"));
    prompter.answerPrint([pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
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
    poppler.start(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-png"), pdf, prefix});
    ASSERT_TRUE(poppler.waitForFinished(60000));
    ASSERT_EQ(poppler.exitCode(), 0) << poppler.readAllStandardError().constData();

    for (int p = 1; p <= 2; ++p) {
        QImage paper(prefix + QStringLiteral("-%1.png").arg(p));
        ASSERT_FALSE(paper.isNull()) << "page " << p;
        paper = paper.convertToFormat(QImage::Format_RGB32);
        pr::PageRenderOptions options = layout->renderOptions();
        options.page = p;
        const QImage drawn = pr::PageExport::renderPage(album, options, page, kDpi)
                                 .convertToFormat(QImage::Format_RGB32);
        // A4 at 100 dpi: 826.8 x 1169.3, which each side may round its own way.
        EXPECT_LE(std::abs(paper.width() - drawn.width()), 1);
        EXPECT_LE(std::abs(paper.height() - drawn.height()), 1);
        const Difference d = compare(paper, drawn);
        EXPECT_LT(d.mean, 1.5) << "page " << p;
        EXPECT_LT(d.farShare, 0.005) << "page " << p;  // about 0.003: edges and glyphs
        if (p == 1) {
            // Inside each quarter the colours agree closely, and the covered picture is covered.
            for (QPoint at : {QPoint(80, 80), QPoint(300, 320), QPoint(450, 100), QPoint(420, 440)})
                EXPECT_LT(std::abs(qRed(paper.pixel(at)) - qRed(drawn.pixel(at))) +
                              std::abs(qGreen(paper.pixel(at)) - qGreen(drawn.pixel(at))) +
                              std::abs(qBlue(paper.pixel(at)) - qBlue(drawn.pixel(at))),
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
    ASSERT_EQ(device.logicalDpiX(), 600);
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
    EXPECT_EQ(device.pixel(149, 300), 0xffffffffu);
    EXPECT_EQ(device.pixel(450, 299), 0xffffffffu);
    EXPECT_EQ(device.pixel(450, 900), 0xffffffffu);

    // The caption: trunc(11 pt x 600 / 72) = 91 pixels, its background ending on the picture's
    // last row and centred on it.
    QFont font = options.captionFont;
    font.setPixelSize(91);
    const QFontMetrics metrics(font, &device);
    int top = -1, bottom = -1, left = 2000, right = -1;
    for (int y = 300; y < 900; ++y)
        for (int x = 150; x < 750; ++x)
            if (device.pixel(x, y) == 0xff00ff00u) {
                if (top < 0) top = y;
                bottom = y;
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_EQ(bottom, 899);
    EXPECT_EQ(bottom - top + 1, metrics.height());
    const int width = metrics.horizontalAdvance(QStringLiteral("Mitte"));
    EXPECT_EQ(left, 150 + (600 - width) / 2);
    EXPECT_EQ(right - left + 1, width);
}
