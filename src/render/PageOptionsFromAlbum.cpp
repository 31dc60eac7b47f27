#include "render/PageOptionsFromAlbum.h"

namespace pr {

QColor storedColour(uint32_t bgr, const QColor& systemColour) {
    if (bgr & 0x80000000u) return systemColour;
    return QColor(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

QFont captionFontOf(const CaptionFont& stored) {
    QFont font = PageRenderOptions::defaultCaptionFont();
    if (!stored.Name.empty()) font.setFamily(QString::fromStdString(stored.Name));
    // Sizes at or below zero are not sizes; keep the default rather than a font Qt refuses.
    if (stored.Size > 0) font.setPointSize(stored.Size);
    font.setBold(stored.Style & CaptionFont::kBold);
    font.setItalic(stored.Style & CaptionFont::kItalic);
    font.setUnderline(stored.Style & CaptionFont::kUnderline);
    font.setStrikeOut(stored.Style & CaptionFont::kStrikeOut);
    return font;
}

PageRenderOptions pageOptionsFromAlbum(const AlbumSettings& settings) {
    PageRenderOptions o;
    o.zoom = 100;
    o.page = 1;
    o.keepAspect = settings.SverhCheck;
    o.showFileNames = settings.ShowFNames;
    o.transparentCaptions = settings.TranspCheck;
    o.captionBackground = storedColour(settings.BkColor, Qt::white);
    o.captionFont = captionFontOf(settings.Font);
    // "Window text" of a desktop is black nearly everywhere, and paper has no desktop.
    o.captionColour = storedColour(settings.Font.Color, Qt::black);
    o.showGrid = false;
    o.selected = -1;
    return o;
}

}  // namespace pr
