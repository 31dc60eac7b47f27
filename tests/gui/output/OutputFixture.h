#pragma once
// Shared by the tests of this folder: an album with a layout tab and an output tab on plain
// widgets (no main window), the page fixed to 8 x 11 inches at 600 dpi, dialogs scripted.

#include <gtest/gtest.h>

#include <QFile>
#include <QCheckBox>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "ScriptedPrompter.h"
#include "album/Album.h"
#include "layout/ColorComboBox.h"
#include "layout/TLayoutTab.h"
#include "output/PrintPreview.h"
#include "output/TOutputTab.h"
#include "toolkit/StoredValues.h"

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

    // A solid 24-bit picture (colour 0x00BBGGRR) added to the album; returns its key.
    int32_t addPicture(int w, int h, uint32_t bgr, const std::string& name = "bild.bmp") {
        pr::ImageBuffer image;
        EXPECT_TRUE(pr::newdib(image, w, h, 24));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) pr::setpixel(image, x, y, bgr);
        return album.addPicture(name, image);
    }

    void place(int32_t key, int page, double left, double top, double width, double height,
               bool crop = false) {
        auto* p = reinterpret_cast<pr::Placement*>(album.Placements.Append());
        ASSERT_NE(p, nullptr);
        *p = pr::Placement{};
        p->Left = left;
        p->Top = top;
        p->Width = width;
        p->Height = height;
        p->Page = page;
        p->ImageKey = key;
        p->FitCrop = crop ? 1 : 0;
    }

    static testsupport::ScriptedPrompter::PrinterAnswer printToPdf(const QString& path) {
        return [path](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return true;
        };
    }

    static QByteArray readAll(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir scratch;
    pr::Album album;
    testsupport::ScriptedPrompter prompter;
    std::unique_ptr<QWidget> layoutArea;
    std::unique_ptr<QWidget> outputArea;
    pr::TLayoutTab* layout = nullptr;
    pr::TOutputTab* output = nullptr;
};
