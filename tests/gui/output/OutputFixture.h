#pragma once
// Shared by the tests of this folder: an album with a layout tab and an output tab on plain
// widgets (no main window), the page fixed to 8 x 11 inches at 600 dpi, dialogs scripted.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "ScriptedPrompter.h"
#include "core/album/Album.h"
#include "gui/layout/ColorComboBox.h"
#include "gui/layout/TLayoutTab.h"
#include "gui/output/PrintPreview.h"
#include "gui/output/TOutputTab.h"
#include "gui/toolkit/StoredValues.h"

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Page objects, not the page tree ("/Type /Pages").
inline int pdfPages(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return int(QString::fromLatin1(pdf).count(page));
}

inline int pdfImages(const QByteArray& pdf) {
    return int(pdf.count("/Subtype /Image"));
}

inline void placeOn(pr::Album& album, int32_t key, int page, double left, double top, double width,
                    double height, bool crop = false) {
    *reinterpret_cast<pr::Placement*>(album.Placements.Append()) =
        pr::Placement{left, top, width, height, page, key, uint8_t(crop ? 1 : 0), {}};
}

// The rows and columns inside `frame` that have exactly `colour`: a caption's background.
inline QRect extentOf(const QImage& image, const QRect& frame, QRgb colour) {
    QRect found;
    for (int y = frame.top(); y <= frame.bottom(); ++y)
        for (int x = frame.left(); x <= frame.right(); ++x)
            if (image.pixel(x, y) == colour) found |= QRect(x, y, 1, 1);
    return found;
}

class OutputFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        auto settings = pr::StoredValues::openSettings();
        settings->clear();
        settings->sync();
        layoutArea = std::make_unique<QWidget>();
        outputArea = std::make_unique<QWidget>();
        layout = new pr::TLayoutTab(album, prompter, layoutArea.get());
        layout->setPrinterPageSource([] { return pr::PrinterPage{4800, 6600, 600, 600}; });
        layout->setScreenPpi(96);
        output = new pr::TOutputTab(album, prompter, *layout, outputArea.get());
        output->PaintBox3->setScreenDpi(96, 96);
    }
    void TearDown() override {
        outputArea.reset();
        layoutArea.reset();
        album.DelallPics();
    }

    // A 24-bit picture added to the album, each pixel's colour (0x00BBGGRR) from `colour`.
    int32_t addPicture(int w, int h, std::function<uint32_t(int, int)> colour) {
        pr::ImageBuffer image;
        EXPECT_TRUE(pr::newdib(image, w, h, 24));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) pr::setpixel(image, x, y, colour(x, y));
        return album.addPicture("bild.bmp", image);
    }
    int32_t addPicture(int w, int h, uint32_t bgr) {
        return addPicture(w, h, [bgr](int, int) { return bgr; });
    }
    void place(int32_t key, int page, double left, double top, double width, double height,
               bool crop = false) {
        placeOn(album, key, page, left, top, width, height, crop);
    }

    static testsupport::ScriptedPrompter::PrinterAnswer printToPdf(const QString& path) {
        return [path](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return true;
        };
    }

    QTemporaryDir scratch;
    pr::Album album;
    testsupport::ScriptedPrompter prompter;
    std::unique_ptr<QWidget> layoutArea;
    std::unique_ptr<QWidget> outputArea;
    pr::TLayoutTab* layout = nullptr;
    pr::TOutputTab* output = nullptr;
};
