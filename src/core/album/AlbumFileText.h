#pragma once
// Text and path rules of the album file. Strings are stored as 8-bit text: Windows-1252, which
// albums written on Windows hold, whenever a text can be written so, otherwise UTF-8; albums from
// Windows also hold Windows paths. Everything inside the program is UTF-8 with '/' between folders.

#include <cstddef>
#include <string>

namespace pr {

// A stored string as UTF-8: unchanged when valid UTF-8, otherwise read as Windows-1252 (the
// rule of every stored string, see browse/StoredText.h).
std::string decodeAlbumText(const std::string& stored);
// The bytes a text is stored as: Windows-1252 when every character of it has a Windows-1252 form,
// so the Windows program shows "Groß" as it is; UTF-8 otherwise. A Windows-1252 form that is
// itself valid UTF-8 (such as "Ã¤") would come back as other characters, so such a text is stored
// as UTF-8 too: decodeAlbumText(encodeAlbumText(t)) == t for every UTF-8 text t.
std::string encodeAlbumText(const std::string& text);
// The longest prefix of at most `maxBytes` bytes that does not cut a UTF-8 sequence in two.
std::string clipAlbumText(const std::string& text, std::size_t maxBytes);

struct AlbumPathParts {
    std::string folder;  // up to and including the last '/', '\\' or drive colon; may be empty
    std::string name;    // the rest; folder + name is the whole path
};

// Splits a stored or program path. '/' and '\\' both separate, so "C:\\Fotos\\a.jpg" from Windows
// gives the name "a.jpg"; a drive colon ("C:a.jpg") ends the folder too. A colon elsewhere is an
// ordinary character of a Linux file name ("12:30.jpg").
AlbumPathParts splitAlbumPath(const std::string& path);

// The folder of the album file with a trailing '/' (empty when the path has no folder part, so
// bare names stay relative to the working folder instead of becoming the root folder).
std::string albumFolderOf(const std::string& albumPath);

// Reading: a non-empty stored path without folder part lies in the album's folder.
std::string resolveStoredPath(const std::string& stored, const std::string& albumFolder);

}  // namespace pr
