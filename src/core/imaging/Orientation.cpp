#include "core/imaging/Orientation.h"

#include <cstring>

namespace pr {
namespace {

inline void putIndex(uint8_t* row, int x, int bits, uint8_t v) {
    switch (bits) {
        case 1: {
            const uint8_t mask = static_cast<uint8_t>(0x80u >> (x & 7));
            row[x >> 3] = (v & 1u) ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask);
            break;
        }
        case 4: {
            uint8_t& byte = row[x >> 1];
            byte = (x & 1) ? static_cast<uint8_t>((byte & 0xF0u) | (v & 0x0Fu))
                           : static_cast<uint8_t>((byte & 0x0Fu) | (v << 4));
            break;
        }
        default:
            row[x] = v;
            break;
    }
}

}  // namespace

void TiffOrientedWriter::seenSize(int orientation, int64_t fileWidth, int64_t fileHeight,
                                  int64_t& width, int64_t& height) {
    const bool swap = orientation >= 5 && orientation <= 8;
    width = swap ? fileHeight : fileWidth;
    height = swap ? fileWidth : fileHeight;
}

TiffOrientedWriter::TiffOrientedWriter(ImageBuffer& out, int orientation, int fileWidth,
                                       int fileHeight)
    : out_(out),
      orientation_(orientation >= 1 && orientation <= 8 ? orientation : 1),
      fileWidth_(fileWidth),
      fileHeight_(fileHeight) {}

void TiffOrientedWriter::seenAt(int c, int r, int& x, int& y) const {
    const int w = fileWidth_, h = fileHeight_;
    switch (orientation_) {
        case 2:
            x = w - 1 - c;
            y = r;
            break;  // top row, right column first
        case 3:
            x = w - 1 - c;
            y = h - 1 - r;
            break;  // turned half round
        case 4:
            x = c;
            y = h - 1 - r;
            break;  // bottom row first
        case 5:
            x = r;
            y = c;
            break;  // rows are the seen columns, left first
        case 6:
            x = h - 1 - r;
            y = c;
            break;  // first row is the seen right edge
        case 7:
            x = h - 1 - r;
            y = w - 1 - c;
            break;
        case 8:
            x = r;
            y = w - 1 - c;
            break;  // first row is the seen left edge, bottom up
        default:
            x = c;
            y = r;
            break;
    }
}

void TiffOrientedWriter::putIndexRow(int fileRow, const uint8_t* indexes) {
    const int bits = out_.bitCount();
    if (orientation_ <= 4) {
        const bool mirrored = orientation_ == 2 || orientation_ == 3;
        const bool flipped = orientation_ == 3 || orientation_ == 4;
        uint8_t* row = out_.rowFromTop(flipped ? fileHeight_ - 1 - fileRow : fileRow);
        if (bits == 8 && !mirrored) {
            std::memcpy(row, indexes, static_cast<size_t>(fileWidth_));
            return;
        }
        for (int c = 0; c < fileWidth_; ++c)
            putIndex(row, mirrored ? fileWidth_ - 1 - c : c, bits, indexes[c]);
        return;
    }
    for (int c = 0; c < fileWidth_; ++c) {
        int x = 0, y = 0;
        seenAt(c, fileRow, x, y);
        putIndex(out_.rowFromTop(y), x, bits, indexes[c]);
    }
}

void TiffOrientedWriter::putBgrRow(int fileRow, const uint8_t* bgr) {
    if (orientation_ == 1 || orientation_ == 4) {
        std::memcpy(out_.rowFromTop(orientation_ == 1 ? fileRow : fileHeight_ - 1 - fileRow), bgr,
                    static_cast<size_t>(fileWidth_) * 3);
        return;
    }
    for (int c = 0; c < fileWidth_; ++c) {
        int x = 0, y = 0;
        seenAt(c, fileRow, x, y);
        std::memcpy(out_.rowFromTop(y) + 3 * static_cast<int64_t>(x),
                    bgr + 3 * static_cast<int64_t>(c), 3);
    }
}

}  // namespace pr
