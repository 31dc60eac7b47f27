#pragma once
// How the 8-bit pixels that a picture library hands out are laid out, for the colour conversion
// and for writing them into a 24-bit picture row.

namespace pr {

enum class PixelLayout {
    Rgb,        // red, green, blue
    Rgba,       // red, green, blue, alpha
    Bgr,        // blue, green, red: the layout of a 24-bit picture row
    Bgra,       // blue, green, red, alpha
    Grey,       // one grey value
    GreyAlpha,  // grey, alpha
};

inline int bytesPerPixel(PixelLayout layout) {
    switch (layout) {
        case PixelLayout::Rgb:
        case PixelLayout::Bgr:
            return 3;
        case PixelLayout::Rgba:
        case PixelLayout::Bgra:
            return 4;
        case PixelLayout::Grey:
            return 1;
        case PixelLayout::GreyAlpha:
            return 2;
    }
    return 3;
}

inline bool hasAlpha(PixelLayout layout) {
    return layout == PixelLayout::Rgba || layout == PixelLayout::Bgra ||
           layout == PixelLayout::GreyAlpha;
}

inline bool isGrey(PixelLayout layout) {
    return layout == PixelLayout::Grey || layout == PixelLayout::GreyAlpha;
}

}  // namespace pr
