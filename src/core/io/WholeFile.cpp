#include "core/io/WholeFile.h"

#include "core/io/InputFile.h"

namespace pr {

FileReadStatus readWholeFile(const std::string& path, std::vector<uint8_t>& out,
                             uint64_t maxBytes) {
    out.clear();
    InputFile file;
    if (!file.open(path)) return FileReadStatus::CannotOpen;
    if (file.size() > maxBytes) return FileReadStatus::TooLarge;
    if (!file.readUpTo(out, file.size())) {
        out.clear();
        return FileReadStatus::ReadFailed;
    }
    return FileReadStatus::Ok;
}

}  // namespace pr
