#pragma once
// The page-drawing options of an album's stored settings, for drawing without the window (the
// command line): the same values the layout tab's controls would hold after opening the album.

#include "core/album/AlbumSettings.h"
#include "render/PageRenderer.h"

namespace pr {

// Fit/crop rule, file-name captions, caption background and its transparency, and the caption
// font (name, points, style, colour). Zoom 100, page 1, no grid, no selection; the caller sets
// the resolution (PagePrinter::printerOptions).
PageRenderOptions pageOptionsFromAlbum(const AlbumSettings& settings);

// A stored colour (0x00BBGGRR, or a system colour with the high bit set) as Qt sees it; system
// colours become `systemColour`, since there is no desktop to ask.
QColor storedColour(uint32_t bgr, const QColor& systemColour);

QFont captionFontOf(const CaptionFont& font);

}  // namespace pr
