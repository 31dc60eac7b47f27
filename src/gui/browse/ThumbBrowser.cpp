#include "gui/browse/ThumbBrowser.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QVBoxLayout>

#include "core/browse/NaturalOrder.h"
#include "core/browse/ThumbCacheWriter.h"
#include "core/io/PathText.h"
#include "gui/browse/TMyThread.h"

namespace pr {

ThumbBrowser::ThumbBrowser(QWidget* page, SelectedFolderFn selectedFolder, QObject* parent)
    : QObject(parent), selectedFolder_(std::move(selectedFolder)), maker_(makeThumbnail) {
    grid_ = new ThumbGrid(page);
    if (page) {
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(grid_);
    }
    connect(grid_, &ThumbGrid::openRequested, this, &ThumbBrowser::open);
    connect(grid_, &ThumbGrid::statusTextChanged, this, &ThumbBrowser::statusTextChanged);
}

ThumbBrowser::~ThumbBrowser() {
    state_.closing();
    if (!thread_) return;
    thread_->requestInterruption();
    // The thread may be blocked in a step posted to this object; delivering it (it does nothing
    // now) lets the thread see the stop. Waiting without delivering would deadlock.
    while (!thread_->wait(QDeadlineTimer(10)))
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    thread_.reset();
    cache_ = ThumbCacheReader();
    // The end event will never come now; keep what the run made, as its end would have.
    saveCache(state_.runFolder());
}

void ThumbBrowser::setThumbnailMaker(ThumbMakerFn maker) {
    // A maker from outside may hold references of its own, so a stop waits for it; the built-in
    // one touches nothing but the file and may be left to finish alone.
    ownMaker_ = !maker;
    maker_ = maker ? std::move(maker) : ThumbMakerFn(makeThumbnail);
}

std::string ThumbBrowser::selectedFolder() const {
    return selectedFolder_ ? QFile::encodeName(selectedFolder_()).toStdString() : std::string();
}

QString ThumbBrowser::gridFolder() const {
    return QFile::decodeName(QByteArray::fromStdString(WithBackslash(gridFolder_)));
}

void ThumbBrowser::Startbrowsing() {
    apply(state_.startBrowsing(selectedFolder()));
}

void ThumbBrowser::JamShellTree1Changing() {
    apply(state_.treeChanging());
}

void ThumbBrowser::JamShellTree1Change(bool browserTabActive) {
    apply(state_.treeChanged(browserTabActive, selectedFolder()));
}

void ThumbBrowser::PageControl3Change(bool browserTabActive) {
    apply(state_.tabChanged(browserTabActive, selectedFolder()));
}

void ThumbBrowser::stop() {
    apply(state_.closing());
}

void ThumbBrowser::apply(const ThumbRunActions& actions) {
    if (actions.saveCache) saveCache(actions.saveFolder);
    if (actions.emptyGrid && grid_) grid_->clear();
    if (actions.requestStop) requestStop();
    if (actions.startRun) startRun(actions.runFolder);
}

void ThumbBrowser::requestStop() {
    if (thread_) thread_->requestInterruption();
}

void ThumbBrowser::saveCache(const std::string& folder) {
    if (grid_ && !folder.empty()) saveThumbCache(folder, grid_->cells());
}

void ThumbBrowser::startRun(const std::string& folder) {
    gridFolder_ = folder;
    cache_ = ThumbCacheReader::openFolder(folder);
    names_.clear();
    first_ = true;
    thread_ = std::make_unique<TMyThread>(
        this, [this]() { return NextFile(); }, maker_,
        [this](const ThumbJob& job, std::optional<ThumbCell> cell) {
            deliver(job, std::move(cell));
        },
        ownMaker_);
    connect(thread_.get(), &QThread::finished, this, &ThumbBrowser::ThreadDone,
            Qt::QueuedConnection);
    thread_->start();
}

bool ThumbBrowser::stepsAllowed() const {
    return thread_ && state_.running() && !state_.stopRequested() && grid_;
}

std::optional<ThumbJob> ThumbBrowser::NextFile() {
    if (!stepsAllowed()) return std::nullopt;
    if (first_) {
        first_ = false;
        names_ = folderEntries(gridFolder_);
        next_ = 0;
    }
    if (next_ >= names_.size()) {
        names_.clear();
        thread_->markDone();
        return std::nullopt;
    }
    return NewFile(names_[next_++]);
}

std::vector<std::string> ThumbBrowser::folderEntries(const std::string& folder) {
    // The directory's own order looks random on Linux; the cells come in the order of the file
    // list, and so does the cache file written from them. Only plain files count as entries.
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
         !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) names.push_back(it->path().filename().string());
    }
    sortNaturally(names);
    return names;
}

std::optional<ThumbJob> ThumbBrowser::NewFile(const std::string& name) {
    // The run's folder, not the tree's: a folder change stops the run before its next step, and
    // the cells must come from the folder the cache file is written for.
    ThumbLookupResult found = lookUpThumbnail(gridFolder_, name, cache_);
    switch (found.kind) {
        case ThumbLookup::FromCache:
            grid_->appendCell(std::move(found.cell));
            return std::nullopt;
        case ThumbLookup::Make:
            return std::move(found.job);
        case ThumbLookup::NotAPicture:
        case ThumbLookup::CacheUnreadable:
            return std::nullopt;
    }
    return std::nullopt;
}

void ThumbBrowser::deliver(const ThumbJob&, std::optional<ThumbCell> cell) {
    if (!stepsAllowed()) return;
    if (cell)
        grid_->appendCell(std::move(*cell));
    else
        emit progressReset();
}

void ThumbBrowser::ThreadDone() {
    if (!thread_) return;
    thread_->wait();
    thread_.reset();
    names_.clear();
    // The index goes before the file is rewritten.
    cache_ = ThumbCacheReader();
    apply(state_.threadDone(selectedFolder()));
    emit runEnded();
}

void ThumbBrowser::open(int cell) {
    if (!grid_ || cell < 1 || cell > grid_->count()) return;
    const std::string folder = WithBackslash(gridFolder_);
    const std::string& name = grid_->cells()[static_cast<size_t>(cell - 1)].name;
    emit addPictureRequested(QFile::decodeName(QByteArray::fromStdString(folder + name)),
                             QFile::decodeName(QByteArray::fromStdString(folder)));
}

}  // namespace pr
