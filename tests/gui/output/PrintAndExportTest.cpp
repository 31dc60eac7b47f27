// Printing every page to a PDF through the scripted print dialog, and "Als Bild speichern...".

#include <tiffio.h>

#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QSpinBox>
#include <algorithm>

#include "OutputFixture.h"
#include "gui/output/OutputFileNames.h"
#include "render/PageExport.h"
#include "render/PagePrinter.h"

using PrintTest = OutputFixture;
using ExportTest = OutputFixture;

namespace {

// The ICC profile of a TIFF file's first directory (tag 34675), or nothing.
QByteArray tiffProfile(const QString& path) {
    TIFF* tif = TIFFOpen(QFile::encodeName(path).constData(), "r");
    if (!tif) return {};
    uint32_t length = 0;
    const char* data = nullptr;
    QByteArray profile;
    if (TIFFGetField(tif, TIFFTAG_ICCPROFILE, &length, &data) && data)
        profile = QByteArray(data, static_cast<int>(length));
    TIFFClose(tif);
    return profile;
}

}  // namespace

TEST_F(PrintTest, EveryPageUpToTheCountEmptyOnesIncludedOthersOnlyWhenAskedFor) {
    place(addPicture(40, 30, 0x000000ff), 1, 1, 1, 2, 1.5);
    place(addPicture(40, 30, 0x00ff0000), 3, 1, 1, 2, 1.5);  // above the page count
    place(0, 5000, 1, 1, 1, 1);                              // beyond any page field
    layout->PageCountED->setValue(2);
    const struct {
        pr::Prompter::Button answer;
        int pages, images;                          // 0 pages: nothing printed
    } cases[] = {{pr::Prompter::Button::No, 2, 1},  // page 2 is an empty sheet
                 {pr::Prompter::Button::Yes, 3, 2},
                 {pr::Prompter::Button::Cancel, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.answer));
        prompter.shown.clear();
        prompter.printDialogs = 0;
        const QString pdf = scratch.filePath(QStringLiteral("album%1.pdf").arg(int(c.answer)));
        prompter.answer(c.answer);
        prompter.answerPrint(printToPdf(pdf));
        EXPECT_EQ(output->GoBtn1Click(), c.pages > 0);
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].text,
                  "Auf Seiten nach Seite 2 liegen noch Bilder. Bis Seite 3 drucken?");
        EXPECT_EQ(prompter.shown[0].buttons, pr::Prompter::Buttons(pr::Prompter::Button::Yes) |
                                                 pr::Prompter::Button::No |
                                                 pr::Prompter::Button::Cancel);
        EXPECT_EQ(prompter.printDialogs, c.pages > 0 ? 1 : 0);
        const QByteArray bytes = readAll(pdf);
        EXPECT_EQ(pdfPages(bytes), c.pages);
        EXPECT_EQ(pdfImages(bytes), c.images);
        if (c.pages > 0) {
            EXPECT_EQ(output->printer().docName(), QStringLiteral("Pixo-Rahmler Dokument"));
        }
    }
    EXPECT_EQ(layout->PageCountED->value(), 2);  // printing never changes the page count
}

