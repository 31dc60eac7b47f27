#pragma once
// Case folding for names compared "without regard to case": only the letters a..z, so that the
// bytes of UTF-8 (and of Windows-1252) sequences are never changed and the comparison does not
// depend on a locale.

#include <string>

namespace pr {

// `text` with a..z turned into A..Z; every other byte unchanged.
std::string UpperText(const std::string& text);

// True when both texts are equal after UpperText.
bool equalsUpperText(const std::string& a, const std::string& b);

}  // namespace pr
