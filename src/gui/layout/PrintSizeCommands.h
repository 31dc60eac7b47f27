#pragma once
// The print-size commands of a placement's popup menu: "Format" sets the frame to an exact photo
// size (or the printable page) in the picture's orientation, and "Seite füllen mit..." fills the
// rest of the page with copies of the frame in rows.

#include <QObject>

#include "core/album/Album.h"

namespace pr {

class PlacementEditor;
class TLayoutTab;

class PrintSizeCommands : public QObject {
    Q_OBJECT
public:
    PrintSizeCommands(TLayoutTab& tab, PlacementEditor& editor, Album& album);

    // `format` indexes printFormats(); -1 is the printable page ("Wie Seite").
    void setFormat(int format);
    // Returns the number of copies placed (the status bar says it too).
    int fillPage();

private:
    TLayoutTab& tab_;
    PlacementEditor& editor_;
    Album& album_;
};

}  // namespace pr
