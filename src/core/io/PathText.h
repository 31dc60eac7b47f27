#pragma once
// Paths as the program handles them: 8-bit (UTF-8) text with '/' between the parts. Two rules
// split a path into folder and name:
//  - a local path (one the program opens or writes) is split at its last '/' only: on Linux a
//    backslash or a colon is an ordinary character of a name;
//  - a stored path (one an album file or a cache holds, possibly written on Windows) is split at
//    its last '/' or '\\', and "C:a.jpg" has the folder "C:", so "C:\\Bilder\\a.jpg" from an
//    album written on Windows yields the name "a.jpg" that the album's own folder can be searched
//    for. A colon elsewhere stays part of the name ("12:30.jpg").

#include <string>

namespace pr {

constexpr char kPathSeparator = '/';

struct PathParts {
    std::string folder;  // up to and including the last separator; empty when there is none
    std::string name;    // the rest; folder + name == the whole path
};

PathParts splitLocalPath(const std::string& path);
PathParts splitStoredPath(const std::string& path);

// `path` with the separator appended when its last character is not one. An empty path stays
// empty: appending would turn "no folder" into the root folder.
std::string WithBackslash(const std::string& path);

// The extension of a file name from its last dot on, dot included ("a.tar.JPG" gives ".JPG");
// empty when the name (after its last separator) has no dot.
std::string fileExtension(const std::string& name);

}  // namespace pr
