// libFuzzer target: the folders.dat reader on arbitrary bytes, whole and fed in pieces, and the
// list written back must read back the same. Seeds: fuzz/corpus/folders/.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/browse/FavouriteFolders.h"
#include "core/browse/FoldersFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> whole = pr::parseFoldersFile(data, size);

    pr::FoldersFileParser parser;
    const std::size_t piece = size > 0 ? 1 + data[0] % 7 : 1;
    for (std::size_t i = 0; i < size; i += piece) parser.feed(data + i, std::min(piece, size - i));
    if (parser.finish() != whole) std::abort();

    for (const std::string& folder : whole) {
        if (!pr::isStorableFavourite(folder)) std::abort();
    }
    const std::string written = pr::formatFoldersFile(whole);
    const std::vector<std::string> again =
        pr::parseFoldersFile(reinterpret_cast<const uint8_t*>(written.data()), written.size());
    if (again != whole) std::abort();

    std::vector<std::string> list = whole;
    if (!whole.empty()) pr::moveFolderToTop(list, whole.back());
    return 0;
}
