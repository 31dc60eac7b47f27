#pragma once
// The caption of a picture typed in "Freier Text:". Every keystroke stores the caption at once;
// the keystrokes of one editing run (up to the pause after which the page is redrawn) merge into
// one step, and a run that ends where it began leaves no step.

#include <cstdint>
#include <string>

#include "core/album/Album.h"
#include "gui/undo/AlbumCommand.h"

namespace pr {

class CaptionCommand : public AlbumCommand {
public:
    static constexpr int kId = 1;

    CaptionCommand(int32_t key, std::string before, std::string after, uint64_t run)
        : AlbumCommand(QStringLiteral("Freier Text")),
          key_(key),
          before_(std::move(before)),
          after_(std::move(after)),
          run_(run) {}

    int id() const override { return kId; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = dynamic_cast<const CaptionCommand*>(other);
        if (!next || next->key_ != key_ || next->run_ != run_) return false;
        after_ = next->after_;
        setObsolete(after_ == before_);
        return true;
    }
    bool changesNothing() const override { return before_ == after_; }
    std::size_t bytes() const override {
        return sizeof(*this) + before_.capacity() + after_.capacity();
    }

protected:
    void redoChange(Album& album) override { set(album, after_); }
    void undoChange(Album& album) override { set(album, before_); }

private:
    void set(Album& album, const std::string& text) {
        if (AlbumImage* picture = album.pictureWithKey(key_)) picture->Comment = text;
    }

    int32_t key_;
    std::string before_;
    std::string after_;
    uint64_t run_;
};

}  // namespace pr
