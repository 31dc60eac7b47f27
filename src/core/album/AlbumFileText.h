#pragma once
// Text and path rules of the album file. Strings are stored as 8-bit text: this program writes
// UTF-8, albums written on Windows hold Windows-1252 (read with decodeStoredText, io/StoredText.h)
// and Windows paths (split with splitStoredPath, io/PathText.h). Everything inside the program is
// UTF-8 with '/' between folders.

#include <string>

namespace pr {

// The folder part of the album file's path, separator included (empty when the path has none, so
// bare names stay relative to the working folder instead of becoming the root folder).
std::string albumFolderOf(const std::string& albumPath);

// Reading: a non-empty stored path without folder part lies in the album's folder.
std::string resolveStoredPath(const std::string& stored, const std::string& albumFolder);

}  // namespace pr
