#include "core/imaging/DepthUpTo.h"

#include <random>

namespace pr {
namespace {

int rowPercent(int row, int rows) {
    return rows > 1 ? static_cast<int>(static_cast<int64_t>(row) * 100 / (rows - 1)) : 0;
}

bool isConvertedPair(int target, int source) {
    switch (target) {
        case 4:
            return source == 1;
        case 8:
            return source == 1 || source == 4;
        case 24:
            return source == 1 || source == 4 || source == 8;
        default:
            return false;
    }
}

int defaultRandom(int n) {
    thread_local std::minstd_rand generator{std::random_device{}()};
    return std::uniform_int_distribution<int>(0, n - 1)(generator);
}

// The colours a palette picture shows: its logical palette, which is what the adjustments change.
RgbQuad sourceColour(const ImageBuffer& image, int index) {
    if (image.hasPalette) {
        const PaletteEntry& e = image.palette.entries[index];
        return RgbQuad{e.blue, e.green, e.red, 0};
    }
    return image.info->colors[index];
}

void setRandomEntries(BitmapInfo& info, int first, int last, const RandomFn& random) {
    for (int i = first; i <= last; ++i) {
        const auto r = static_cast<uint8_t>(random(256) & 0xFC);
        const auto g = static_cast<uint8_t>(random(256) & 0xFC);
        const auto b = static_cast<uint8_t>(random(256) & 0xFC);
        info.colors[i] = RgbQuad{b, g, r, 0};
    }
}

}  // namespace

DepthResult DepthUpTo(ImageBuffer& image, int targetBits, const ProgressFn& progress,
                      const RandomFn& randomIn) {
    auto report = [&](int percent) {
        if (progress) progress(percent);
    };
    report(0);
    const int source = image.bitCount();
    if (!image.valid() || source == 24 || !isConvertedPair(targetBits, source)) {
        return DepthResult::Unchanged;
    }
    ImageBuffer out;
    if (!newdib(out, image.width(), image.height(), targetBits)) return DepthResult::OutOfMemory;
    const RandomFn& random = randomIn ? randomIn : RandomFn(defaultRandom);

    BitmapInfo& table = *out.info;
    const RgbQuad black{0, 0, 0, 0};
    const RgbQuad white{255, 255, 255, 0};
    if (targetBits == 8 && source == 4) {
        for (int i = 0; i < 16; ++i) table.colors[i] = sourceColour(image, i);
        setRandomEntries(table, 16, 255, random);
    } else if (targetBits == 8) {
        table.colors[0] = black;
        setRandomEntries(table, 1, 254, random);
        table.colors[255] = white;
    } else if (targetBits == 4) {
        table.colors[0] = black;
        setRandomEntries(table, 1, 14, random);
        table.colors[15] = white;
    }
    syncPalette(out);

    RgbQuad lookup[256];
    if (targetBits == 24 && source != 1) {
        for (int i = 0; i < image.tableSize(); ++i) lookup[i] = sourceColour(image, i);
    }

    const int w = image.width();
    const int rows = image.height();
    for (int r = 0; r < rows; ++r) {
        report(rowPercent(r, rows));
        const uint8_t* in = image.storedRow(r);
        uint8_t* o = out.storedRow(r);
        if (source == 1) {
            // 1-bit pictures become plain black and white: index 0 black, index 1 the brightest
            // entry of the new depth.
            const uint8_t on = targetBits == 4 ? 0x0F : 0xFF;
            for (int x = 0; x < w; ++x) {
                if (!((in[x >> 3] >> (7 - (x & 7))) & 1)) continue;
                switch (targetBits) {
                    case 4:
                        o[x >> 1] |= (x & 1) ? on : static_cast<uint8_t>(on << 4);
                        break;
                    case 8:
                        o[x] = on;
                        break;
                    default:
                        o[3 * x] = o[3 * x + 1] = o[3 * x + 2] = on;
                        break;
                }
            }
        } else if (targetBits == 8) {
            for (int x = 0; x < w; ++x) {
                o[x] = (x & 1) ? (in[x >> 1] & 0x0Fu) : (in[x >> 1] >> 4);
            }
        } else {
            for (int x = 0; x < w; ++x) {
                const int index =
                    source == 8 ? in[x] : ((x & 1) ? (in[x >> 1] & 0x0F) : (in[x >> 1] >> 4));
                const RgbQuad& c = lookup[index];
                o[0] = c.blue;
                o[1] = c.green;
                o[2] = c.red;
                o += 3;
            }
        }
    }
    image = std::move(out);
    report(0);
    return DepthResult::Converted;
}

}  // namespace pr