TEST_F(PrintTest, CancelledDialogPrintsNothingAndAFailedFileIsReported) {
    place(addPicture(10, 10, 0x000000ff), 1, 0, 0, 1, 1);
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

TEST_F(PrintTest, PrinterPagesAreDrawnAtFullSizeWithoutGridOrSelection) {
    pr::PageRenderOptions screen;
    screen.zoom = 25;
    screen.showGrid = true;
    screen.selected = 0;
    const pr::PageRenderOptions printer = pr::PagePrinter::printerOptions(screen, 600);
    EXPECT_EQ(printer.zoom, 100);
    EXPECT_EQ(printer.ppi, 600);
    EXPECT_FALSE(printer.showGrid);
    EXPECT_EQ(printer.selected, -1);
}

TEST_F(ExportTest, PageAtTheChosenDpiHasThePagesSizeAndThePlacementsPixels) {
    // Blue picture with a green caption background, stretched into 2 x 1 inches at (1, 1).
    place(addPicture(50, 20, 0x00ff0000), 1, 1, 1, 2, 1);
    album.Pictures[0].Comment = "Urlaub";
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
    for (QPoint outside : {QPoint(149, 150), QPoint(450, 150), QPoint(300, 149), QPoint(300, 300)})
        EXPECT_EQ(image.pixel(outside), 0xffffffffu) << outside.x() << "," << outside.y();

    // The caption's background: rows of the font's height ending at the picture's foot, the font
    // trunc(11 pt x 150 / 72) = 22 pixels.
    QFont font = layout->captionFont();
    font.setPixelSize(22);
    const QRect band = extentOf(image, QRect(150, 150, 300, 150), 0xff00ff00u);
    EXPECT_EQ(band.bottom(), 299);
    EXPECT_EQ(band.height(), QFontMetrics(font, &image).height());

    // The same page as the renderer draws it at that resolution.
    pr::PageRenderOptions options = layout->renderOptions();
    options.page = 1;
    EXPECT_EQ(pr::PageExport::renderPage(album, options, layout->printerPage(), 150)
                  .convertToFormat(QImage::Format_RGB32),
              image);
}

TEST_F(ExportTest, FormatFollowsTheExtensionOrTheChosenFilter) {
    place(addPicture(20, 20, 0x000000ff), 1, 0.5, 0.5, 1, 1);
    output->BitDPIED->setValue(30);
    const QStringList filters = pr::OutputFileNames::exportFilters();
    const struct {
        const char* typed;
        const char* written;
        int filter;  // index into the dialog's filters
        QByteArray magic;
        const char* format;  // read back to check the size, unless empty
    } cases[] = {{"a.png", "a.png", 0, "\x89PNG", "png"},
                 {"b.JPG", "b.JPG", 0, "\xff\xd8", "jpeg"},
                 {"c.jpeg", "c.jpeg", 1, "\xff\xd8", "jpeg"},
                 {"d.tif", "d.tif", 4, QByteArray("II*\0", 4), ""},
                 {"e.tiff", "e.tiff", 2, QByteArray("II*\0", 4), ""},
                 {"f.bmp", "f.bmp", 3, "BM", "bmp"},
                 {"ohne", "ohne.png", 0, "\x89PNG", "png"},
                 {"jpeg_ohne", "jpeg_ohne.jpg", 1, "\xff\xd8", "jpeg"},
                 {"tiff_ohne", "tiff_ohne.tif", 2, QByteArray("II*\0", 4), ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        prompter.answerSaveFile(scratch.filePath(QLatin1String(c.typed)));
        prompter.answerSaveFilter(filters.at(c.filter));
        ASSERT_TRUE(output->SaveBitBtnClick());
        const QString path = scratch.filePath(QLatin1String(c.written));
        EXPECT_TRUE(readAll(path).startsWith(c.magic));
        if (*c.format) {
            const QImage back(path, c.format);
            EXPECT_EQ(back.size(), QSize(240, 330)) << c.typed;
            // PNG and JPEG say that the page is sRGB; BMP has no place for it.
            if (c.magic != "BM") {
                EXPECT_EQ(back.colorSpace(), QColorSpace::SRgb) << c.typed;
            }
        } else {
            EXPECT_EQ(tiffProfile(path), QColorSpace(QColorSpace::SRgb).iccProfile()) << c.typed;
        }
    }
    EXPECT_TRUE(prompter.shown.empty());

    const QString pdf = scratch.filePath(QStringLiteral("seite.pdf"));
    prompter.answerSaveFile(pdf);
    ASSERT_TRUE(output->SaveBitBtnClick());
    const QByteArray bytes = readAll(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(pdfPages(bytes), 1);
    EXPECT_EQ(pdfImages(bytes), 1);
    EXPECT_TRUE(bytes.contains("/OutputIntents")) << "the pictures are declared sRGB";
}

TEST_F(ExportTest, FailuresAreReportedAndLeaveTheOldFileOrNone) {
    // A folder that cannot exist (its "parent" is a file): nothing appears, the message is German.
    const QString blocker = scratch.filePath(QStringLiteral("datei"));
    {
        QFile f(blocker);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    const QString path = blocker + QStringLiteral("/seite.png");
    prompter.answerSaveFile(path);
    EXPECT_FALSE(output->SaveBitBtnClick());
    EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"datei"});
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, QStringLiteral("Fehler"));
    EXPECT_TRUE(prompter.shown[0].text.contains(QStringLiteral("konnte nicht gespeichert")));

    // An extension of no supported format is refused instead of being filled with PNG bytes.
    const QString gif = scratch.filePath(QStringLiteral("seite.gif"));
    prompter.answerSaveFile(gif);
    EXPECT_FALSE(output->SaveBitBtnClick());
    EXPECT_FALSE(QFileInfo::exists(gif));
    EXPECT_EQ(prompter.shown.size(), 2u);

    // Cancelling the save dialog does nothing at all.
    EXPECT_FALSE(output->SaveBitBtnClick());
    EXPECT_EQ(prompter.shown.size(), 2u);

    // Far too many pixels for any machine: the page is refused before the old file is touched.
    const pr::ExportResult r =
        pr::PageExport::exportPage(blocker, album, layout->renderOptions(),
                                   pr::PrinterPage{2000000000, 2000000000, 1, 1}, 600);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_EQ(readAll(blocker), QByteArray("old"));
}

// "Abbrechen" between two pages: the printing stops there, no PDF is left behind (nor its
// temporary file), an older file of that name stays as it was, and nothing is reported.
TEST_F(PrintTest, StoppingBetweenPagesLeavesNoFileAndKeepsTheOldOne) {
    for (int page = 1; page <= 3; ++page) place(addPicture(40, 30, 0x00ff0000), page, 1, 1, 2, 1.5);
    layout->PageCountED->setValue(3);
    int pagesSent = 0;
    bool shown = false;
    output->setProgress([&](int percent) {
        if (percent > 0) ++pagesSent;
    });
    output->setPrintStop(
        {nullptr, [&](bool visible) { shown = visible; }, [&] { return pagesSent >= 1; }});
    const QString pdf = scratch.filePath(QStringLiteral("album.pdf"));
    for (bool existing : {false, true}) {
        SCOPED_TRACE(existing);
        if (existing) {
            QFile old(pdf);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old");
            prompter.answer(pr::Prompter::Button::Yes);  // replace it
        }
        pagesSent = 0;
        prompter.shown.clear();
        prompter.answerPrint(printToPdf(pdf));
        EXPECT_FALSE(output->GoBtn1Click());
        EXPECT_EQ(pagesSent, 1);
        EXPECT_FALSE(shown);
        EXPECT_FALSE(output->printing());
        EXPECT_EQ(prompter.shown.size(), existing ? 1u : 0u);  // only the question to replace
        EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files),
                  existing ? QStringList{QStringLiteral("album.pdf")} : QStringList());
        if (existing) EXPECT_EQ(readAll(pdf), QByteArray("old"));
    }
    // Not stopped, the same print writes every page.
    output->setPrintStop({});
    prompter.answer(pr::Prompter::Button::Yes);
    prompter.answerPrint(printToPdf(pdf));
    EXPECT_TRUE(output->GoBtn1Click());
    EXPECT_EQ(pdfPages(readAll(pdf)), 3);
}

