#pragma once
// AlbumHistory: "Rückgängig" and "Wiederholen" for every change of the album: placing, moving,
// resizing, the position dialog, deleting a placement, automatic arrangement, "Alle übernehmen",
// print formats and "Seite füllen mit...", fit/crop, quarter turns, brightness/contrast/
// saturation, captions, adding, removing and ordering pictures. Built on QUndoStack; each kind of
// change has its own command class (AlbumCommand).
//
// Memory: the commands hold values only (placements, keys, captions, recipes), never pixels, and
// the history keeps the last kUndoLimit steps. Undoing the adding of pictures lets their pixels
// go; redoing it reads the files again.
//
// "Neu" and "Öffnen..." clear the history; saving does not, and undoing back to the saved state
// makes the album count as saved again (the window compares the content, SavedAlbumState).
// Undo and redo are refused while refusal() says the window is busy (an album change or a print
// under way, a drag on the page): they would change the album under that work.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUndoStack>
#include <cstdint>
#include <functional>

#include "core/album/PictureEntries.h"
#include "core/imaging/Progress.h"

class QAction;

namespace pr {

class Album;
class AlbumCommand;

class AlbumHistory : public QObject {
    Q_OBJECT
public:
    static constexpr int kUndoLimit = 100;

    explicit AlbumHistory(Album& album, QObject* parent = nullptr);

    Album& album() const { return album_; }
    QUndoStack& stack() { return stack_; }
    const QUndoStack& stack() const { return stack_; }

    // Takes a change the caller has just made; dropped when it changes nothing.
    void record(AlbumCommand* command);
    void undo();
    void redo();
    void clear();

    void setRefusal(std::function<bool()> refusal) { refusal_ = std::move(refusal); }
    bool refused() const { return refusal_ && refusal_(); }

    // Caption keystrokes of one editing run become one step; the run ends with the pause after
    // the last keystroke, and with every undo and redo.
    uint64_t editRun() const { return editRun_; }
    void endEditRun() { ++editRun_; }

    // How pictures are read again when they come back (by default every core reads files);
    // unreadable ones are reported through `unreadable` (may be empty).
    void setSourceFinder(PictureSourceFinder finder) { finder_ = std::move(finder); }
    void setUnreadableReport(std::function<void(const QStringList&)> report) {
        unreadable_ = std::move(report);
    }
    // The progress panel while pictures are read again (may be empty).
    void setProgress(ProgressFn progress) { progress_ = std::move(progress); }
    // Puts pictures back (AddPicturesCommand, RemovePicturesCommand).
    void insertPictures(const std::vector<PictureEntry>& entries);

    // The toolbar's and the popup menu's actions: triggered, enabled and hinted from here.
    void attachActions(QAction* undo, QAction* redo);

    // What the recorded commands hold, in bytes.
    std::size_t bytes() const;

signals:
    // Undo or redo changed the album; the views draw it afresh, the lists refill when the
    // pictures changed.
    void restored(bool picturesChanged);

private:
    void step(bool undo);

    Album& album_;
    QUndoStack stack_;
    std::function<bool()> refusal_;
    PictureSourceFinder finder_;
    std::function<void(const QStringList&)> unreadable_;
    ProgressFn progress_;
    uint64_t editRun_ = 0;
};

}  // namespace pr
