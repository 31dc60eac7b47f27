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

#include "album/AlbumFileApply.h"
#include "album/Placement.h"
#include "imaging/ImageBuffer.h"

namespace albumtest {

class Bytes {
public:
    Bytes& raw(const std::string& s) {
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& u8(uint8_t v) {
        b.push_back(v);
        return *this;
    }
    Bytes& u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    Bytes& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
    Bytes& f64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        for (int i = 0; i < 8; ++i) b.push_back(static_cast<uint8_t>(bits >> (8 * i)));
        return *this;
    }
    Bytes& counted(const std::string& s) { return i32(static_cast<int32_t>(s.size())).raw(s); }
    Bytes& zeros(std::size_t n) {
        b.insert(b.end(), n, 0);
        return *this;
    }
    Bytes& font(uint8_t charset, uint32_t colour, const std::string& name, uint8_t pitch,
                int32_t ppi, int32_t size, uint8_t style) {
        u8(charset).u32(colour).u8(static_cast<uint8_t>(name.size())).raw(name).u8(pitch);
        return i32(ppi).i32(size).u8(style);
    }
    // An old (2.0/3.0) record: 8 unread bytes, four doubles in 1/10,000 of the page, key, 4 unread.
    Bytes& oldRecord(double left, double top, double width, double height, int32_t key) {
        raw("junkjunk").f64(left).f64(top).f64(width).f64(height).i32(key);
        return raw("JUNK");
    }
    std::vector<uint8_t> b;
};

inline pr::Placement placement(double l, double t, double w, double h, int32_t page, int32_t key,
                               uint8_t fit) {
    pr::Placement p;
    std::memset(&p, 0, sizeof p);
    p.Left = l;
    p.Top = t;
    p.Width = w;
    p.Height = h;
    p.Page = page;
    p.ImageKey = key;
    p.FitCrop = fit;
    return p;
}

// Loads a 3 x 2 picture for every path that exists on disk or was declared, and records every
// attempt and every turn. Thread-safe, as the real loader must be.
class FakePictures {
public:
    std::set<std::string> declared;
    bool onDiskCounts = true;
    bool turnsFail = false;

    pr::AlbumPictureSource source() {
        pr::AlbumPictureSource s;
        s.load = [this](const std::string& path, pr::ImageBuffer& out) {
            {
                std::lock_guard<std::mutex> lock(m_);
                attempts.push_back(path);
            }
            if (!declared.count(path) && !(onDiskCounts && std::filesystem::is_regular_file(path)))
                return false;
            return pr::newdib(out, 3, 2, 24);
        };
        s.turnRight = [this](pr::ImageBuffer& img) { return turn(img, 'R'); };
        s.turnLeft = [this](pr::ImageBuffer& img) { return turn(img, 'L'); };
        return s;
    }

    std::vector<std::string> attempts;
    std::string turns;

private:
    bool turn(pr::ImageBuffer& img, char direction) {
        std::lock_guard<std::mutex> lock(m_);
        if (turnsFail) return false;
        turns += direction;
        return pr::newdib(img, img.height(), img.width(), 24);
    }
    std::mutex m_;
};

}  // namespace albumtest
