#pragma once
// Paths as the browser and the album files handle them: 8-bit (UTF-8) text with '/' between the
// parts. Stored paths may come from Windows, so splitting accepts '\\' as well.

#include <string>

namespace pr {

constexpr char kPathSeparator = '/';

// `path` with the separator appended when its last character is not one. An empty path stays
// empty: appending would turn "no folder" into the root folder.
std::string WithBackslash(const std::string& path);

struct StoredPathParts {
    std::string folder;  // up to and including the last separator; empty when there is none
    std::string name;    // after the last separator; folder + name == the whole path
};

// Splits at the last '/' or '\\', so "C:\\Bilder\\a.jpg" from an album written on Windows yields
// the name "a.jpg" that the album's own folder can be searched for.
StoredPathParts splitStoredPath(const std::string& path);

// The extension of a file name from its last dot on, dot included ("a.tar.JPG" gives ".JPG");
// empty when the name (after its last separator) has no dot.
std::string fileExtension(const std::string& name);

}  // namespace pr
