#pragma once
// How many bytes of decoded pictures the process keeps (imaging/RenditionCache.h). The window
// keeps 512 MB by default: enough for every picture of a page at any zoom and the thumbnails of
// the strip, whatever the album's size. Printing without the window goes through the pages once,
// so it keeps little more than the two pages it works on (128 MB), and its memory is reused from
// page to page instead of being taken fresh.
//
// The environment variable PIXO_RAHMLER_BILDSPEICHER_MB (whole megabytes, at least 32) sets
// another budget for either.

#include <cstddef>

namespace pr {

constexpr std::size_t kWindowPixelBudget = std::size_t{512} << 20;
constexpr std::size_t kPrintPixelBudget = std::size_t{128} << 20;

// Sets the shared cache's budget: the variable's value when it holds one, else `fallback`.
// Returns the budget set.
std::size_t applyPixelBudget(std::size_t fallback);

}  // namespace pr
