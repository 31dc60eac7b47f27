#include <gtest/gtest.h>

#include <array>

#include "core/imaging/codecs/ExifOrientation.h"

using namespace pr;

namespace {

// "Exif\0\0" and a TIFF structure with one IFD holding the given entries (tag, type, count, value).
std::vector<uint8_t> exif(bool little, std::vector<std::array<uint32_t, 4>> entries,
                          uint32_t ifdOffset = 8) {
    std::vector<uint8_t> b = {
        'E', 'x', 'i', 'f', 0, 0, uint8_t(little ? 'I' : 'M'), uint8_t(little ? 'I' : 'M')};
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.push_back(uint8_t(little ? v >> (8 * i) : v >> (8 * (bytes - 1 - i))));
    };
    put(42, 2), put(ifdOffset, 4), put(uint32_t(entries.size()), 2);
    for (const auto& e : entries)
        put(e[0], 2), put(e[1], 2), put(e[2], 4), put(e[3], 2), put(0, 2);  // SHORT first
    put(0, 4);
    return b;
}

TEST(ExifOrientation, ReadsTheTagInBothByteOrdersAndAnythingOddMeansUpright) {
    for (bool little : {true, false})
        for (int o = 1; o <= 8; ++o) {
            const auto b = exif(little, {{0x010F, 2, 4, 0}, {0x0112, 3, 1, uint32_t(o)}});
            EXPECT_EQ(exifOrientation(b.data(), b.size()), o) << little;
        }
    const auto good = exif(true, {{0x0112, 3, 1, 6}});
    auto noMagic = good, badOrder = good;
    noMagic[0] = 'X', badOrder[6] = 'X';
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"value 9", exif(true, {{0x0112, 3, 1, 9}})},
        {"value 0", exif(true, {{0x0112, 3, 1, 0}})},
        {"type LONG", exif(true, {{0x0112, 4, 1, 6}})},
        {"count 0", exif(true, {{0x0112, 3, 0, 6}})},
        {"no tag", exif(true, {{0x0100, 3, 1, 6}})},
        {"IFD past the end", exif(true, {{0x0112, 3, 1, 6}}, 0xFFFFFFF0u)},
        {"IFD inside the header", exif(true, {{0x0112, 3, 1, 6}}, 2)},
        {"entries cut off", std::vector<uint8_t>(good.begin(), good.end() - 10)},
        {"not Exif", noMagic},
        {"bad byte order", badOrder},
        {"too short", std::vector<uint8_t>(good.begin(), good.begin() + 10)},
    };
    for (const auto& [what, bytes] : cases)
        EXPECT_EQ(exifOrientation(bytes.data(), bytes.size()), 1) << what;
    EXPECT_EQ(exifOrientation(nullptr, 0), 1);
}

}  // namespace
