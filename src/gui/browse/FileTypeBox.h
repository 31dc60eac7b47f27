#pragma once
// FileTypeBox: the file-type box of the first tab. It is given the raster library's open-dialog
// filter ("description|masks|description|masks...") and offers the descriptions; the file list
// shows the mask of the chosen entry.

#include <QComboBox>
#include <QStringList>

namespace pr {

class FileTypeBox : public QComboBox {
    Q_OBJECT
public:
    struct Entry {
        QString description;
        QString mask;  // one or more patterns separated by ';'
    };

    explicit FileTypeBox(QWidget* parent = nullptr);

    // Pairs of description and mask; a trailing description without a mask is dropped.
    static QList<Entry> parseFilter(const QString& filter);

    // Rebuilds the entries, selects the first one and announces its mask.
    void setFilterText(const QString& filter);
    // The chosen entry's mask; with no entry chosen the last entry is chosen first, and with no
    // entries at all every file is shown.
    QString currentMask();

signals:
    void maskChanged(const QString& mask);

private:
    void FilterComboBox1Change();
    QStringList masks_;
};

// "*.jpg;*.JPG" as the name filters of a file model.
QStringList maskPatterns(const QString& mask);

}  // namespace pr
