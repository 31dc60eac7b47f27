#pragma once
// The file names that the output tab proposes and completes.
//
// "Als Bild speichern..." proposes "Seite N.png" in the folder of the last export, or else in the
// user's pictures folder, or else in the home folder; a folder that does not exist is never
// proposed (a save dialog would take its name for the file's). The dialog offers one filter per
// format, and a name typed without extension gets the extension of the chosen filter.
//
// "Go!" into a file proposes "<album name>.pdf" beside the album ("Unbenannt.pdf" for an untitled
// album), or in the documents folder when the album has no folder yet.

#include <QString>
#include <QStringList>

namespace pr {

class OutputFileNames {
public:
    // "PNG-Bild (*.png)", "JPEG-Bild (*.jpg *.jpeg)", ... in the order the dialog shows them.
    static QStringList exportFilters();
    // The first extension of a filter ("jpg" for "JPEG-Bild (*.jpg *.jpeg)"); empty without one.
    static QString suffixOf(const QString& filter);
    // `path` with the filter's extension added when the file name has none.
    static QString completed(const QString& path, const QString& filter);

    // The first of the folders that exists; the home folder when none does.
    static QString firstExistingFolder(const QStringList& candidates);
    // "Seite N.png" in the first existing of `lastFolder`, the pictures folder and home.
    static QString exportProposal(const QString& lastFolder, int page);
    // "<album name>.pdf" beside the album, or in the documents folder for an untitled album.
    static QString printFileProposal(const QString& albumPath);
};

}  // namespace pr
