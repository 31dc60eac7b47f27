#include "gui/album/AlbumCommands.h"

#include <QAction>
#include <QCoreApplication>
#include <algorithm>
#include <string>
#include <vector>

#include "core/album/PictureDecoding.h"
#include "core/imaging/PictureSource.h"
#include "core/imaging/RasterLibrary.h"
#include "core/io/PathText.h"
#include "gui/app/TMainForm.h"
#include "gui/output/TViewPicForm.h"
#include "gui/undo/AddPicturesCommand.h"
#include "gui/undo/AlbumHistory.h"
#include "gui/undo/RemovePicturesCommand.h"

namespace pr {

namespace {

QString cannotLoad(const QString& path) {
    return QStringLiteral("Fehler: Die Datei %1 konnte nicht geladen werden!").arg(path);
}

}  // namespace

AlbumCommands::AlbumCommands(TMainForm& form, QObject* parent) : QObject(parent), form_(form) {
    connect(form.newAction(), &QAction::triggered, this, &AlbumCommands::NewBtnClick);
}

Album& AlbumCommands::album() const {
    return form_.album();
}

QString AlbumCommands::fileNamePart(const std::string& path) {
    return QString::fromStdString(splitStoredPath(path).name);
}

std::pair<QString, QString> AlbumCommands::previewFailure(const QString& path,
                                                          const QString& reason) {
    // A telling reason from the reader is worth the text; a short code is not.
    if (reason.size() > 5) return {cannotLoad(path), reason};
    return {QStringLiteral("Fehler"), cannotLoad(path)};
}

bool AlbumCommands::openfilenow(const QString& path) {
    ImageBuffer loaded;
    OpenDib(loaded, path.toStdString(), kFormatAuto);
    if (!loaded.valid()) {
        const auto [caption, text] = previewFailure(path, QString::fromStdString(loaded.message));
        form_.prompter().message(text, caption, Prompter::Icon::None, Prompter::Button::Ok);
        return false;
    }
    Album& album = form_.album();
    deldib(album.PreviewImage);
    album.PreviewImage = std::move(loaded);
    album.PreviewFileName = path.toStdString();
    emit previewChanged();
    return true;
}

bool AlbumCommands::AddPictureFile(const QString& path) {
    return addPictureFiles({path}) == 1;
}

int AlbumCommands::addPictureFiles(const QStringList& paths, QStringList* addedPaths) {
    std::vector<std::string> files;
    files.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString& p : paths) files.push_back(p.toStdString());

    const int total = static_cast<int>(files.size());
    const TMainForm::AlbumChange changing(form_);
    // While the cores decode, the window repaints and shows progress, but takes no input: a click
    // on "Löschen" or "Neu" now would change the album under the batch.
    std::vector<PictureInspection> pictures(files.size());
    forEachInParallel(
        files.size(), 0, [&](std::size_t i) { pictures[i] = inspectPictureFile(files[i], true); },
        [this, total](int done) {
            form_.SetProStatus(total > 0 ? done * 100 / total : 0);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    form_.SetProStatus(0);

    const int32_t firstIndex = form_.album().PictureCount();
    const int32_t keyBefore = form_.album().NextPictureKey;
    int added = 0;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (pictures[i].ok) {
            form_.album().addPicture(files[i], pictures[i].source);
            ++added;
            if (addedPaths) addedPaths->push_back(paths[static_cast<int>(i)]);
        } else {
            form_.prompter().message(cannotLoad(paths[static_cast<int>(i)]),
                                     QStringLiteral("Fehler"), Prompter::Icon::None,
                                     Prompter::Button::Ok);
        }
    }
    if (added > 0) record(new AddPicturesCommand(form_.album(), firstIndex, keyBefore));
    return added;
}

void AlbumCommands::removePictures(QList<int> rows) {
    // From the last to the first, so the rows not yet visited keep their pictures.
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    Album& album = form_.album();
    std::vector<PictureEntry> removed = pictureEntries(album, {rows.begin(), rows.end()});
    PlacementsSnapshot before = PlacementsSnapshot::of(album);
    for (int row : rows) album.removePicture(row);
    record(new RemovePicturesCommand(album, std::move(removed), std::move(before)));
    UpdateListBox();
}

void AlbumCommands::UpdateListBox() {
    emit picturesChanged();
}

void AlbumCommands::record(AlbumCommand* command) {
    if (AlbumHistory* history = form_.history()) {
        history->record(command);
    } else {
        delete command;
    }
}

void AlbumCommands::NewBtnClick() {
    if (form_.busy()) return;
    if (!form_.confirmLeavingAlbum(
            QStringLiteral("Hiermit gehen alle nicht gespeicherten Informationen verloren."),
            QStringLiteral("Datei/Neu")))
        return;
    form_.album().DelallPics();
    if (form_.history()) form_.history()->clear();
    UpdateListBox();
    form_.Setsavedfilename(QString());
}

bool AlbumCommands::showLarge(int i) {
    Album& album = form_.album();
    if (i < 0 || i >= album.PictureCount()) return false;
    const std::string& file = album.Pictures[static_cast<std::size_t>(i)].FileName;
    if (album.PreviewFileName != file) openfilenow(QString::fromStdString(file));
    // The viewer shows the file as it is on disk, not the album's turned or adjusted copy.
    if (album.PreviewFileName != file) return false;
    TViewPicForm* viewer = form_.viewPicForm();
    if (!viewer) return false;
    viewer->showPicture(album.PreviewImage, QString::fromStdString(album.PreviewFileName));
    return true;
}

}  // namespace pr
