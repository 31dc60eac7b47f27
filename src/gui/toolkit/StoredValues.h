#pragma once
// StoredValues: the per-user control values that outlive a run (window placement, grid, margin,
// spacing, quality and the like), kept with QSettings.
//
// Where: QSettings native format, user scope, organisation "ZOR-VEX", application = the program
// file's name without extension, inside one group (the window's class name, e.g. "TMainForm").
// On Linux that is ~/.config/ZOR-VEX/pixo-rahmler.conf. With QStandardPaths test mode on (set
// before the first QSettings is made) it is a throw-away folder instead, so tests never touch the
// user's values.
//
// The registry does not know any control: each owner registers a key with a getter and a setter, so
// a tab adds its own controls without the window knowing them. restore() sets only the values that
// were stored and that convert to the getter's type; a missing or unreadable value leaves the
// control at its default.

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

class QAbstractButton;
class QDoubleSpinBox;
class QSettings;
class QSpinBox;
class QTabWidget;
class QWidget;

namespace pr {

class StoredValues {
public:
    using Getter = std::function<QVariant()>;
    using Setter = std::function<void(const QVariant&)>;

    explicit StoredValues(QString group);

    // A settings object for this program's per-user values (not scoped to any group).
    static std::unique_ptr<QSettings> openSettings();
    // The application part of the settings name: program file name without extension.
    static QString applicationKey();

    // A later add() with the same key replaces the earlier one.
    void add(const QString& key, Getter getter, Setter setter);
    void addChecked(const QString& key, QAbstractButton* box);
    void addValue(const QString& key, QSpinBox* edit);
    void addValue(const QString& key, QDoubleSpinBox* edit);
    void addCurrentPage(const QString& key, QTabWidget* tabs);
    // Position, size and maximised state of a top-level window.
    void addWindowGeometry(const QString& key, QWidget* window);

    bool contains(const QString& key) const;
    const QString& group() const { return group_; }

    void restore() const;
    void save() const;

private:
    struct Entry {
        QString key;
        Getter get;
        Setter set;
    };
    QString group_;
    std::vector<Entry> entries_;
};

}  // namespace pr
