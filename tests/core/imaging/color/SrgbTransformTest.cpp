// Which profiles convert and which leave the picture bit for bit as it is stored.

#include <gtest/gtest.h>
#include <lcms2.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/imaging/color/SrgbTransform.h"

using namespace pr;

namespace {

const std::string kIccFolder = "/usr/share/color/icc/";

std::vector<uint8_t> saved(cmsHPROFILE profile) {
    cmsUInt32Number size = 0;
    std::vector<uint8_t> bytes;
    if (profile && cmsSaveProfileToMem(profile, nullptr, &size)) {
        bytes.resize(size);
        cmsSaveProfileToMem(profile, bytes.data(), &size);
    }
    if (profile) cmsCloseProfile(profile);
    return bytes;
}

// An RGB matrix/shaper profile with the given primaries and one curve for all three channels.
std::vector<uint8_t> rgbProfile(const cmsCIExyYTRIPLE& primaries, cmsToneCurve* curve) {
    cmsCIExyY d65{0.3127, 0.3290, 1.0};
    cmsToneCurve* curves[3] = {curve, curve, curve};
    std::vector<uint8_t> bytes = saved(cmsCreateRGBProfile(&d65, &primaries, curves));
    cmsFreeToneCurve(curve);
    return bytes;
}

cmsToneCurve* srgbCurve() {
    const cmsFloat64Number p[5] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
    return cmsBuildParametricToneCurve(nullptr, 4, p);
}

const cmsCIExyYTRIPLE kSrgbPrimaries = {{0.64, 0.33, 1}, {0.30, 0.60, 1}, {0.15, 0.06, 1}};
const cmsCIExyYTRIPLE kP3Primaries = {{0.68, 0.32, 1}, {0.265, 0.69, 1}, {0.15, 0.06, 1}};

std::vector<uint8_t> greyProfile(cmsToneCurve* curve) {
    cmsCIExyY d65{0.3127, 0.3290, 1.0};
    std::vector<uint8_t> bytes = saved(cmsCreateGrayProfile(&d65, curve));
    cmsFreeToneCurve(curve);
    return bytes;
}

TEST(SrgbTransform, ConvertsOnlyProfilesThatAreNotSrgb) {
    const std::vector<uint8_t> adobe =
        testsupport::readAll(kIccFolder + "compatibleWithAdobeRGB1998.icc");
    ASSERT_GT(adobe.size(), 128u);
    std::vector<uint8_t> garbage(600);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 37 + 11);
    // A colour space signature that names no colour space (found by fuzzing: it was read into an
    // enumeration that cannot hold it).
    std::vector<uint8_t> unknownSpace = adobe;
    for (int i = 16; i < 20; ++i) unknownSpace[i] = 0xFF;
    // A readable header whose tag table points past the end of the profile.
    std::vector<uint8_t> cutTags(adobe.begin(), adobe.begin() + 200);
    cutTags[0] = 0, cutTags[1] = 0, cutTags[2] = 0x02, cutTags[3] = 0x44;  // claims 580 bytes

    const struct {
        const char* what;
        std::vector<uint8_t> profile;
        PixelLayout layout;
        bool converts;
    } cases[] = {
        {"icc-profiles-free sRGB", testsupport::readAll(kIccFolder + "sRGB.icc"), PixelLayout::Rgb,
         false},
        {"LittleCMS sRGB", saved(cmsCreate_sRGBProfile()), PixelLayout::Rgba, false},
        {"compact sRGB", rgbProfile(kSrgbPrimaries, srgbCurve()), PixelLayout::Rgb, false},
        {"Adobe RGB", adobe, PixelLayout::Rgb, true},
        {"Adobe RGB on grey pixels", adobe, PixelLayout::Grey, false},
        {"sRGB primaries, gamma 2.2", rgbProfile(kSrgbPrimaries, cmsBuildGamma(nullptr, 2.2)),
         PixelLayout::Rgb, true},
        {"Display P3", rgbProfile(kP3Primaries, srgbCurve()), PixelLayout::Rgba, true},
        {"grey, sRGB curve", greyProfile(srgbCurve()), PixelLayout::Grey, false},
        {"grey, gamma 2.2", greyProfile(cmsBuildGamma(nullptr, 2.2)), PixelLayout::GreyAlpha, true},
        {"grey profile on RGB pixels", greyProfile(cmsBuildGamma(nullptr, 2.2)), PixelLayout::Rgb,
         false},
        {"garbage", garbage, PixelLayout::Rgb, false},
        {"unknown colour space", unknownSpace, PixelLayout::Rgb, false},
        {"cut short", std::vector<uint8_t>(adobe.begin(), adobe.begin() + 100), PixelLayout::Rgb,
         false},
        {"tags beyond the end", cutTags, PixelLayout::Rgb, false},
        {"empty", {}, PixelLayout::Rgb, false},
    };
    for (const auto& c : cases) {
        const SrgbTransform t =
            SrgbTransform::fromIcc(c.profile.data(), c.profile.size(), c.layout);
        EXPECT_EQ(t.converts(), c.converts) << c.what;
    }
}

TEST(SrgbTransform, CodePoints) {
    const struct {
        int primaries, transfer;
        bool converts;
    } cases[] = {
        {1, 13, false},                   // sRGB
        {2, 2, false},                    // unspecified: taken as sRGB
        {1, 1, false},                    // BT.709 video, shown as sRGB
        {1, 6, false},   {12, 13, true},  // Display P3
        {9, 14, true},                    // BT.2020
        {9, 16, false},                   // PQ: high dynamic range is not converted
        {9, 18, false},                   // HLG
        {1, 4, true},                     // sRGB primaries, gamma 2.2
        {1, 8, true},                     // linear
        {99, 13, false},                  // unknown primaries
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            SrgbTransform::fromCodePoints(c.primaries, c.transfer, PixelLayout::Rgb).converts(),
            c.converts)
            << c.primaries << "/" << c.transfer;
}

TEST(SrgbTransform, AdobeRgbMovesColoursAsExpected) {
    const std::vector<uint8_t> adobe =
        testsupport::readAll(kIccFolder + "compatibleWithAdobeRGB1998.icc");
    const SrgbTransform t = SrgbTransform::fromIcc(adobe.data(), adobe.size(), PixelLayout::Rgb);
    ASSERT_TRUE(t.converts());
    // Adobe RGB's reds are redder than sRGB's; its greys stay grey; white and black stay put.
    const uint8_t in[] = {200, 100, 50, 128, 128, 128, 255, 255, 255, 0, 0, 0};
    uint8_t out[12];
    t.toBgr(in, out, 4);
    EXPECT_GT(out[2], 215);  // blue, green, red
    EXPECT_NEAR(out[3], out[4], 1);
    EXPECT_NEAR(out[4], out[5], 1);
    for (int i = 6; i < 9; ++i) EXPECT_EQ(out[i], 255);
    for (int i = 9; i < 12; ++i) EXPECT_EQ(out[i], 0);
}

}  // namespace
