// Printing every page to a PDF through the scripted print dialog, and "Als Bild speichern...".

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QSpinBox>

#include "OutputFixture.h"
#include "PageExport.h"
#include "PagePrinter.h"

namespace {

int pdfPageCount(const QByteArray& pdf) {
    // Page objects, not the page tree ("/Type /Pages").
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

int pdfImageCount(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Subtype /Image"));
}

constexpr QRgb kRed = 0xffff0000;
constexpr uint32_t kRedBgr = 0x000000ff;  // setpixel takes 0x00BBGGRR

}  // namespace

using PrintTest = OutputFixture;
using ExportTest = OutputFixture;

TEST_F(PrintTest, EveryPageUpToTheCountEmptyOnesIncludedOthersLeftOut) {
    place(addPicture(40, 30, kRedBgr), 1, 1, 1, 2, 1.5);
    place(addPicture(40, 30, 0x00ff0000), 3, 1, 1, 2, 1.5);  // above the page count
    layout->PageCountED->setValue(2);
    const QString pdf = scratch.filePath(QStringLiteral("album.pdf"));
    prompter.answerPrint(printToPdf(pdf));

    ASSERT_TRUE(output->GoBtn1Click());
    EXPECT_EQ(prompter.printDialogs, 1);
    EXPECT_EQ(output->printer().docName(), QStringLiteral("Pixo-Rahmler Dokument"));
    const QByteArray bytes = readAll(pdf);
    EXPECT_EQ(pdfPageCount(bytes), 2);       // page 2 is an empty sheet
    EXPECT_EQ(pdfImageCount(bytes), 1);      // the page-3 picture never reached paper
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(PrintTest, CancelledDialogPrintsNothingAndAFailedFileIsReported) {
    place(addPicture(10, 10, kRedBgr), 1, 0, 0, 1, 1);
    EXPECT_FALSE(output->GoBtn1Click());  // no scripted answer: cancelled
    EXPECT_TRUE(QDir(scratch.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(prompter.shown.empty());

    const QString bad = scratch.filePath(QStringLiteral("missing/folder/album.pdf"));
    prompter.answerPrint(printToPdf(bad));
    EXPECT_FALSE(output->GoBtn1Click());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, QStringLiteral("Fehler"));
    EXPECT_TRUE(prompter.shown[0].text.contains(QStringLiteral("nicht ausgeführt")));
    EXPECT_FALSE(QFileInfo::exists(bad));
}

TEST_F(PrintTest, CaptionHeightFollowsThePrinterResolution) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(11);
    pr::PageRenderOptions screen;
    screen.zoom = 25;
    screen.showGrid = true;
    screen.selected = 0;
    const pr::PageRenderOptions printer = pr::PagePrinter::printerOptions(screen, 600);
    EXPECT_EQ(printer.zoom, 100);
    EXPECT_EQ(printer.ppi, 600);
    EXPECT_FALSE(printer.showGrid);
    EXPECT_EQ(printer.selected, -1);
    // trunc(11 x 600 / 72) = 91, and a font too small for one pixel still gets one.
    EXPECT_EQ(pr::PageRenderer::captionPixelSize(font, printer.zoom, printer.ppi), 91);
    font.setPointSizeF(0.1);
    EXPECT_EQ(pr::PageRenderer::captionPixelSize(font, 100, 300), 1);
}

TEST_F(ExportTest, PageAtTheChosenDpiHasThePagesSizeAndThePlacementsPixels) {
    // Blue picture with a green caption background, stretched into 2 x 1 inches at (1, 1).
    const int32_t key = addPicture(50, 20, 0x00ff0000);
    album.Pictures[0].Comment = "Urlaub";
    place(key, 1, 1, 1, 2, 1);
    layout->SverhCheck->setChecked(false);
    layout->BkColBox->setColor(QColor(0, 255, 0));
    const QString path = scratch.filePath(QStringLiteral("seite.png"));
    prompter.answerSaveFile(path);
    ASSERT_EQ(output->BitDPIED->value(), 150);

    ASSERT_TRUE(output->SaveBitBtnClick());
    QImage image(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1200, 1650));  // 8 x 11 inches at 150 dpi
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 150, 0.5);
    image = image.convertToFormat(QImage::Format_RGB32);

    // Frame (150, 150, 300, 150): blue inside, white just outside each edge.
    EXPECT_EQ(image.pixel(150, 150), 0xff0000ffu);
    EXPECT_EQ(image.pixel(449, 180), 0xff0000ffu);
    EXPECT_EQ(image.pixel(149, 150), 0xffffffffu);
    EXPECT_EQ(image.pixel(450, 150), 0xffffffffu);
    EXPECT_EQ(image.pixel(300, 149), 0xffffffffu);
    EXPECT_EQ(image.pixel(300, 300), 0xffffffffu);

