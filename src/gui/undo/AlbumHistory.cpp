#include "gui/undo/AlbumHistory.h"

#include <QAction>
#include <QKeySequence>
#include <memory>

#include "core/album/PictureDecoding.h"
#include "core/imaging/PictureSource.h"
#include "gui/undo/AlbumCommand.h"

namespace pr {

namespace {

// Every core reads; the progress panel moves, drawn at once, without an event loop that could
// start another undo meanwhile.
std::vector<PictureSourcePtr> readAgain(const std::vector<std::string>& paths,
                                        const ProgressFn& progress) {
    std::vector<PictureSourcePtr> sources(paths.size());
    const int total = static_cast<int>(paths.size());
    forEachInParallel(
        paths.size(), 0,
        [&](std::size_t i) {
            PictureInspection inspected = inspectPictureFile(paths[i], true);
            if (inspected.ok) sources[i] = std::move(inspected.source);
        },
        [&](int done) {
            if (progress) progress(total > 0 ? done * 100 / total : 0);
        });
    if (progress) progress(0);
    return sources;
}

}  // namespace

void AlbumCommand::redo() {
    if (!made_) {
        made_ = true;
        return;
    }
    redoChange(history_->album());
}

void AlbumCommand::undo() {
    undoChange(history_->album());
}

AlbumHistory::AlbumHistory(Album& album, QObject* parent) : QObject(parent), album_(album) {
    finder_ = [this](const std::vector<std::string>& paths) { return readAgain(paths, progress_); };
    stack_.setUndoLimit(kUndoLimit);
}

void AlbumHistory::record(AlbumCommand* command) {
    std::unique_ptr<AlbumCommand> owned(command);
    if (!command || command->changesNothing()) return;
    command->history_ = this;
    if (const auto* previous =
            dynamic_cast<const AlbumCommand*>(stack_.command(stack_.index() - 1)))
        command->shareWith(*previous);
    stack_.push(owned.release());
}

void AlbumHistory::undo() {
    step(true);
}

void AlbumHistory::redo() {
    step(false);
}

void AlbumHistory::step(bool undo) {
    if (refused()) return;
    endEditRun();
    const int at = undo ? stack_.index() - 1 : stack_.index();
    const auto* command = dynamic_cast<const AlbumCommand*>(stack_.command(at));
    if (!command) return;
    const bool pictures = command->changesPictureList();
    if (undo) {
        stack_.undo();
    } else {
        stack_.redo();
    }
    emit restored(pictures);
}

void AlbumHistory::clear() {
    endEditRun();
    stack_.clear();
}

void AlbumHistory::insertPictures(const std::vector<PictureEntry>& entries) {
    const std::vector<std::string> failed = insertPictureEntries(album_, entries, finder_);
    if (failed.empty() || !unreadable_) return;
    QStringList paths;
    for (const std::string& p : failed) paths.push_back(QString::fromStdString(p));
    unreadable_(paths);
}

void AlbumHistory::attachActions(QAction* undo, QAction* redo) {
    undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(undo, &QAction::triggered, this, &AlbumHistory::undo);
    connect(redo, &QAction::triggered, this, &AlbumHistory::redo);
    auto hint = [undo, redo](const QUndoStack& stack) {
        undo->setEnabled(stack.canUndo());
        redo->setEnabled(stack.canRedo());
        undo->setToolTip(
            stack.canUndo()
                ? QStringLiteral("„%1“ rückgängig machen (Strg+Z)").arg(stack.undoText())
                : QStringLiteral("Die letzte Änderung rückgängig machen (Strg+Z)"));
        redo->setToolTip(stack.canRedo()
                             ? QStringLiteral("„%1“ wiederholen (Strg+Y)").arg(stack.redoText())
                             : QStringLiteral("Die zuletzt rückgängig gemachte Änderung "
                                              "wiederholen (Strg+Y)"));
    };
    connect(&stack_, &QUndoStack::indexChanged, undo, [this, hint] { hint(stack_); });
    connect(&stack_, &QUndoStack::cleanChanged, undo, [this, hint] { hint(stack_); });
    hint(stack_);
}

std::size_t AlbumHistory::bytes() const {
    std::size_t total = 0;
    for (int i = 0; i < stack_.count(); ++i) {
        if (const auto* c = dynamic_cast<const AlbumCommand*>(stack_.command(i)))
            total += c->bytes();
    }
    return total;
}

}  // namespace pr
