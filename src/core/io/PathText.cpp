#include "core/io/PathText.h"

namespace pr {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

PathParts splitAfter(const std::string& path, std::string::size_type folderLength) {
    return {path.substr(0, folderLength), path.substr(folderLength)};
}

}  // namespace

PathParts splitLocalPath(const std::string& path) {
    const std::string::size_type cut = path.find_last_of(kPathSeparator);
    return splitAfter(path, cut == std::string::npos ? 0 : cut + 1);
}

PathParts splitStoredPath(const std::string& path) {
    const std::string::size_type cut = path.find_last_of("/\\");
    if (cut != std::string::npos) return splitAfter(path, cut + 1);
    const bool drive = path.size() >= 2 && path[1] == ':' && isAsciiLetter(path[0]);
    return splitAfter(path, drive ? 2 : 0);
}

std::string WithBackslash(const std::string& path) {
    if (path.empty() || path.back() == kPathSeparator) return path;
    return path + kPathSeparator;
}

std::string fileExtension(const std::string& name) {
    const std::string::size_type dot = name.find_last_of('.');
    if (dot == std::string::npos) return std::string();
    // A dot in a folder name ("photos.2019/scan") is no extension of the file.
    const std::string::size_type separator = name.find_last_of("/\\");
    if (separator != std::string::npos && separator > dot) return std::string();
    return name.substr(dot);
}

}  // namespace pr
