#include "core/browse/FileCheck.h"

#include <sys/stat.h>

namespace pr {

namespace {
uint64_t mix(uint64_t z) {  // splitmix64's finaliser: every input bit moves every output bit
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
}  // namespace

int32_t fileCheckFor(uint64_t size, int64_t modifiedSeconds, int64_t modifiedNanoseconds) {
    uint64_t h = mix(size + 0x9E3779B97F4A7C15ull);
    h = mix(h ^ static_cast<uint64_t>(modifiedSeconds));
    h = mix(h ^ static_cast<uint64_t>(modifiedNanoseconds));
    const auto value = static_cast<int32_t>(static_cast<uint32_t>(h ^ (h >> 32)));
    return value == 0 ? 1 : value;
}

std::optional<int32_t> fileCheck(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return fileCheckFor(static_cast<uint64_t>(st.st_size), static_cast<int64_t>(st.st_mtim.tv_sec),
                        static_cast<int64_t>(st.st_mtim.tv_nsec));
}

}  // namespace pr
