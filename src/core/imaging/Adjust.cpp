#include "core/imaging/Adjust.h"

#include <algorithm>
#include <memory>

namespace pr {
namespace {

uint8_t clampChannel(int v) {
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

bool isIdentity(const ChannelTable& t) {
    for (int c = 0; c < 256; ++c) {
        if (t[c] != c) return false;
    }
    return true;
}

void mapPixels(ImageBuffer& image, const ChannelTable& t) {
    const size_t n = 3 * static_cast<size_t>(image.width());
    const uint8_t* map = t.data();
    for (int r = 0; r < image.height(); ++r) {
        uint8_t* p = image.storedRow(r);
        size_t i = 0;
        // Four independent lookups per step keep the load ports busy.
        for (; i + 4 <= n; i += 4) {
            const uint8_t a = map[p[i]], b = map[p[i + 1]], c = map[p[i + 2]], d = map[p[i + 3]];
            p[i] = a;
            p[i + 1] = b;
            p[i + 2] = c;
            p[i + 3] = d;
        }
        for (; i < n; ++i) p[i] = map[p[i]];
    }
}

// Palette pictures: the logical palette is the record's own; the colour table is shared with
// every copy of the record, so the page drawing sees the change at once.
void mapPalette(ImageBuffer& image, const ChannelTable& t) {
    if (!image.hasPalette) syncPalette(image);
    const int n = image.tableSize();
    for (int i = 0; i < n; ++i) {
        PaletteEntry& e = image.palette.entries[i];
        e.red = t[e.red];
        e.green = t[e.green];
        e.blue = t[e.blue];
        RgbQuad& q = image.info->colors[i];
        q.red = e.red;
        q.green = e.green;
        q.blue = e.blue;
    }
    image.paletteHandle = std::make_shared<const LogPalette>(image.palette);
}

}  // namespace

ChannelTable composeTables(const ChannelTable& first, const ChannelTable& then) {
    ChannelTable t;
    for (int c = 0; c < 256; ++c) t[c] = then[first[c]];
    return t;
}

void applyChannelTable(ImageBuffer& image, const ChannelTable& t) {
    if (!image.valid() || isIdentity(t)) return;
    switch (image.bitCount()) {
        case 24:
            mapPixels(image, t);
            break;
        case 1:
        case 4:
        case 8:
            mapPalette(image, t);
            break;
        default:
            break;
    }
}

ChannelTable brightnessTable(int b) {
    b = std::clamp(b, -127, 127);
    ChannelTable t;
    for (int c = 0; c < 256; ++c) t[c] = clampChannel(c + b);
    return t;
}

ChannelTable contrastTable(int k) {
    k = std::clamp(k, 0, 200);
    ChannelTable t;
    for (int c = 0; c < 256; ++c) {
        int v;
        if (k <= 100) {
            v = (c - 127) * k / 100 + 127;
        } else {
            const int m = 200 - k;
            v = c < 128 ? c * m / 100 : 255 - (255 - c) * m / 100;
        }
        t[c] = static_cast<uint8_t>(v);  // always within 0..255, no clamp needed
    }
    return t;
}

ChannelTable saturationTable(int s) {
    s = std::clamp(s, -100, 100);
    ChannelTable t;
    for (int c = 0; c < 256; ++c) t[c] = clampChannel((c - 128) * (s + 100) / 100 + 128);
    return t;
}

void Helligkeit(ImageBuffer& image, int b) {
    applyChannelTable(image, brightnessTable(b));
}

void Kontrast(ImageBuffer& image, int k) {
    applyChannelTable(image, contrastTable(k));
}

void Saettigung(ImageBuffer& image, int s) {
    if (image.bitCount() == 1) return;
    applyChannelTable(image, saturationTable(s));
}

ChannelTable adjustAllTable(int b, int k, int s, int bitCount) {
    ChannelTable t = composeTables(brightnessTable(b), contrastTable(k));
    if (bitCount != 1) t = composeTables(t, saturationTable(s));
    return t;
}

void AdjustAll(ImageBuffer& image, int b, int k, int s) {
    applyChannelTable(image, adjustAllTable(b, k, s, image.bitCount()));
}

}  // namespace pr
