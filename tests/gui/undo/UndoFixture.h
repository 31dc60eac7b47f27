#pragma once
// The layout tab of the editing tests with an album history, and the album's state as bytes: the
// album file the writer makes of it, followed by what the file does not keep (each picture's
// adjustments and enlargement), so that "restored" means restored in every value.

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "../editing/EditingFixture.h"
#include "ModalScript.h"
#include "core/album/AlbumFileWriter.h"
#include "gui/undo/AlbumHistory.h"

namespace undotest {

inline std::vector<uint8_t> albumState(const pr::Album& album) {
    std::vector<uint8_t> bytes = pr::encodeAlbumFile(
        pr::albumFileContentOf(album, pr::AlbumSettings()), std::string(), pr::SameFolderFn());
    auto add = [&bytes](int32_t v) {
        const auto* b = reinterpret_cast<const uint8_t*>(&v);
        bytes.insert(bytes.end(), b, b + sizeof v);
    };
    for (const pr::AlbumImage& p : album.Pictures) {
        add(p.EnlargedWidth);
        add(p.EnlargedHeight);
        add(static_cast<int32_t>(p.Adjustments.size()));
        for (const pr::Adjustment& a : p.Adjustments) {
            add(a.Brightness);
            add(a.Contrast);
            add(a.Saturation);
        }
    }
    return bytes;
}

using testsupport::ModalScript;

class UndoTest : public editingtest::EditingTest {
protected:
    UndoTest() : history(album) { tab.setHistory(&history, &undoAction, &redoAction); }

    void undo() { history.undo(); }
    void redo() { history.redo(); }
    int steps() const { return history.stack().count(); }

    pr::AlbumHistory history;
    QAction undoAction{QStringLiteral("Rückgängig")};
    QAction redoAction{QStringLiteral("Wiederholen")};
};

}  // namespace undotest
