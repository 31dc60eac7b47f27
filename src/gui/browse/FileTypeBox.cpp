#include "gui/browse/FileTypeBox.h"

#include <QSignalBlocker>

namespace pr {

FileTypeBox::FileTypeBox(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("FilterComboBox1"));
    setToolTip(QStringLiteral("Hier können Sie die angezeigten Dateitypen wählen"));
    connect(this, qOverload<int>(&QComboBox::activated), this, &FileTypeBox::FilterComboBox1Change);
}

QList<FileTypeBox::Entry> FileTypeBox::parseFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QList<Entry> entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) entries.push_back({parts[i], parts[i + 1]});
    return entries;
}

void FileTypeBox::setFilterText(const QString& filter) {
    {
        const QSignalBlocker block(this);
        clear();
        masks_.clear();
        for (const Entry& e : parseFilter(filter)) {
            addItem(e.description);
            masks_.push_back(e.mask);
        }
        if (count() > 0) setCurrentIndex(0);
    }
    FilterComboBox1Change();
}

QString FileTypeBox::currentMask() {
    if (masks_.isEmpty()) return QStringLiteral("*.*");
    if (currentIndex() < 0) {
        const QSignalBlocker block(this);
        setCurrentIndex(count() - 1);
    }
    return masks_.value(currentIndex(), QStringLiteral("*.*"));
}

void FileTypeBox::FilterComboBox1Change() {
    emit maskChanged(currentMask());
}

QStringList maskPatterns(const QString& mask) {
    QStringList patterns;
    for (const QString& p : mask.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString t = p.trimmed();
        // "*.*" on Windows also matches names without a dot; here it means every file.
        patterns.push_back(t == QLatin1String("*.*") ? QStringLiteral("*") : t);
    }
    return patterns;
}

}  // namespace pr
