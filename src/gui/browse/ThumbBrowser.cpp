#include "gui/browse/ThumbBrowser.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QVBoxLayout>

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
    dir_ = std::filesystem::directory_iterator();
    first_ = true;
    thread_ = std::make_unique<TMyThread>(
        this, [this]() { return NextFile(); }, maker_,
        [this](const ThumbJob& job, std::optional<ThumbCell> cell) {
            deliver(job, std::move(cell));
        });
    connect(thread_.get(), &QThread::finished, this, &ThumbBrowser::ThreadDone,
            Qt::QueuedConnection);
    thread_->start();
}

bool ThumbBrowser::stepsAllowed() const {
    return thread_ && state_.running() && !state_.stopRequested() && grid_;
}

std::optional<ThumbJob> ThumbBrowser::NextFile() {
    if (!stepsAllowed()) return std::nullopt;
    namespace fs = std::filesystem;
    std::error_code error;
    if (first_) {
        first_ = false;
        dir_ = fs::directory_iterator(gridFolder_, fs::directory_options::skip_permission_denied,
                                      error);
    } else if (dir_ != fs::directory_iterator()) {
        dir_.increment(error);
    }
    // Only plain files count as entries; folders and the like are passed over within the step.
    while (!error && dir_ != fs::directory_iterator()) {
        std::error_code typeError;
        if (dir_->is_regular_file(typeError)) break;
        dir_.increment(error);
    }
    if (error || dir_ == fs::directory_iterator()) {
        dir_ = fs::directory_iterator();
        thread_->markDone();
        return std::nullopt;
    }
    return NewFile(dir_->path().filename().string());
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
    dir_ = std::filesystem::directory_iterator();
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
