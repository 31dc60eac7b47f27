// libFuzzer target: the album file reader on arbitrary bytes. Seeds live in fuzz/corpus/albumfile/.
//
// Beyond "no crash", every file the reader takes must survive a save and a second read unchanged:
// encode(parse(x)) read again and saved again gives the same bytes, and every picture keeps the
// adjustments read from the extension block (seeds with blocks: adjust40, blocks40, pastend40).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/album/AlbumFileReader.h"
#include "core/album/AlbumFileWriter.h"

namespace {

const char kAlbumPath[] = "/fuzz/album/a.pxr";

bool noDisk(const std::string&, const std::string&) {
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const pr::OldPageGeometry printer{4960, 7016, 600};
    const pr::AlbumReadResult first =
        pr::parseAlbumFile(data, size, kAlbumPath, pr::AlbumSettings{}, printer);
    if (!first.ok()) return 0;
    const std::vector<uint8_t> saved = pr::encodeAlbumFile(first.content, kAlbumPath, noDisk);
    const pr::AlbumReadResult second =
        pr::parseAlbumFile(saved.data(), saved.size(), kAlbumPath, pr::AlbumSettings{}, printer);
    if (!second.ok()) std::abort();
    if (second.content.Pictures.size() != first.content.Pictures.size()) std::abort();
    for (std::size_t i = 0; i < first.content.Pictures.size(); ++i) {
        if (second.content.Pictures[i].Adjustments != first.content.Pictures[i].Adjustments)
            std::abort();
    }
    if (pr::encodeAlbumFile(second.content, kAlbumPath, noDisk) != saved) std::abort();
    return 0;
}
