#include "core/io/PathText.h"

namespace pr {

std::string WithBackslash(const std::string& path) {
    if (path.empty() || path.back() == kPathSeparator) return path;
    return path + kPathSeparator;
}

StoredPathParts splitStoredPath(const std::string& path) {
    const std::string::size_type cut = path.find_last_of("/\\");
    if (cut == std::string::npos) return {std::string(), path};
    return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

std::string fileExtension(const std::string& name) {
    const std::string::size_type dot = name.find_last_of('.');
    if (dot == std::string::npos) return std::string();
    const std::string::size_type separator = name.find_last_of("/\\");
    // A dot in a folder name ("photos.2019/scan") is no extension of the file.
    if (separator != std::string::npos && separator > dot) return std::string();
    return name.substr(dot);
}

}  // namespace pr
