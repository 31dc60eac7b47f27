#pragma once
// The QImage of a rendition: Format_RGB32 over the rendition's own pixels (no copy), made once
// per rendition and then handed out again. Every drawing of one rendition therefore gives the
// device the same image (same cacheKey()): the PDF engine embeds it once however often it is
// placed, and no paint engine converts it.

#include <QImage>

#include "core/imaging/Rendition.h"

namespace pr {

QImage renditionImage(const Rendition& rendition);

}  // namespace pr
