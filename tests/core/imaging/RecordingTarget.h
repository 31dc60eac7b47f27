#pragma once
// A DibTarget that records every call in order and can refuse any operation on purpose.
// Pictures handed to it are kept as copies: ImageBuffer copies share ownership of the pixels,
// so they stay readable after DrawDib has let go of its own share.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/imaging/DibTarget.h"
#include "core/imaging/ImageBuffer.h"

namespace drawtest {

using namespace pr;

inline std::string rectText(const DibRect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
}

class RecordingTarget : public DibTarget {
public:
    bool printer = false;
    int displayBits = 24;
    uint32_t caps = kRasterCapsDibToDevice;
    bool failStretchDIBits = false, failSetDIBits = false, failCreateBitmap = false,
         failSetBits = false, failStretchBlt = false;

    struct Stretch {
        DibRect dest, source;
        ImageBuffer image;
    };
    struct Block {
        int x, y;
        ImageBuffer rows;
    };
    std::vector<std::string> log;
    std::vector<Stretch> stretches;
    std::vector<Block> blocks;
    const PaletteHandle defaultPalette = std::make_shared<LogPalette>();
    PaletteHandle current = defaultPalette;  // the palette selected in the device now

    RecordingTarget() { name(defaultPalette, "default"); }
    // Names a palette handle for the log ("select <name>").
    void name(const PaletteHandle& palette, const std::string& text) {
        names_[palette.get()] = text;
    }

    bool isPrinter() const override { return printer; }
    int displayBitsPerPixel() const override { return displayBits; }
    uint32_t rasterCaps() const override { return caps; }
    void setStretchMode(int mode) override { log.push_back("stretchMode " + std::to_string(mode)); }
    PaletteHandle selectPalette(const PaletteHandle& palette) override {
        auto it = palette ? names_.find(palette.get()) : names_.end();
        log.push_back("select " + (!palette             ? "none"
                                   : it == names_.end() ? "unnamed"
                                                        : it->second));
        return std::exchange(current, palette);
    }
    void realizePalette() override { log.push_back("realize"); }

    bool stretchDIBits(const DibRect& dest, const DibRect& source, const ImageBuffer& image,
                       uint32_t) override {
        if (!record("stretchDIBits " + rectText(dest) + " <- " + rectText(source),
                    failStretchDIBits))
            return false;
        stretches.push_back(Stretch{dest, source, image});
        return true;
    }
    bool setDIBitsToDevice(int x, int y, const ImageBuffer& rows) override {
        if (!record("setDIBits " + rectText(DibRect{x, y, rows.width(), rows.height()}),
                    failSetDIBits))
            return false;
        blocks.push_back(Block{x, y, rows});
        return true;
    }
    std::unique_ptr<DeviceBitmap> createCompatibleBitmap(int width, int height) override {
        if (!record("createBitmap " + std::to_string(width) + "x" + std::to_string(height),
                    failCreateBitmap))
            return nullptr;
        return std::make_unique<Bitmap>(*this);
    }

private:
    // Logs a call, marked when it fails on purpose; true when it succeeds.
    bool record(const std::string& call, bool fails) {
        log.push_back(call + (fails ? " fails" : ""));
        return !fails;
    }
    class Bitmap : public DeviceBitmap {
    public:
        explicit Bitmap(RecordingTarget& t) : t_(t) {}
        ~Bitmap() override { t_.log.push_back("releaseBitmap"); }
        bool setBits(const ImageBuffer&) override { return t_.record("setBits", t_.failSetBits); }
        bool stretchBlt(const DibRect& dest, const DibRect& source, uint32_t rop) override {
            return t_.record("stretchBlt " + rectText(dest) + " <- " + rectText(source) +
                                 (rop == kSrcCopy ? "" : " rop?"),
                             t_.failStretchBlt);
        }

    private:
        RecordingTarget& t_;
    };
    std::map<const LogPalette*, std::string> names_;
};

// A 24-bit picture whose pixel at (x, y from the top) is colour(x, y) as 0x00BBGGRR.
inline ImageBuffer make24(int width, int height, const std::function<uint32_t(int, int)>& colour) {
    ImageBuffer b;
    newdib(b, width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) setpixel(b, x, y, colour(x, y));
    return b;
}

// Every pixel of a picture, rows from the top, as getpixel gives them.
inline std::vector<std::vector<uint32_t>> pixels(const ImageBuffer& b) {
    std::vector<std::vector<uint32_t>> out(b.height(), std::vector<uint32_t>(b.width()));
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) out[y][x] = getpixel(b, x, y);
    return out;
}

}  // namespace drawtest
