#include "core/io/IoErrorText.h"

#include <cerrno>

namespace pr {

std::string ioErrorText(int code) {
    switch (code) {
        case ENOSPC:
        case EDQUOT:
            return "Der Datenträger ist voll.";
        case EROFS:
            return "Das Ziel ist schreibgeschützt.";
        case EACCES:
        case EPERM:
            return "Der Zugriff wurde verweigert.";
        case EISDIR:
            return "Ist ein Ordner.";
        case ENOENT:
            return "Der Ordner oder die Datei existiert nicht.";
        case ENOTDIR:
            return "Ein Teil des Pfades ist kein Ordner.";
        case ENAMETOOLONG:
            return "Der Name ist zu lang.";
        case ELOOP:
            return "Zu viele symbolische Verknüpfungen im Pfad.";
        case EFBIG:
            return "Die Datei wird zu groß für den Datenträger.";
        case EIO:
            return "Der Datenträger meldet einen Ein-/Ausgabefehler.";
        case ENOMEM:
            return "Nicht genug Arbeitsspeicher.";
        case EMFILE:
        case ENFILE:
            return "Zu viele offene Dateien.";
        case EBUSY:
        case ETXTBSY:
            return "Die Datei wird gerade benutzt.";
        case EXDEV:
            return "Ziel und Zwischendatei liegen auf verschiedenen Datenträgern.";
        case ENXIO:
        case ENODEV:
        case kErrorNotRegularFile:
            return "Das Ziel ist keine gewöhnliche Datei.";
        case kErrorSameAsInput:
            return "Das Ziel ist die Datei, aus der gelesen wird.";
        case ESTALE:
        case ENOTCONN:
        case EHOSTUNREACH:
        case ETIMEDOUT:
            return "Die Verbindung zum Netzlaufwerk ist unterbrochen.";
        default:
            return "Systemfehler Nummer " + std::to_string(code) + ".";
    }
}

}  // namespace pr
