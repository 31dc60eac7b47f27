#include <gtest/gtest.h>

#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "TestPictures.h"
#include "render/QPainterDibTarget.h"

using namespace layouttest;

namespace {

// Draws the whole picture scaled by `scale` at (1, 1) of a white canvas and checks every pixel:
// each source pixel becomes a scale x scale block, and the border stays white.
void expectBlocks(const pr::ImageBuffer& picture, const std::vector<std::vector<QRgb>>& seen,
                  int scale, int displayBits) {
    const int w = picture.width(), h = picture.height();
    QImage out = canvas(w * scale + 2, h * scale + 2);
    {
        QPainter painter(&out);
        pr::drawDib(painter, 1, 1, w * scale, h * scale, picture, 0, 0, w, h, true, false, {}, {},
                    displayBits);
    }
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const bool inside = x >= 1 && y >= 1 && x <= w * scale && y <= h * scale;
            const QRgb want = inside ? seen[(y - 1) / scale][(x - 1) / scale] : W;
            ASSERT_EQ(at(out, x, y), want) << "pixel " << x << "," << y << " scale " << scale;
        }
}

TEST(QPainterDibTarget, EveryDepthDrawsUprightAndExactAtEveryScale) {
    std::vector<QRgb> sixteenColours(16, K);
    sixteenColours[0] = R;
    sixteenColours[1] = G;
    sixteenColours[2] = B;
    sixteenColours[15] = C;
    const std::vector<std::vector<QRgb>> seen24 = {{R, G, B}, {Y, K, W}};
    const struct {
        const char* name;
        pr::ImageBuffer picture;
        std::vector<std::vector<QRgb>> seen;
        int displayBits;
    } cases[] = {
        {"24 bit", picture24(seen24), seen24, 24},
        // Colours of the halftone palette's cube come through the palette path unchanged.
        {"24 bit on a palette screen", picture24(seen24), seen24, 8},
        {"8 bit",
         pictureIndexed(8, {R, G, B, Y}, {{0, 1, 3}, {2, 3, 0}}),
         {{R, G, Y}, {B, Y, R}},
         24},
        {"4 bit",
         pictureIndexed(4, sixteenColours, {{0, 1, 2}, {15, 2, 0}, {1, 15, 1}}),
         {{R, G, B}, {C, B, R}, {G, C, G}},
         24},
        {"1 bit",
         pictureIndexed(1, {M, Y}, {{0, 1, 1, 0, 0, 0, 0, 1, 1}, {1, 0, 0, 0, 1, 1, 1, 1, 0}}),
         {{M, Y, Y, M, M, M, M, Y, Y}, {Y, M, M, M, Y, Y, Y, Y, M}},
         24},
    };
    for (const auto& c : cases)
        for (int scale : {1, 2, 3}) {
            SCOPED_TRACE(c.name);
            expectBlocks(c.picture, c.seen, scale, c.displayBits);
        }
}

TEST(QPainterDibTarget, SourceRectangleCountsRowsFromTheBottom) {
    // 4 x 4 with sixteen distinct palette entries; the source (1, 1, 2, 2) is seen rows 1 and 2.
    std::vector<QRgb> table;
    std::vector<std::vector<int>> rows(4, std::vector<int>(4));
    for (int i = 0; i < 16; ++i) {
        table.push_back(qRgb(i * 16, 255 - i * 16, i * 8));
        rows[i / 4][i % 4] = i;
    }
    for (int bits : {4, 8}) {
        QImage out = canvas(2, 2);
        {
            QPainter painter(&out);
            pr::drawDib(painter, 0, 0, 2, 2, pictureIndexed(bits, table, rows), 1, 1, 2, 2, true,
                        false, {}, {}, 24);
        }
        EXPECT_EQ(at(out, 0, 0), table[5]) << bits;
        EXPECT_EQ(at(out, 1, 0), table[6]) << bits;
        EXPECT_EQ(at(out, 0, 1), table[9]) << bits;
        EXPECT_EQ(at(out, 1, 1), table[10]) << bits;
    }
}

