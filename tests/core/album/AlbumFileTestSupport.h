#pragma once
// Helpers for the album file tests: album files assembled field by field from the layout table
// (independent of the writer), and a picture source that needs no decoder.

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "core/album/AlbumFileApply.h"
#include "core/album/Placement.h"
#include "core/imaging/ImageBuffer.h"

namespace albumtest {

class Bytes {
public:
    Bytes& raw(const std::string& s) { return b.insert(b.end(), s.begin(), s.end()), *this; }
    Bytes& u8(uint8_t v) { return b.push_back(v), *this; }
    Bytes& u32(uint32_t v) { return le(v, 4); }
    Bytes& i32(int32_t v) { return le(static_cast<uint32_t>(v), 4); }
    Bytes& f64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        return le(bits, 8);
    }
    Bytes& counted(const std::string& s) { return i32(static_cast<int32_t>(s.size())).raw(s); }
    Bytes& zeros(std::size_t n) { return b.insert(b.end(), n, 0), *this; }
    Bytes& font(uint8_t charset, uint32_t colour, const std::string& name, uint8_t pitch,
                int32_t ppi, int32_t size, uint8_t style) {
        u8(charset).u32(colour).u8(static_cast<uint8_t>(name.size())).raw(name).u8(pitch);
        return i32(ppi).i32(size).u8(style);
    }
    // An old (2.0/3.0) record: 8 unread bytes, four doubles in 1/10,000 of the page, key, 4 unread.
    Bytes& oldRecord(double left, double top, double width, double height, int32_t key) {
        return raw("junkjunk").f64(left).f64(top).f64(width).f64(height).i32(key).raw("JUNK");
    }
    // A 4.0 file without placements up to its first picture entry.
    static Bytes header40(int32_t pictures, int32_t nextKey) {
        Bytes f;
        f.raw("ZOR-VEX Pixo-Rahmler 4.0").i32(0).i32(-1).i32(0).i32(pictures).i32(nextKey);
        return f.zeros(76).font(0, 0x80000008u, "Arial", 0, 96, 11, 0), f;
    }
    std::vector<uint8_t> b;

private:
    Bytes& le(uint64_t v, int n) {
        for (int i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
};

inline pr::Placement placement(double l, double t, double w, double h, int32_t page, int32_t key,
                               uint8_t fit) {
    return pr::Placement{l, t, w, h, page, key, fit, {}};
}

// Loads a 3 x 2 picture for every path that exists on disk or was declared, and records every
// attempt and every turn. Thread-safe, as the real loader must be.
class FakePictures {
public:
    std::set<std::string> declared;
    bool turnsFail = false;
    std::vector<std::string> attempts;
    std::string turns;

    pr::AlbumPictureSource source() {
        pr::AlbumPictureSource s;
        s.load = [this](const std::string& path, pr::ImageBuffer& out) {
            std::unique_lock<std::mutex> lock(m_);
            attempts.push_back(path);
            lock.unlock();
            return (declared.count(path) || std::filesystem::is_regular_file(path)) &&
                   pr::newdib(out, 3, 2, 24);
        };
        s.turnRight = [this](pr::ImageBuffer& img) { return turn(img, 'R'); };
        s.turnLeft = [this](pr::ImageBuffer& img) { return turn(img, 'L'); };
        return s;
    }

private:
    bool turn(pr::ImageBuffer& img, char direction) {
        std::lock_guard<std::mutex> lock(m_);
        turns += turnsFail ? "" : std::string(1, direction);
        return !turnsFail && pr::newdib(img, img.height(), img.width(), 24);
    }
    std::mutex m_;
};

}  // namespace albumtest
