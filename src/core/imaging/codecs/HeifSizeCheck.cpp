#include "core/imaging/codecs/HeifSizeCheck.h"

#include <map>
#include <vector>

#include "core/imaging/codecs/HevcPictureSize.h"
#include "core/imaging/codecs/IsoBoxes.h"

namespace pr {
namespace {

struct Item {
    char type[4] = {0, 0, 0, 0};
    uint32_t width = 0, height = 0;  // announced (ispe); 0 when not
    const IsoBox* hvcC = nullptr;
    const uint8_t* data = nullptr;  // the first extent of the item's data
    size_t dataSize = 0;
    bool outside = false;  // an extent reaches beyond the box or file that holds it
};

uint64_t readSized(ByteReader& in, unsigned bytes) {
    return bytes == 8 ? in.u64() : bytes == 4 ? in.u32() : bytes == 2 ? in.u16() : 0;
}

uint32_t fullBoxFlags(ByteReader& in, uint8_t& version) {
    version = in.u8();
    return (uint32_t{in.u8()} << 16) | (uint32_t{in.u8()} << 8) | in.u8();
}

void readTypes(const IsoBox& iinf, std::map<uint32_t, Item>& items) {
    ByteReader in(iinf.payload, iinf.size, ByteOrder::Big);
    uint8_t version = 0;
    fullBoxFlags(in, version);
    version == 0 ? in.u16() : in.u32();  // entry count: the boxes say it too
    IsoBox infe;
    while (nextIsoBox(in, infe)) {
        ByteReader e(infe.payload, infe.size, ByteOrder::Big);
        uint8_t v = 0;
        fullBoxFlags(e, v);
        if (v < 2) continue;
        const uint32_t id = v == 2 ? e.u16() : e.u32();
        e.u16();  // protection index
        const uint8_t* type = e.take(4);
        if (type) std::memcpy(items[id].type, type, 4);
    }
}

void readProperties(const IsoBox& ipco, const IsoBox& ipma, std::vector<IsoBox>& properties,
                    std::map<uint32_t, Item>& items) {
    properties.assign(1, IsoBox());  // numbered from 1
    ByteReader list(ipco.payload, ipco.size, ByteOrder::Big);
    IsoBox box;
    while (nextIsoBox(list, box)) properties.push_back(box);

    ByteReader in(ipma.payload, ipma.size, ByteOrder::Big);
    uint8_t version = 0;
    const uint32_t flags = fullBoxFlags(in, version);
    const uint32_t entries = in.u32();
    for (uint32_t e = 0; e < entries && in.ok(); ++e) {
        const uint32_t id = version < 1 ? in.u16() : in.u32();
        const uint8_t count = in.u8();
        for (uint8_t a = 0; a < count && in.ok(); ++a) {
            const uint32_t index = (flags & 1) ? in.u16() & 0x7FFF : in.u8() & 0x7F;
            if (!in.ok() || index == 0 || index >= properties.size()) continue;
            const IsoBox& p = properties[index];
            Item& item = items[id];
            if (p.is("hvcC")) item.hvcC = &p;
            if (p.is("ispe")) {
                ByteReader ispe(p.payload, p.size, ByteOrder::Big);
                ispe.skip(4);
                const uint32_t w = ispe.u32(), h = ispe.u32();
                if (ispe.ok()) item.width = w, item.height = h;
            }
        }
    }
}

void readLocations(const IsoBox& iloc, const IsoBox* idat, const uint8_t* file, size_t fileSize,
                   std::map<uint32_t, Item>& items) {
    ByteReader in(iloc.payload, iloc.size, ByteOrder::Big);
    uint8_t version = 0;
    fullBoxFlags(in, version);
    const uint8_t sizes = in.u8(), more = in.u8();
    const unsigned offsetSize = sizes >> 4, lengthSize = sizes & 15, baseSize = more >> 4;
    const unsigned indexSize = version >= 1 ? more & 15 : 0;
    const uint32_t count = version < 2 ? in.u16() : in.u32();
    for (uint32_t i = 0; i < count && in.ok(); ++i) {
        const uint32_t id = version < 2 ? in.u16() : in.u32();
        const unsigned method = version >= 1 ? in.u16() & 15 : 0;
        in.u16();  // data reference
        const uint64_t base = readSized(in, baseSize);
        const uint16_t extents = in.u16();
        for (uint16_t x = 0; x < extents && in.ok(); ++x) {
            readSized(in, indexSize);
            const uint64_t offset = base + readSized(in, offsetSize);
            const uint64_t length = readSized(in, lengthSize);
            if (!in.ok() || method > 1) continue;  // offsets into other items are not followed
            // libheif reads an extent past the end of "idat" from whatever follows it.
            const uint8_t* from = method == 0 ? file : idat ? idat->payload : nullptr;
            const size_t size = method == 0 ? fileSize : idat ? idat->size : 0;
            Item& item = items[id];
            if (!from || offset > size || length > size - offset) {
                item.outside = true;
            } else if (x == 0) {
                item.data = from + offset;
                item.dataSize = static_cast<size_t>(length == 0 ? size - offset : length);
            }
        }
    }
}

uint64_t roundUp64(uint32_t v) {
    return (uint64_t{v} + 63) / 64 * 64;
}

// The output size of a grid or overlay description.
bool derivedSize(const Item& item, uint32_t& width, uint32_t& height) {
    const bool grid = std::memcmp(item.type, "grid", 4) == 0;
    const bool overlay = std::memcmp(item.type, "iovl", 4) == 0;
    if ((!grid && !overlay) || !item.data) return false;
    ByteReader in(item.data, item.dataSize, ByteOrder::Big);
    in.u8();  // version
    const bool wide = (in.u8() & 1) != 0;
    in.skip(grid ? 2 : 8);  // rows and columns, or the canvas fill colour
    width = wide ? in.u32() : in.u16();
    height = wide ? in.u32() : in.u16();
    return in.ok();
}

bool itemFits(const Item& item) {
    if (item.outside) return false;
    if (item.width == 0 || item.height == 0) return true;
    uint32_t w = 0, h = 0;
    if (derivedSize(item, w, h) && (w > item.width || h > item.height)) return false;
    HevcSize coded;
    if (item.hvcC && hevcCodedSize(item.hvcC->payload, item.hvcC->size, coded) &&
        (coded.width > roundUp64(item.width) || coded.height > roundUp64(item.height)))
        return false;
    return true;
}

}  // namespace

bool heifSizesFit(const uint8_t* data, size_t size) {
    IsoBox meta, iinf, iprp, ipco, ipma, iloc, idat;
    if (!findIsoBox(data, size, "meta", meta) || meta.size < 4) return true;
    const uint8_t* boxes = meta.payload + 4;
    const size_t boxesSize = meta.size - 4;
    if (!findIsoBox(boxes, boxesSize, "iprp", iprp) ||
        !findIsoBox(iprp.payload, iprp.size, "ipco", ipco) ||
        !findIsoBox(iprp.payload, iprp.size, "ipma", ipma))
        return true;
    std::map<uint32_t, Item> items;
    std::vector<IsoBox> properties;
    if (findIsoBox(boxes, boxesSize, "iinf", iinf)) readTypes(iinf, items);
    readProperties(ipco, ipma, properties, items);
    if (findIsoBox(boxes, boxesSize, "iloc", iloc)) {
        const bool hasIdat = findIsoBox(boxes, boxesSize, "idat", idat);
        readLocations(iloc, hasIdat ? &idat : nullptr, data, size, items);
    }
    for (const auto& entry : items)
        if (!itemFits(entry.second)) return false;
    return true;
}

}  // namespace pr
