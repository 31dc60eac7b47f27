#include "gui/toolkit/StoredValues.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QPointer>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QWidget>

namespace pr {

StoredValues::StoredValues(QString group) : group_(std::move(group)) {}

QString StoredValues::applicationKey() {
    QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return name.isEmpty() ? QStringLiteral("pixo-rahmler") : name;
}

std::unique_ptr<QSettings> StoredValues::openSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("ZOR-VEX"), applicationKey());
}

void StoredValues::add(const QString& key, Getter getter, Setter setter) {
    for (Entry& e : entries_) {
        if (e.key == key) {
            e.get = std::move(getter);
            e.set = std::move(setter);
            return;
        }
    }
    entries_.push_back({key, std::move(getter), std::move(setter)});
}

// Controls are held through QPointer: a tab may be torn down before the window saves, and a
// vanished control simply drops out of both directions.
void StoredValues::addChecked(const QString& key, QAbstractButton* box) {
    QPointer<QAbstractButton> p(box);
    add(
        key, [p] { return p ? QVariant(p->isChecked()) : QVariant(); },
        [p](const QVariant& v) {
            if (p) p->setChecked(v.toBool());
        });
}

void StoredValues::addValue(const QString& key, QSpinBox* edit) {
    QPointer<QSpinBox> p(edit);
    add(
        key, [p] { return p ? QVariant(p->value()) : QVariant(); },
        [p](const QVariant& v) {
            bool ok = false;
            const int value = v.toInt(&ok);
            if (p && ok) p->setValue(value);
        });
}

void StoredValues::addValue(const QString& key, QDoubleSpinBox* edit) {
    QPointer<QDoubleSpinBox> p(edit);
    add(
        key, [p] { return p ? QVariant(p->value()) : QVariant(); },
        [p](const QVariant& v) {
            bool ok = false;
            const double value = v.toDouble(&ok);
            if (p && ok) p->setValue(value);
        });
}

void StoredValues::addCurrentPage(const QString& key, QTabWidget* tabs) {
    QPointer<QTabWidget> p(tabs);
    add(
        key, [p] { return p ? QVariant(p->currentIndex()) : QVariant(); },
        [p](const QVariant& v) {
            bool ok = false;
            const int index = v.toInt(&ok);
            if (p && ok && index >= 0 && index < p->count()) p->setCurrentIndex(index);
        });
}

void StoredValues::addWindowGeometry(const QString& key, QWidget* window) {
    QPointer<QWidget> p(window);
    add(
        key, [p] { return p ? QVariant(p->saveGeometry()) : QVariant(); },
        [p](const QVariant& v) {
            if (p) p->restoreGeometry(v.toByteArray());
        });
}

bool StoredValues::contains(const QString& key) const {
    for (const Entry& e : entries_)
        if (e.key == key) return true;
    return false;
}

void StoredValues::restore() const {
    auto settings = openSettings();
    settings->beginGroup(group_);
    for (const Entry& e : entries_) {
        const QVariant v = settings->value(e.key);
        if (v.isValid() && e.set) e.set(v);
    }
    settings->endGroup();
}

void StoredValues::save() const {
    auto settings = openSettings();
    settings->beginGroup(group_);
    for (const Entry& e : entries_) {
        if (!e.get) continue;
        const QVariant v = e.get();
        if (v.isValid()) settings->setValue(e.key, v);
    }
    settings->endGroup();
    settings->sync();
}

}  // namespace pr