    // The caption's background: rows of the font's height ending at the picture's foot, the font
    // trunc(11 pt x 150 / 72) = 22 pixels.
    QFont font = layout->captionFont();
    font.setPixelSize(22);
    const int textHeight = QFontMetrics(font, &image).height();
    int first = -1, last = -1;
    for (int y = 150; y < 300; ++y)
        for (int x = 150; x < 450; ++x)
            if (image.pixel(x, y) == 0xff00ff00u) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    EXPECT_EQ(last, 299);
    EXPECT_EQ(last - first + 1, textHeight);

    // The same page as the renderer draws it at that resolution.
    pr::PageRenderOptions options = layout->renderOptions();
    options.page = 1;
    const QImage direct =
        pr::PageExport::renderPage(album, options, layout->printerPage(), 150);
    EXPECT_EQ(direct.convertToFormat(QImage::Format_RGB32), image);
}

TEST_F(ExportTest, FormatFollowsTheExtension) {
    place(addPicture(20, 20, kRedBgr), 1, 0.5, 0.5, 1, 1);
    output->BitDPIED->setValue(30);
    struct Case {
        const char* name;
        QByteArray format;
    } cases[] = {{"a.png", "png"}, {"b.JPG", "jpeg"}, {"c.jpeg", "jpeg"}, {"d.tif", "tiff"},
                 {"e.tiff", "tiff"}, {"f.bmp", "bmp"}, {"ohne_endung", "png"}};
    for (const Case& c : cases) {
        const QString path = scratch.filePath(QLatin1String(c.name));
        prompter.answerSaveFile(path);
        ASSERT_TRUE(output->SaveBitBtnClick()) << c.name;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.name;
        const QByteArray head = file.read(4);
        if (c.format == "png") {
            EXPECT_TRUE(head.startsWith("\x89PNG")) << c.name;
        }
        if (c.format == "jpeg") {
            EXPECT_TRUE(head.startsWith("\xff\xd8")) << c.name;
        }
        if (c.format == "bmp") {
            EXPECT_TRUE(head.startsWith("BM")) << c.name;
        }
        if (c.format == "tiff") {
            EXPECT_TRUE(head == QByteArray("II*\0", 4)) << c.name;
        }
        if (c.format != "tiff") {
            QImage back(path, c.format.constData());
            EXPECT_EQ(back.size(), QSize(240, 330)) << c.name;
        }
    }
    EXPECT_TRUE(prompter.shown.empty());

    const QString pdf = scratch.filePath(QStringLiteral("seite.pdf"));
    prompter.answerSaveFile(pdf);
    ASSERT_TRUE(output->SaveBitBtnClick());
    const QByteArray bytes = readAll(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(pdfPageCount(bytes), 1);
    EXPECT_EQ(pdfImageCount(bytes), 1);
}

TEST_F(ExportTest, FailuresAreReportedAndLeaveNoFile) {
    // A folder that cannot exist (its "parent" is a file): nothing appears, the message is German.
    const QString blocker = scratch.filePath(QStringLiteral("datei"));
    {
        QFile f(blocker);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString path = blocker + QStringLiteral("/seite.png");
    prompter.answerSaveFile(path);
    EXPECT_FALSE(output->SaveBitBtnClick());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"datei"});
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, QStringLiteral("Fehler"));
    EXPECT_TRUE(prompter.shown[0].text.contains(QStringLiteral("konnte nicht gespeichert")));

    // An extension of no supported format is refused instead of being filled with PNG bytes.
    prompter.shown.clear();
    const QString gif = scratch.filePath(QStringLiteral("seite.gif"));
    prompter.answerSaveFile(gif);
    EXPECT_FALSE(output->SaveBitBtnClick());
    EXPECT_FALSE(QFileInfo::exists(gif));
    ASSERT_EQ(prompter.shown.size(), 1u);

    // Cancelling the save dialog does nothing at all.
    prompter.shown.clear();
    EXPECT_FALSE(output->SaveBitBtnClick());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ExportTest, AFailedWriteKeepsTheOldFile) {
    const QString path = scratch.filePath(QStringLiteral("alt.png"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    // Far too many pixels for any machine: the page is refused before the old file is touched.
    pr::PageRenderOptions options = layout->renderOptions();
    const pr::ExportResult r = pr::PageExport::exportPage(
        path, album, options, pr::PrinterPage{2000000000, 2000000000, 1, 1}, 600);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_EQ(readAll(path), QByteArray("old"));
}
