#include "core/imaging/codecs/HevcPictureSize.h"

#include <vector>

#include "core/io/ByteReader.h"

namespace pr {
namespace {

constexpr int kSpsNalType = 33;

// Bits of a NAL unit's payload, with the emulation prevention bytes (00 00 03) taken out.
class RbspBits {
public:
    RbspBits(const uint8_t* nal, size_t size) {
        int zeros = 0;
        for (size_t i = 0; i < size; ++i) {
            if (zeros >= 2 && nal[i] == 3) {
                zeros = 0;
                continue;
            }
            zeros = nal[i] == 0 ? zeros + 1 : 0;
            bytes_.push_back(nal[i]);
        }
    }
    bool ok() const { return ok_; }
    uint32_t bits(int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = (v << 1) | bit();
        return v;
    }
    void skip(size_t n) {
        for (size_t i = 0; i < n && ok_; ++i) bit();
    }
    // Exp-Golomb ue(v); values beyond 32 bits fail.
    uint32_t ue() {
        int zeros = 0;
        while (ok_ && bit() == 0)
            if (++zeros > 31) ok_ = false;
        if (!ok_) return 0;
        const uint64_t value = (uint64_t{1} << zeros) - 1 + bits(zeros);
        return value > UINT32_MAX ? (ok_ = false, 0) : static_cast<uint32_t>(value);
    }

private:
    uint32_t bit() {
        if (pos_ >= bytes_.size() * 8) {
            ok_ = false;
            return 0;
        }
        const uint32_t b = (bytes_[pos_ / 8] >> (7 - pos_ % 8)) & 1;
        ++pos_;
        return b;
    }
    std::vector<uint8_t> bytes_;
    size_t pos_ = 0;
    bool ok_ = true;
};

// ITU-T H.265, 7.3.2.2 up to pic_height_in_luma_samples.
bool spsSize(const uint8_t* nal, size_t size, HevcSize& out) {
    RbspBits b(nal, size);
    b.skip(16);  // NAL unit header
    b.skip(4);   // sps_video_parameter_set_id
    const uint32_t subLayers = b.bits(3);
    b.skip(1);  // temporal id nesting
    // profile_tier_level: the general profile and level, then per sub-layer what is present.
    b.skip(96);
    std::vector<bool> profile(subLayers), level(subLayers);
    for (uint32_t i = 0; i < subLayers; ++i) {
        profile[i] = b.bits(1) != 0;
        level[i] = b.bits(1) != 0;
    }
    if (subLayers > 0) b.skip(2 * (8 - subLayers));
    for (uint32_t i = 0; i < subLayers; ++i) b.skip((profile[i] ? 88 : 0) + (level[i] ? 8 : 0));
    b.ue();                      // sps_seq_parameter_set_id
    if (b.ue() == 3) b.skip(1);  // chroma_format_idc, separate_colour_plane_flag
    out.width = b.ue();
    out.height = b.ue();
    return b.ok();
}

}  // namespace

bool hevcCodedSize(const uint8_t* hvcC, size_t size, HevcSize& out) {
    ByteReader in(hvcC, size, ByteOrder::Big);
    in.skip(22);  // the configuration record before the NAL unit arrays
    const uint8_t arrays = in.u8();
    for (uint8_t a = 0; a < arrays && in.ok(); ++a) {
        const int type = in.u8() & 0x3F;
        const uint16_t count = in.u16();
        for (uint16_t n = 0; n < count && in.ok(); ++n) {
            const uint16_t length = in.u16();
            const uint8_t* nal = in.take(length);
            if (nal && type == kSpsNalType) return spsSize(nal, length, out);
        }
    }
    return false;
}

}  // namespace pr
