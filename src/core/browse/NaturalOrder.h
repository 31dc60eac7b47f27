#pragma once
// The order of names in which the thumbnail browser walks a folder: the order of the file list
// beside it. Letters compare without regard to case, and a run of digits compares as the number it
// is, so "Bild2" comes before "bild10". Names that compare equal that way keep a fixed order by
// their bytes, so a folder is always walked the same way.
//
// Only a to z are folded; other letters compare by their UTF-8 bytes.

#include <string>
#include <vector>

namespace pr {

bool naturalLess(const std::string& a, const std::string& b);

// The names sorted by naturalLess.
void sortNaturally(std::vector<std::string>& names);

}  // namespace pr
