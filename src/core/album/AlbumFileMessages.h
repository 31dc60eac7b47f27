#pragma once
// The German texts of the album file, made in one place. The window shows each in a box with the
// caption kAlbumFileErrorCaption, an OK button and the error icon.

#include <string>

namespace pr {

constexpr char kAlbumFileErrorCaption[] = "Fehler";

// Saving failed anywhere (folder not writable, disk full, write error); the old file is intact.
// With the errno value of the failure (0: unknown) its German reason follows on a second line.
std::string albumSaveFailedMessage(const std::string& albumPath, int error = 0);
// The file could not be opened or read.
std::string albumOpenFailedMessage(const std::string& albumPath);
// Unknown header, or a damaged file (cut short, impossible counts or lengths).
std::string albumInvalidMessage();
// One picture of the album could not be loaded; reading went on.
std::string albumPictureMissingMessage(const std::string& picturePath);
// The loaded album did not fit in memory; the album is left empty.
std::string albumOutOfMemoryMessage();

}  // namespace pr
