#include <QImage>
#include <QTemporaryDir>

#include "EditingFixture.h"
#include "core/album/PictureFactsCache.h"
#include "render/PagePrinter.h"
#include "render/QualityWarning.h"

using namespace editingtest;

namespace {

class PrintResolutionTest : public EditingTest {
protected:
    // A real 100 x 75 file, so the resolution is counted from what the file holds.
    void addFilePicture() {
        path = dir.filePath(QStringLiteral("klein.bmp")).toStdString();
        QImage image(100, 75, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        ASSERT_TRUE(image.save(QString::fromStdString(path)));
        pr::ImageBuffer b;
        pr::newdib(b, 100, 75, 24);
        album.addPicture(path, b);
    }
    QRgb triangleCentre(const QImage& page, int i) {
        const pr::Placement& p = at(uint32_t(i));
        const QRect r =
            pr::QualityWarning::triangleRect(int(p.Left * 96), int(p.Top * 96), int(p.Width * 96));
        return page.pixel(r.center().x(), r.bottom() - 4);
    }

    QTemporaryDir dir;
    std::string path;
};

TEST_F(PrintResolutionTest, StatusShowsTheFilesResolutionAlsoAfterEnlarging) {
    addFilePicture();
    pr::PictureFactsCache::shared().clear();
    place(0, 1, 1, 4, 3);  // 100 pixels over 4 inches
    tab.EnhanceQualCheck->setChecked(true);
    tab.MinQualEd->setValue(72);
    editor().changequal(0);
    ASSERT_EQ(album.Pictures[0].width(), 288);  // enlarged to the minimum
    editor().SelectPlacement(0);
    EXPECT_TRUE(status.endsWith(QStringLiteral("mm ) 25 dpi"))) << status.toStdString();
}

TEST_F(PrintResolutionTest, CroppingChangesTheResolutionShownAtOnce) {
    addFilePicture();
    pr::PictureFactsCache::shared().clear();
    place(0, 1, 1, 4, 1);  // fitted whole: 75 rows over 1 inch, 100 columns over 1.33 inches
    editor().SelectPlacement(0);
    EXPECT_TRUE(status.endsWith(QStringLiteral(" 75 dpi"))) << status.toStdString();
    tab.CutCheck->click();  // cropped: 100 columns over the full 4 inches
    EXPECT_TRUE(status.endsWith(QStringLiteral(" 25 dpi"))) << status.toStdString();
}

TEST_F(PrintResolutionTest, WarningTriangleOnScreenOnlyBelowTheMinimum) {
    addFilePicture();
    pr::PictureFactsCache::shared().clear();
    place(0, 1, 1, 4, 3);     // 25 dpi
    place(0, 1, 5, 1, 0.75);  // 100 dpi
    tab.MinQualEd->setValue(72);
    QImage page = tab.PaintBox2->renderToImage();
    EXPECT_EQ(triangleCentre(page, 0), qRgb(255, 200, 0));
    EXPECT_NE(triangleCentre(page, 1), qRgb(255, 200, 0));

    // The hint over the warned frame, none over the good one.
    double dpi = 0;
    const pr::PageRenderOptions options = tab.renderOptions();
    EXPECT_EQ(pr::QualityWarning::warnedPlacementAt(album, options, tab.PaintBox2->size(),
                                                    QPoint(150, 150),
                                                    pr::PictureFactsCache::shared(), dpi),
              0);
    EXPECT_EQ(pr::QualityWarning::hintText(dpi).section(QLatin1Char('\n'), 0, 0),
              QString::fromUtf8("Auflösung für den Druck zu gering (25 dpi)"));
    EXPECT_EQ(pr::QualityWarning::warnedPlacementAt(album, options, tab.PaintBox2->size(),
                                                    QPoint(130, 500),
                                                    pr::PictureFactsCache::shared(), dpi),
              -1);

    tab.MinQualEd->setValue(20);  // now good enough
    page = tab.PaintBox2->renderToImage();
    EXPECT_NE(triangleCentre(page, 0), qRgb(255, 200, 0));

    // Printing never shows it.
    EXPECT_EQ(pr::PagePrinter::printerOptions(options, 600).minimumDpi, 0);
}

}  // namespace
