#pragma once
// AlbumCommands: the album work that both picture lists share (tabs "Bilder hinzufügen" and
// "Sortieren"): previewing a file, adding and removing pictures, "&Neu", and showing a picture in
// the large viewer. Every message goes through the window's Prompter.
//
// The lists never keep copies of the album: after each change UpdateListBox() announces
// picturesChanged() and each list refills itself from the album.

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace pr {

class Album;
class AlbumCommand;
class TMainForm;

class AlbumCommands : public QObject {
    Q_OBJECT
public:
    explicit AlbumCommands(TMainForm& form, QObject* parent = nullptr);

    // The window's album; it exists once the window has run its start-up steps.
    Album& album() const;

    // Loads `path` into the preview picture. On failure the message is shown and the previous
    // preview stays; returns whether it loaded.
    bool openfilenow(const QString& path);
    // The caption and text of the failed-preview message for the library's message `reason`.
    static std::pair<QString, QString> previewFailure(const QString& path, const QString& reason);

    // Appends one picture with the next key; a file that does not load is reported and nothing
    // else changes.
    bool AddPictureFile(const QString& path);
    // The same for many files, decoded in parallel; pictures, keys and messages come out in the
    // order of `paths`, as if AddPictureFile ran for each. Returns how many were added; `added`
    // (may be null) receives their paths.
    int addPictureFiles(const QStringList& paths, QStringList* added = nullptr);

    // Removes the pictures at `rows` (any order) with all their placements, then refills the lists.
    void removePictures(QList<int> rows);

    void UpdateListBox();
    // Hands a change of the picture list just made to the window's history.
    void record(AlbumCommand* command);
    void NewBtnClick();

    // The large viewer for picture i, reloading the preview from its file first when the preview
    // shows another file. False (no viewer) for an index outside the album or a file that fails.
    bool showLarge(int i);

    static QString fileNamePart(const std::string& path);

signals:
    void picturesChanged();
    void previewChanged();

private:
    TMainForm& form_;
};

}  // namespace pr
