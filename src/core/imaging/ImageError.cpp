#include "core/imaging/ImageError.h"

namespace pr {

std::string imageErrorText(ImageError error, const std::string& detail) {
    std::string text;
    switch (error) {
        case ImageError::None:
            text = "Kein Fehler";
            break;
        case ImageError::CannotOpen:
            text = "Die Datei kann nicht geöffnet werden";
            break;
        case ImageError::UnknownFormat:
            text = "Unbekanntes Bildformat";
            break;
        case ImageError::Damaged:
            text = "Die Bilddatei ist beschädigt";
            break;
        case ImageError::TooLarge:
            text = "Das Bild ist zu groß";
            break;
        case ImageError::OutOfMemory:
            text = "Nicht genug Arbeitsspeicher für das Bild";
            break;
        case ImageError::Unsupported:
            text = "Diese Art von Bilddatei wird nicht unterstützt";
            break;
    }
    if (!detail.empty()) text += " (" + detail + ")";
    return text + ".";
}

}  // namespace pr
