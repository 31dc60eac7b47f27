#pragma once
// The toolbar's glyphs, drawn at start instead of shipped as files: a new page, an opening folder,
// a disk, the disk with a pen for "save as", and two turning arrows for undo and redo.

#include <QIcon>

namespace pr {

class ToolbarGlyphs {
public:
    static constexpr int kSize = 20;

    static QIcon newAlbum();
    static QIcon open();
    static QIcon save();
    static QIcon saveAs();
    static QIcon undo();
    static QIcon redo();
};

}  // namespace pr
