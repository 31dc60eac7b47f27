#include "gui/browse/FavouritesList.h"

#include <QFile>
#include <QKeyEvent>
#include <QStandardPaths>

#include "core/browse/FavouriteFolders.h"
#include "core/browse/FoldersFile.h"

namespace pr {

namespace {
QString& fileOverride() {
    static QString path;
    return path;
}
}  // namespace

FavouritesList::FavouritesList(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("PrefListBox"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFixedHeight(33);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemDoubleClicked, this, &FavouritesList::PrefListBoxDblClick);
}

void FavouritesList::setFileOverride(const QString& path) {
    fileOverride() = path;
}

QString FavouritesList::fileLocation() {
    if (!fileOverride().isEmpty()) return fileOverride();
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QString::fromStdString(foldersFilePath(userData.toStdString()));
}

void FavouritesList::readFavourites(const QString& programFolder) {
    filePath_ = fileLocation();
    setFolders(readFoldersFile(foldersFileToRead(filePath_.toStdString(),
                                                 QFile::encodeName(programFolder).toStdString())));
}

void FavouritesList::setFolders(const std::vector<std::string>& folders) {
    clear();
    for (const std::string& f : folders) addItem(QString::fromStdString(f));
}

std::vector<std::string> FavouritesList::folders() const {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(count()));
    for (int i = 0; i < count(); ++i) out.push_back(item(i)->text().toStdString());
    return out;
}

bool FavouritesList::AddToPrefFolders(const QString& folder) {
    std::vector<std::string> list = folders();
    if (!moveFolderToTop(list, folder.toStdString())) return false;
    setFolders(list);
    return !filePath_.isEmpty() && writeFoldersFile(filePath_.toStdString(), list);
}

void FavouritesList::PrefListBoxDblClick() {
    QListWidgetItem* chosen = currentItem();
    if (chosen && chosen->isSelected()) emit favouriteChosen(chosen->text());
}

void FavouritesList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        PrefListBoxDblClick();
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

}  // namespace pr
