#pragma once
// Helpers shared by the test programs: a scratch folder, running the independent encoders that
// Debian installs (netpbm, ImageMagick, libjpeg-turbo's cjpeg), and reading their netpbm output
// as the reference picture.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace testsupport {

// The real ImageMagick: /usr/local/bin/convert may be a stand-in on developer machines.
inline const char* kConvert = "/usr/bin/convert";

// A fresh folder under the system temp folder, removed when the object goes.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        for (int i = 0; i < 100; ++i) {
            path_ = std::filesystem::temp_directory_path() /
                    ("pxr-test-" + std::to_string(rd()) + "-" + std::to_string(i));
            if (std::filesystem::create_directory(path_)) return;
        }
        std::abort();
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Runs a shell command; true when it exited 0.
inline bool run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

inline std::vector<uint8_t> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
}

inline bool writeAll(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// A reference picture in plain RGB, top row first.
struct Rgb {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;       // r, g, b per pixel
    uint32_t at(int x, int y) const {  // 0x00BBGGRR like getpixel on 24-bit pictures
        const uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
        return p[0] | (p[1] << 8) | (p[2] << 16);
    }
};

// Writes `img` as a binary PPM (P6).
inline bool writePpm(const std::string& path, const Rgb& img) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << img.width << " " << img.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(img.pixels.data()),
              static_cast<std::streamsize>(img.pixels.size()));
    return static_cast<bool>(out);
}

// Reads binary PBM (P4), PGM (P5) or PPM (P6) with maxval 255 into RGB. Empty on failure.
inline Rgb readNetpbm(const std::string& path) {
    Rgb img;
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    in >> magic;
    auto next = [&in]() {
        int v = -1;
        while (in >> std::ws && in.peek() == '#') {
            std::string line;
            std::getline(in, line);
        }
        in >> v;
        return v;
    };
    const int w = next(), h = next();
    const int maxval = magic == "P4" ? 1 : next();
    in.get();
    if (w <= 0 || h <= 0 || maxval != (magic == "P4" ? 1 : 255)) return img;
    img.width = w;
    img.height = h;
    img.pixels.resize(static_cast<size_t>(w) * h * 3);
    if (magic == "P6") {
        in.read(reinterpret_cast<char*>(img.pixels.data()),
                static_cast<std::streamsize>(img.pixels.size()));
    } else if (magic == "P5") {
        std::vector<uint8_t> grey(static_cast<size_t>(w) * h);
        in.read(reinterpret_cast<char*>(grey.data()), static_cast<std::streamsize>(grey.size()));
        for (size_t i = 0; i < grey.size(); ++i)
            img.pixels[i * 3] = img.pixels[i * 3 + 1] = img.pixels[i * 3 + 2] = grey[i];
    } else if (magic == "P4") {
        const int rowBytes = (w + 7) / 8;
        std::vector<uint8_t> row(rowBytes);
        for (int y = 0; y < h; ++y) {
            in.read(reinterpret_cast<char*>(row.data()), rowBytes);
            for (int x = 0; x < w; ++x) {
                const uint8_t v =
                    (row[x >> 3] >> (7 - (x & 7))) & 1 ? 0 : 255;  // 1 is black in PBM
                uint8_t* p = &img.pixels[(static_cast<size_t>(y) * w + x) * 3];
                p[0] = p[1] = p[2] = v;
            }
        }
    } else {
        return Rgb{};
    }
    if (!in) return Rgb{};
    return img;
}

// A test picture with gradients, hard edges and a few saturated colours.
inline Rgb patternPicture(int w, int h, unsigned seed = 1) {
    Rgb img;
    img.width = w;
    img.height = h;
    img.pixels.resize(static_cast<size_t>(w) * h * 3);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &img.pixels[(static_cast<size_t>(y) * w + x) * 3];
            p[0] = static_cast<uint8_t>(x * 255 / (w > 1 ? w - 1 : 1));
            p[1] = static_cast<uint8_t>(y * 255 / (h > 1 ? h - 1 : 1));
            p[2] = static_cast<uint8_t>(((x / 4 + y / 4) & 1) ? 230 : 20);
            if ((rng() & 15) == 0) p[rng() % 3] = static_cast<uint8_t>(rng());
        }
    return img;
}

}  // namespace testsupport
