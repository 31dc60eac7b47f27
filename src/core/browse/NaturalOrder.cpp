#include "core/browse/NaturalOrder.h"

#include <algorithm>

namespace pr {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

unsigned char folded(char c) {
    return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

// <0, 0, >0 like strcmp, ignoring case and reading digit runs as numbers.
int compareNaturally(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            // Leading zeros say nothing about the number; the longer run of what is left is the
            // larger number, and equally long runs compare digit by digit. No run is converted,
            // so a run of any length is fine.
            while (i < a.size() && a[i] == '0') ++i;
            while (j < b.size() && b[j] == '0') ++j;
            std::size_t ei = i, ej = j;
            while (ei < a.size() && isDigit(a[ei])) ++ei;
            while (ej < b.size() && isDigit(b[ej])) ++ej;
            if (ei - i != ej - j) return ei - i < ej - j ? -1 : 1;
            for (; i < ei; ++i, ++j)
                if (a[i] != b[j]) return a[i] < b[j] ? -1 : 1;
            continue;
        }
        const unsigned char ca = folded(a[i]), cb = folded(b[j]);
        if (ca != cb) return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

}  // namespace

bool naturalLess(const std::string& a, const std::string& b) {
    const int c = compareNaturally(a, b);
    return c != 0 ? c < 0 : a < b;
}

void sortNaturally(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), naturalLess);
}

}  // namespace pr
