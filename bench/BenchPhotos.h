#pragma once
// The benchmarks' test photo: smooth gradients with some noise and hard edges, so that encoded
// files have a real photo's typical size, and a scratch folder that removes itself.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace bench {

// Row y of a w x h photo as RGB bytes; `rng` carries the noise from row to row.
inline void photoRow(std::vector<uint8_t>& row, int y, int w, int h, std::mt19937& rng) {
    row.resize(static_cast<std::size_t>(w) * 3);
    for (int x = 0; x < w; ++x) {
        const int n = static_cast<int>(rng() & 15);
        row[3 * x] = static_cast<uint8_t>((x * 255 / w + n) & 255);
        row[3 * x + 1] = static_cast<uint8_t>((y * 255 / h + n) & 255);
        row[3 * x + 2] = static_cast<uint8_t>(((x / 40 + y / 40) & 1 ? 200 : 60) + n);
    }
}

// The photo as a binary PPM, for the command-line encoders.
inline bool writePhotoPpm(const std::string& path, int w, int h) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << w << " " << h << "\n255\n";
    std::vector<uint8_t> row;
    std::mt19937 rng(1);
    for (int y = 0; y < h; ++y) {
        photoRow(row, y, w, h, rng);
        out.write(reinterpret_cast<const char*>(row.data()),
                  static_cast<std::streamsize>(row.size()));
    }
    return static_cast<bool>(out);
}

struct ScratchFolder {
    std::filesystem::path dir;
    explicit ScratchFolder(const std::string& prefix)
        : dir(std::filesystem::temp_directory_path() /
              (prefix + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(dir);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
};

}  // namespace bench