TEST(QPainterDibTarget, StretchDrawsOnlyThePartOfTheSourceInsideThePicture) {
    const pr::ImageBuffer picture = picture24({{R, G}, {B, Y}});
    QImage out = canvas(6, 6, M);
    {
        QPainter painter(&out);
        pr::QPainterDibTarget target(painter, 24);
        // One pixel past the right and the top edge, at twice the size.
        EXPECT_TRUE(target.stretchDIBits({0, 0, 6, 6}, {0, 0, 3, 3}, picture, pr::kSrcCopy));
    }
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const QRgb want = (x >= 4 || y < 2) ? M : (y < 4 ? (x < 2 ? R : G) : (x < 2 ? B : Y));
            ASSERT_EQ(at(out, x, y), want) << x << "," << y;
        }
}

// A paint device that records the image calls reaching its engine with the transform in force.
// devType() decides whether it counts as a printer.
class RecordingEngine : public QPaintEngine {
public:
    // All features, so that QPainter hands transforms to the engine instead of emulating them.
    RecordingEngine() : QPaintEngine(AllFeatures) {}
    struct Call {
        QRectF rect, source;
        QSize imageSize;
        const uchar* bits;
        QTransform transform;
    };
    std::vector<Call> calls;
    QTransform transform;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & DirtyTransform) transform = state.transform();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                   Qt::ImageConversionFlags) override {
        calls.push_back({r, sr, image.size(), image.constBits(), transform});
    }
    Type type() const override { return User; }
};

class RecordingDevice : public QPaintDevice {
public:
    explicit RecordingDevice(int type) : type_(type) {}
    int devType() const override { return type_; }
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable RecordingEngine engine;

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
            case PdmWidth:
            case PdmHeight:
                return 10000;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 600;
            case PdmDepth:
                return 32;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return int(QPaintDevice::devicePixelRatioFScale());
            default:
                return 1000;
        }
    }

private:
    int type_;
};

// Draws with a target of the device's kind and returns the device's image calls.
std::vector<RecordingEngine::Call> drawOn(int devType, bool printer, const pr::ImageBuffer& picture,
                                          QRect dest, QRect source) {
    RecordingDevice device(devType);
    {
        QPainter painter(&device);
        EXPECT_EQ(pr::QPainterDibTarget(painter, 24).isPrinter(), printer);
        pr::drawDib(painter, dest.x(), dest.y(), dest.width(), dest.height(), picture, source.x(),
                    source.y(), source.width(), source.height(), true);
    }
    return device.engine.calls;
}

TEST(QPainterDibTarget, PrinterGetsTheClippedSourceOnceAndScreenOneBlockOfItsSize) {
    pr::ImageBuffer picture, indexed;
    ASSERT_TRUE(pr::newdib(picture, 400, 300, 24));
    ASSERT_TRUE(pr::newdib(indexed, 64, 32, 8));
    // Middle 300 columns of the picture into 3000 x 3000 printer pixels.
    auto calls =
        drawOn(QInternal::Printer, true, picture, {100, 200, 3000, 3000}, {50, 0, 300, 300});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].source, QRectF(50, 0, 300, 300));
    // The picture's own rows, not a copy and not a screen-sized rendition.
    EXPECT_EQ(calls[0].imageSize, QSize(400, 300));
    EXPECT_EQ(calls[0].bits, picture.bits);
    EXPECT_EQ(calls[0].transform.mapRect(calls[0].rect), QRectF(100, 200, 3000, 3000));
    // Mirrored: the image's first row (the bottom row as seen) lands at the bottom.
    EXPECT_LT(calls[0].transform.m22(), 0);

    // A palette picture keeps its pixels shared too, although its colour table is set.
    calls = drawOn(QInternal::Printer, true, indexed, {0, 0, 640, 320}, {0, 0, 64, 32});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].bits, indexed.bits);

    ASSERT_TRUE(pr::newdib(picture, 4000, 3000, 24));
    calls = drawOn(QInternal::UnknownDevice, false, picture, {0, 0, 1000, 667}, {0, 0, 4000, 3000});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].imageSize, QSize(1000, 667));
}

TEST(QPainterDibTarget, PdfWriterCountsAsPrinter) {
    QTemporaryDir dir;
    QPdfWriter writer(dir.filePath(QStringLiteral("a.pdf")));
    QPainter pdf(&writer);
    EXPECT_TRUE(pr::QPainterDibTarget(pdf).isPrinter());
    pdf.end();
    QImage image = canvas(4, 4);
    QPainter onImage(&image);
    EXPECT_FALSE(pr::QPainterDibTarget(onImage).isPrinter());
}

}  // namespace