// One picture placed four times at one size is one image in the PDF, at the device pixels of its
// frame (2 x 1.5 inches at the printer's resolution), however large the picture is; a fifth
// placement of another size is a second image.
TEST_F(PrintTest, APicturePlacedOftenAtOneSizeIsEmbeddedOnceAtItsDevicePixels) {
    const int32_t key = addPicture(1600, 1200, [](int x, int y) { return uint32_t(x ^ y); });
    for (int i = 0; i < 4; ++i) place(key, 1, 0.2 + 2.2 * (i % 2), 0.2 + 2 * (i / 2), 2, 1.5);
    place(key, 1, 0.2, 4.5, 3, 2.25);
    layout->PageCountED->setValue(1);
    const QString pdf = scratch.filePath(QStringLiteral("oft.pdf"));
    prompter.answerPrint(printToPdf(pdf));
    ASSERT_TRUE(output->GoBtn1Click());
    const QByteArray bytes = readAll(pdf);
    EXPECT_EQ(pdfImages(bytes), 2);
    const int dpi = output->printer().resolution();
    QList<int> widths;
    static const QRegularExpression width(QStringLiteral("/Width (\\d+)"));
    for (const QRegularExpressionMatch& m : width.globalMatch(QString::fromLatin1(bytes)))
        widths.append(m.captured(1).toInt());
    std::sort(widths.begin(), widths.end());
    EXPECT_EQ(widths, (QList<int>{2 * dpi, 3 * dpi})) << dpi << " dpi";
}
