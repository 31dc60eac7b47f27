#include "core/album/AlbumFileMessages.h"

#include "core/io/IoErrorText.h"
#include "core/io/PathText.h"

namespace pr {

std::string albumSaveFailedMessage(const std::string& albumPath, int error) {
    std::string text = "Pixo-Rahmler Datei speichern: Konnte die Datei " +
                       splitStoredPath(albumPath).name + " nicht erstellen!";
    if (error != 0) text += "\n" + ioErrorText(error);
    return text;
}

std::string albumOpenFailedMessage(const std::string& albumPath) {
    return "Pixo-Rahmler Datei öffnen: Konnte die Datei " + splitStoredPath(albumPath).name +
           " nicht öffnen!";
}

std::string albumInvalidMessage() {
    return "Die Datei ist keine gültige Pixo-Rahmler Datei!";
}

std::string albumPictureMissingMessage(const std::string& picturePath) {
    return "Konnte das Bild " + splitStoredPath(picturePath).name + " nicht öffnen!";
}

std::string albumOutOfMemoryMessage() {
    return "Das Album konnte nicht vollständig geladen werden (Speichermangel?).";
}

}  // namespace pr
