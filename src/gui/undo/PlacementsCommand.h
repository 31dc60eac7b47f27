#pragma once
// PlacementsCommand: a change of the pages, undone and redone by putting back the placements
// (with the selection and the pictures' enlargements) as they were before and after it
// (PlacementsSnapshot). The kinds of change are its subclasses, one each, named after the command
// the user gave.

#include <QString>

#include "core/album/PlacementsSnapshot.h"
#include "gui/undo/AlbumCommand.h"

namespace pr {

class PlacementsCommand : public AlbumCommand {
public:
    // `before` was taken before the change; the album holds the change now.
    PlacementsCommand(const Album& album, PlacementsSnapshot before, const QString& text)
        : AlbumCommand(text), before_(std::move(before)), after_(PlacementsSnapshot::of(album)) {}

    bool changesNothing() const override { return before_ == after_; }
    void shareWith(const AlbumCommand& previous) override {
        if (const auto* p = dynamic_cast<const PlacementsCommand*>(&previous))
            before_.shareRecordsWith(p->after_);
    }
    std::size_t bytes() const override { return sizeof(*this) + before_.bytes() + after_.bytes(); }

protected:
    void redoChange(Album& album) override { after_.restore(album); }
    void undoChange(Album& album) override { before_.restore(album); }

private:
    PlacementsSnapshot before_;
    PlacementsSnapshot after_;
};

}  // namespace pr
