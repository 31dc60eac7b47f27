#include "core/io/UpperText.h"

namespace pr {

namespace {
char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
}  // namespace

std::string UpperText(const std::string& text) {
    std::string out(text);
    for (char& c : out) c = upper(c);
    return out;
}

bool equalsUpperText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::string::size_type i = 0; i < a.size(); ++i) {
        if (upper(a[i]) != upper(b[i])) return false;
    }
    return true;
}

}  // namespace pr
