#pragma once
// FavouritesList: the favourite folders above the tree ("Lieblings Ordner:"), most recently used
// first, and their file folders.dat. The list in the window is the truth for the running session:
// when the file cannot be written the window keeps the new order all the same, and the next
// successful write carries it.
//
// Choosing a favourite (double-click or Enter) only announces it; the order changes only when a
// picture is added from a folder (AddToPrefFolders).

#include <QListWidget>
#include <QString>
#include <vector>

namespace pr {

class FavouritesList : public QListWidget {
    Q_OBJECT
public:
    explicit FavouritesList(QWidget* parent = nullptr);

    // Where folders.dat is written: the per-user data folder. Tests point this at a scratch
    // folder; an empty path restores the rule. Takes effect at the next readFavourites().
    static void setFileOverride(const QString& path);
    static QString fileLocation();

    // Replaces the items with the file's lines; a missing or unreadable file gives none. While
    // the per-user file does not exist yet, a folders.dat beside the program (where older versions
    // kept it) is read instead; it is never written.
    void readFavourites(const QString& programFolder);
    QString filePath() const { return filePath_; }

    // Puts `folder` first (its last equal item removed, compared byte for byte) and rewrites the
    // file. Returns whether the file was written.
    bool AddToPrefFolders(const QString& folder);

    std::vector<std::string> folders() const;

signals:
    void favouriteChosen(const QString& folder);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PrefListBoxDblClick();
    void setFolders(const std::vector<std::string>& folders);
    QString filePath_;
};

}  // namespace pr
