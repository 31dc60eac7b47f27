#pragma once
// An album built in code, a record of what the commands did (redraws, progress, messages), and a
// way to press the buttons of a modal dialog while its loop runs.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <vector>

#include "ModalScript.h"
#include "ScriptedPrompter.h"
#include "core/album/Album.h"
#include "gui/imaging/PictureCommands.h"

namespace imagingtest {

// Every byte a picture shows: size, pixel rows, colour table and logical palette.
inline std::vector<uint8_t> bytesOf(const pr::ImageBuffer& b) {
    std::vector<uint8_t> v{uint8_t(b.width()), uint8_t(b.height()), uint8_t(b.bitCount())};
    auto add = [&v](const void* p, size_t n) {
        v.insert(v.end(), static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + n);
    };
    add(b.bits, b.imageBytes());
    add(b.info->colors, sizeof(pr::RgbQuad) * size_t(b.tableSize()));
    if (b.hasPalette) add(&b.palette, sizeof b.palette);
    return v;
}

// 24 bits with no two neighbours alike, or a palette picture with a colourful table.
inline pr::ImageBuffer picture(int bits, int w, int h) {
    pr::ImageBuffer b;
    pr::newdib(b, w, h, bits);
    const int n = bits < 24 ? 1 << bits : 0;
    for (int i = 0; i < n; ++i)
        b.info->colors[i] = {uint8_t(i * 97), uint8_t(200 - i * 150 / (n - 1)),
                             uint8_t(i * 255 / (n - 1)), 0};
    pr::syncPalette(b);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pr::setpixel(b, x, y,
                         n ? uint32_t((x + y) % n)
                           : uint32_t(((x * 37 + y * 11) & 0xFF) | ((x * 5 + y * 71) & 0xFF) << 8 |
                                      ((x * y + 90) & 0xFF) << 16));
    return b;
}

class ImagingTest : public ::testing::Test {
protected:
    ~ImagingTest() override { album.DelallPics(); }

    // A picture on `frames` placements, the first of them selected.
    int32_t placed(const pr::ImageBuffer& image, int frames = 1) {
        const int32_t key = album.addPicture("bild.bmp", image);
        album.SelectedPlacement = int32_t(album.placementCount());
        for (int i = 0; i < frames; ++i)
            *reinterpret_cast<pr::Placement*>(album.Placements.Append()) =
                pr::Placement{0.5, 0.5, 2, 1.5, 1, key, 0, {}};
        return key;
    }
    // The whole picture as the album shows it now (a preview included).
    pr::ImageBuffer image(int32_t key) {
        pr::ImageBuffer shown;
        if (!album.getnumdib(key, shown)) throw std::logic_error("no such key");
        return shown;
    }
    pr::PictureCommandContext context() {
        return {album, prompter, nullptr,
                [this] {
                    ++redraws;
                    if (onRedraw) onRedraw();
                },
                [this](int percent) { progress.push_back(percent); }};
    }

    pr::Album album;
    testsupport::ScriptedPrompter prompter;
    int redraws = 0;
    std::function<void()> onRedraw;
    std::vector<int> progress;
};

using testsupport::ModalScript;

}  // namespace imagingtest
