#pragma once
// AlbumSettings: every album-wide setting the album file keeps. The window copies its controls into
// one of these before saving and copies a read value back into the controls; core code never looks
// at a control. The defaults are the controls' values at start.
//
// Values are held as the controls hold them (margin and spacing may have fractions); the album file
// stores zoom, margin and spacing truncated toward zero, so 7.9 mm comes back as 7 mm.

#include <cstdint>
#include <string>

namespace pr {

// The caption font, field for field as the album file stores it.
struct CaptionFont {
    // "Window text" in the system-colour form (high bit set, index 8): the caption follows the
    // desktop's text colour unless the user picked a real colour.
    static constexpr uint32_t kWindowTextColor = 0x80000008u;

    enum Pitch : uint8_t { kPitchDefault = 0, kPitchVariable = 1, kPitchFixed = 2 };
    enum Style : uint8_t { kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8 };

    uint8_t Charset = 0;  // 0 = ANSI
    uint32_t Color = kWindowTextColor;
    std::string Name = "Arial";  // UTF-8; the file holds at most 255 bytes of it
    uint8_t Pitch = kPitchDefault;
    int32_t PixelsPerInch = 96;
    int32_t Size = 11;  // points: 11 pt is -15 pixels high at 96 pixels per inch
    uint8_t Style = 0;  // Style bits; other bits are kept as read

    bool operator==(const CaptionFont& o) const {
        return Charset == o.Charset && Color == o.Color && Name == o.Name && Pitch == o.Pitch &&
               PixelsPerInch == o.PixelsPerInch && Size == o.Size && Style == o.Style;
    }
    bool operator!=(const CaptionFont& o) const { return !(*this == o); }
};

struct AlbumSettings {
    bool ShowFNames = false;        // file name under a picture without caption
    bool SverhCheck = true;         // keep the aspect ratio when drawing
    double Zoom = 25;               // page view, percent (10..9000)
    double Margin = 15;             // automatic arrangement, mm
    double Spacing = 5;             // automatic arrangement, mm
    bool TranspCheck = false;       // transparent caption background
    uint32_t BkColor = 0x00FFFFFF;  // caption background, 0x00BBGGRR
    bool CutDefault = false;        // FitCrop of new placements
    bool EnhanceQualCheck = true;   // raise resolution to the minimum quality
    bool UseGridCheck = true;       // snap to the grid
    bool ShowGridCheck = false;
    double MinQual = 72;         // dots per inch
    double DefaultWidth = 130;   // mm, new placements
    double DefaultHeight = 100;  // mm, new placements
    double GridSpacing = 5;      // mm
    CaptionFont Font;

    bool operator==(const AlbumSettings& o) const {
        return ShowFNames == o.ShowFNames && SverhCheck == o.SverhCheck && Zoom == o.Zoom &&
               Margin == o.Margin && Spacing == o.Spacing && TranspCheck == o.TranspCheck &&
               BkColor == o.BkColor && CutDefault == o.CutDefault &&
               EnhanceQualCheck == o.EnhanceQualCheck && UseGridCheck == o.UseGridCheck &&
               ShowGridCheck == o.ShowGridCheck && MinQual == o.MinQual &&
               DefaultWidth == o.DefaultWidth && DefaultHeight == o.DefaultHeight &&
               GridSpacing == o.GridSpacing && Font == o.Font;
    }
    bool operator!=(const AlbumSettings& o) const { return !(*this == o); }
};

}  // namespace pr
