#pragma once
// AlbumCommand: one step of the album's history (AlbumHistory). A handler makes its change as it
// always did, through the core functions, and then records a command that holds what undoing and
// redoing it take as plain values (placements, keys, captions, recipes; never pixels). So the
// first redo, which QUndoStack runs when the command is pushed, finds the change made and does
// nothing; every later undo and redo calls the core functions with the held values.

#include <QUndoCommand>
#include <cstddef>

namespace pr {

class Album;
class AlbumHistory;

class AlbumCommand : public QUndoCommand {
public:
    explicit AlbumCommand(const QString& text) : QUndoCommand(text) {}

    void redo() final;
    void undo() final;

    // A command whose before and after are alike is not recorded.
    virtual bool changesNothing() const { return false; }
    // Pictures added, removed or put in another order: the picture lists are refilled.
    virtual bool changesPictureList() const { return false; }
    // What the command holds, for the history's memory bound.
    virtual std::size_t bytes() const { return sizeof(*this); }
    // Lets the command hold what it has in common with the step before it only once.
    virtual void shareWith(const AlbumCommand& previous) { (void)previous; }

protected:
    virtual void redoChange(Album& album) = 0;
    virtual void undoChange(Album& album) = 0;
    AlbumHistory& history() const { return *history_; }

private:
    friend class AlbumHistory;
    AlbumHistory* history_ = nullptr;
    bool made_ = false;  // the first redo: the handler has made the change already
};

}  // namespace pr
