#pragma once
// The arithmetic of a single-picture print ("Bild drucken..."): where the picture goes on the
// printable page, where it goes in the small sheet preview, and how the two percentage fields
// follow each other while the proportions are kept. Pure functions over whole pixels; "div"
// truncates toward zero, nearest() rounds halves to even, products are formed in 64 bits so a
// 24-megapixel picture on a 1200 dpi page cannot overflow.

#include <cstdint>

namespace pr {

struct SinglePictureChoice {
    bool fullPage = true;    // "Seite voll nutzen"; otherwise "Benutzerdefiniert"
    bool keepAspect = true;  // "Seitenverhältnis beibehalten"
    bool centred = true;     // "Zentrierte Ausgabe"
    int widthPercent = 50;   // "Breite in %:" 1..100
    int heightPercent = 50;  // "Höhe in %:" 1..100
};

struct PictureRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const PictureRect& o) const {
        return x == o.x && y == o.y && w == o.w && h == o.h;
    }
};

// The picture on a page of pageW x pageH pixels. With the whole page and the proportions kept it
// fills the side that limits it; "Benutzerdefiniert" takes the percentages of the page as they
// are (the fields themselves keep them in proportion). Centred or at the page's top-left corner.
// A picture or page without area gives an empty rectangle.
PictureRect singlePictureRect(int pageW, int pageH, int imgW, int imgH,
                              const SinglePictureChoice& choice);

// The white sheet in the preview box: the page scaled to fill the box's width (landscape) or
// height (portrait), centred in the box.
PictureRect previewSheet(int boxW, int boxH, int pageW, int pageH);

// The height percentage that matches `widthPercent` on that page with the picture's proportions
// (imgH x width / imgW x pageW / pageH, in floating point), and the mirror image. The caller
// truncates and limits to 1..100.
double matchingHeightPercent(int widthPercent, int imgW, int imgH, int pageW, int pageH);
double matchingWidthPercent(int heightPercent, int imgW, int imgH, int pageW, int pageH);

}  // namespace pr
