#pragma once
// Strings stored in the program's files (folders.dat, album files) are the system's 8-bit
// encoding, which on Linux is UTF-8. Files written on Windows hold Windows-1252 instead; a string
// that is not valid UTF-8 is taken to be one of those and converted, so every string inside the
// program is UTF-8.

#include <cstddef>
#include <string>

namespace pr {

// Length of the UTF-8 sequence that starts at data[i], or 0 when none does. Strict: no overlong
// forms, no surrogates, nothing above U+10FFFF, no cut-off sequence.
std::size_t utf8SequenceLength(const char* data, std::size_t size, std::size_t i);

// Every byte belongs to a strict UTF-8 sequence.
bool isValidUtf8(const char* data, std::size_t size);
inline bool isValidUtf8(const std::string& text) {
    return isValidUtf8(text.data(), text.size());
}

// Every byte as the Windows-1252 character it stands for. The five bytes that Windows-1252
// leaves undefined (81, 8D, 8F, 90, 9D) become the control characters of the same number, as
// Windows itself converts them, so no byte is lost.
std::string windows1252ToUtf8(const std::string& text);

// The stored string as UTF-8: unchanged when it is valid UTF-8, otherwise from Windows-1252.
std::string decodeStoredText(const std::string& stored);

// The UTF-8 text in Windows-1252, the inverse of windows1252ToUtf8: false (and `out` unusable)
// when a character has no Windows-1252 form or `utf8` is not valid UTF-8.
bool utf8ToWindows1252(const std::string& utf8, std::string& out);

// The bytes an album text is stored as: Windows-1252 when every character of it has a
// Windows-1252 form, so the Windows program shows "Groß" as it is; UTF-8 otherwise. A
// Windows-1252 form that is itself valid UTF-8 (such as "Ã¤") would come back as other
// characters, so such a text is stored as UTF-8 too: decodeStoredText(encodeStoredText(t)) == t
// for every UTF-8 text t.
std::string encodeStoredText(const std::string& text);

// The longest prefix of at most `maxBytes` bytes that does not cut a UTF-8 sequence in two (a
// byte that is no UTF-8 counts as a character of its own).
std::string clipUtf8(const std::string& text, std::size_t maxBytes);

}  // namespace pr
