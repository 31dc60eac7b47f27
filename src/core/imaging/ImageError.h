#pragma once
// Why a picture could not be read or made. The German text the user sees is made in one place,
// imageErrorText(); readers only pick the code and, where it helps, a short detail.

#include <string>

namespace pr {

enum class ImageError {
    None,
    CannotOpen,     // the file cannot be opened or read
    UnknownFormat,  // no reader recognises the content
    Damaged,        // the header or the data is broken
    TooLarge,       // the picture exceeds the limits
    OutOfMemory,    // the allocation failed although within the limits
    Unsupported,    // a valid file of a variant we do not read
};

// German message, always longer than 5 characters; `detail` (may be empty) is appended.
std::string imageErrorText(ImageError error, const std::string& detail = {});

}  // namespace pr
