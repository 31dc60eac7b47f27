#pragma once
// Why reading or writing a file failed, in German, made in one place. The operating system's own
// texts ("No space left on device") are English and never reach the user; every message that
// names a failed file operation appends ioErrorText() of the errno value that ended it.

#include <string>

namespace pr {

// Codes of our own next to the errno values (which are all positive).
// The target exists but is a device, a FIFO or a socket, which a save would replace or block on.
constexpr int kErrorNotRegularFile = -1;
// The output would overwrite the file it is made from.
constexpr int kErrorSameAsInput = -2;

// One German sentence, ending with a full stop; a code without its own text is named by number.
std::string ioErrorText(int code);

}  // namespace pr
