#include "core/album/AlbumFileExtensions.h"

#include <algorithm>
#include <cstring>

#include "core/album/AdjustSession.h"

namespace pr {

namespace {

constexpr std::size_t kBlockHeaderSize = kExtensionSignatureSize + 4;
constexpr std::size_t kFamilySize = sizeof(kExtensionFamily) - 1;
constexpr std::size_t kAdjustmentBytes = 12;  // brightness, contrast, saturation
constexpr std::size_t kEntryHeadBytes = 12;   // index, key, count

Adjustment clampedAdjustment(int32_t brightness, int32_t contrast, int32_t saturation) {
    using S = AdjustSession;
    return Adjustment{std::clamp<int32_t>(brightness, S::kBrightnessMin, S::kBrightnessMax),
                      std::clamp<int32_t>(contrast, S::kContrastMin, S::kContrastMax),
                      std::clamp<int32_t>(saturation, S::kSaturationMin, S::kSaturationMax)};
}

// The entries of an adjustments block of our version into `pictures`; nothing when its counts do
// not fit the block.
void readAdjustments(ByteReader& in, std::vector<StoredPicture>& pictures) {
    const int32_t entries = in.i32();
    if (!in.ok() || entries < 0 ||
        static_cast<std::size_t>(entries) > in.remaining() / kEntryHeadBytes) {
        return;
    }

    std::vector<std::vector<Adjustment>> found(pictures.size());
    std::vector<bool> named(pictures.size(), false);
    for (int32_t e = 0; e < entries; ++e) {
        const int32_t index = in.i32();
        const int32_t key = in.i32();
        const int32_t count = in.i32();
        if (!in.ok() || count < 0 ||
            static_cast<std::size_t>(count) > in.remaining() / kAdjustmentBytes) {
            return;
        }
        ByteReader values(in.take(static_cast<std::size_t>(count) * kAdjustmentBytes),
                          static_cast<std::size_t>(count) * kAdjustmentBytes);
        if (index < 0 || static_cast<std::size_t>(index) >= pictures.size() || named[index] ||
            pictures[index].Key != key || count > kMaxStoredAdjustments) {
            continue;
        }
        named[index] = true;
        std::vector<Adjustment>& list = found[index];
        list.reserve(static_cast<std::size_t>(count));
        for (int32_t a = 0; a < count; ++a) {
            const int32_t b = values.i32(), c = values.i32(), s = values.i32();
            list.push_back(clampedAdjustment(b, c, s));
        }
    }
    for (std::size_t i = 0; i < pictures.size(); ++i)
        if (named[i]) pictures[i].Adjustments = std::move(found[i]);
}

// Whether the block is an adjustments block this reader knows; a later version may mean something
// else by the same bytes, and a writer may put one of each in a file for readers old and new.
bool isKnownAdjustmentsBlock(const uint8_t* signature, ByteReader body) {
    return std::memcmp(signature, kAdjustmentsSignature, kExtensionSignatureSize) == 0 &&
           body.i32() == kAdjustmentsVersion && body.ok();
}

}  // namespace

ExtensionsRead readAlbumExtensions(ByteReader& in, bool wholeFile,
                                   std::vector<StoredPicture>& pictures) {
    bool adjustmentsRead = false;
    for (;;) {
        // Even a piece of the family signature is a block cut short: a file that ends in the
        // middle of one lost what the block held.
        const std::size_t seen = std::min(in.remaining(), kFamilySize);
        if (seen == 0 && wholeFile) return ExtensionsRead::Done;
        if (std::memcmp(in.peek(seen), kExtensionFamily, seen) != 0) return ExtensionsRead::Done;
        if (in.remaining() < kBlockHeaderSize) return ExtensionsRead::CutShort;
        const uint8_t* signature = in.take(kExtensionSignatureSize);
        const uint32_t length = in.u32();
        if (length > in.remaining()) return ExtensionsRead::CutShort;
        ByteReader body(in.take(length), length);
        if (!adjustmentsRead && isKnownAdjustmentsBlock(signature, body)) {
            adjustmentsRead = true;
            body.skip(4);
            readAdjustments(body, pictures);
        }
    }
}

void writeAlbumExtensions(ByteWriter& out, const std::vector<StoredPicture>& pictures) {
    const auto adjusted = [](const StoredPicture& p) { return !p.Adjustments.empty(); };
    const auto entries = std::count_if(pictures.begin(), pictures.end(), adjusted);
    if (entries == 0) return;
    ByteWriter block;
    block.i32(kAdjustmentsVersion).i32(static_cast<int32_t>(entries));
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const StoredPicture& p = pictures[i];
        if (!adjusted(p)) continue;
        block.i32(static_cast<int32_t>(i))
            .i32(p.Key)
            .i32(static_cast<int32_t>(p.Adjustments.size()));
        for (const Adjustment& a : p.Adjustments)
            block.i32(a.Brightness).i32(a.Contrast).i32(a.Saturation);
    }
    out.bytes(kAdjustmentsSignature, kExtensionSignatureSize);
    out.u32(static_cast<uint32_t>(block.size()));
    out.bytes(block.data().data(), block.size());
}

}  // namespace pr
