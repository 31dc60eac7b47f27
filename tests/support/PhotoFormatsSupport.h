#pragma once
// Shared by the tests of the HEIF, AVIF, WebP and JPEG XL readers and of the colour conversion:
// source pictures written with ImageMagick, the reference decoders' output read back as RGBA,
// and the comparisons.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "CodecTestSupport.h"
#include "TestSupport.h"
#include "core/imaging/RasterLibrary.h"

namespace photo {

using testsupport::Rgb;

// ImageMagick's worker threads only fight over the cores with the other test programs.
inline const bool kQuietMagick = setenv("MAGICK_THREAD_LIMIT", "1", 1) == 0;

// A reference picture with alpha, top row first.
struct Rgba {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;  // r, g, b, a per pixel
};

// Reads a PAM (P7) of depth 1 to 4 at maxval 255, as netpbm's pngtopam -alphapam writes it.
inline Rgba readPam(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line, key;
    std::getline(in, line);
    if (line != "P7") return {};
    int w = 0, h = 0, depth = 0, maxval = 0;
    while (std::getline(in, line) && line != "ENDHDR") {
        std::istringstream fields(line);
        fields >> key;
        if (key == "WIDTH") fields >> w;
        if (key == "HEIGHT") fields >> h;
        if (key == "DEPTH") fields >> depth;
        if (key == "MAXVAL") fields >> maxval;
    }
    if (w <= 0 || h <= 0 || depth < 1 || depth > 4 || maxval != 255) return {};
    std::vector<uint8_t> raw(static_cast<size_t>(w) * h * depth);
    in.read(reinterpret_cast<char*>(raw.data()), static_cast<std::streamsize>(raw.size()));
    if (!in) return {};
    Rgba img{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h * 4)};
    for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
        const uint8_t* p = &raw[i * depth];
        uint8_t* q = &img.pixels[i * 4];
        const bool grey = depth <= 2;
        q[0] = p[0];
        q[1] = grey ? p[0] : p[1];
        q[2] = grey ? p[0] : p[2];
        q[3] = depth == 2 ? p[1] : depth == 4 ? p[3] : 255;
    }
    return img;
}

// Any picture file ImageMagick or netpbm reads, as RGBA through a PAM.
inline Rgba readReference(const std::string& path) {
    const std::string pam = path + ".pam";
    const bool isPng = path.size() > 4 && path.compare(path.size() - 4, 4, ".png") == 0;
    const std::string command =
        isPng ? "pngtopam -alphapam " + path + " > " + pam + " 2>/dev/null"
              : std::string(testsupport::kConvert) + " " + path + " -depth 8 " + pam;
    if (!testsupport::run(command)) return {};
    return readPam(pam);
}

// The picture as it looks over white, rounded as the readers round.
inline Rgb overWhite(const Rgba& src) {
    Rgb out{src.width, src.height,
            std::vector<uint8_t>(static_cast<size_t>(src.width) * src.height * 3)};
    for (size_t i = 0; i < static_cast<size_t>(src.width) * src.height; ++i) {
        const unsigned a = src.pixels[i * 4 + 3];
        for (int c = 0; c < 3; ++c)
            out.pixels[i * 3 + c] =
                static_cast<uint8_t>((src.pixels[i * 4 + c] * a + 255 * (255 - a) + 127) / 255);
    }
    return out;
}

// The picture as an EXIF orientation (1..8) shows it.
inline Rgb oriented(const Rgb& src, int orientation) {
    const bool swap = orientation >= 5;
    Rgb out{swap ? src.height : src.width, swap ? src.width : src.height,
            std::vector<uint8_t>(src.pixels.size())};
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            int sx = x, sy = y;
            const int W = src.width, H = src.height;
            switch (orientation) {
                case 2:
                    sx = W - 1 - x;
                    break;
                case 3:
                    sx = W - 1 - x, sy = H - 1 - y;
                    break;
                case 4:
                    sy = H - 1 - y;
                    break;
                case 5:
                    sx = y, sy = x;
                    break;
                case 6:
                    sx = y, sy = H - 1 - x;
                    break;
                case 7:
                    sx = W - 1 - y, sy = H - 1 - x;
                    break;
                case 8:
                    sx = W - 1 - y, sy = x;
                    break;
                default:
                    break;
            }
            std::copy_n(&src.pixels[(static_cast<size_t>(sy) * W + sx) * 3], 3,
                        &out.pixels[(static_cast<size_t>(y) * out.width + x) * 3]);
        }
    return out;
}

// A photo-like source picture written as PNG, with an alpha ramp when asked.
inline bool writeSource(const std::string& png, int w, int h, bool alpha) {
    const Rgb src = testsupport::patternPicture(w, h);
    const std::string ppm = png + ".ppm";
    if (!testsupport::writePpm(ppm, src)) return false;
    std::string command = std::string(testsupport::kConvert) + " " + ppm;
    if (alpha)
        command += " \\( -size " + std::to_string(w) + "x" + std::to_string(h) +
                   " gradient:white-black \\) -alpha off -compose copy_opacity -composite";
    // No gAMA, cHRM or sRGB chunks: the encoders would carry them over as a colour space, and
    // these tests are about the decoders, not about the colours.
    return testsupport::run(command + " -define png:exclude-chunk=all -define png:color-type=" +
                            (alpha ? "6" : "2") + " " + png);
}

// An AVIF file whose brands say plain HEIF, so that the HEIF reader (and libheif's AV1 decoder)
// takes it.
inline bool rebrandAsHeif(const std::string& from, const std::string& to) {
    std::vector<uint8_t> bytes = testsupport::readAll(from);
    if (bytes.size() < 32) return false;
    const size_t box = (size_t{bytes[0]} << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3];
    for (size_t at = 8; at + 4 <= box && at + 4 <= bytes.size(); at += 4)
        if (std::memcmp(&bytes[at], "avif", 4) == 0) std::memcpy(&bytes[at], "mif1", 4);
    return testsupport::writeAll(to, bytes);
}

// The command with its chatter going nowhere (its own redirections still count).
inline std::string quiet(const std::string& command) {
    return "(" + command + ") >/dev/null 2>&1";
}

}  // namespace photo
