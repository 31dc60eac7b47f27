#pragma once
// While a long job runs on the window thread and returns to the event loop between its steps
// (printing page by page), the window repaints and timers run, but the user's input reaches only
// the job's own stop button: a click on "Go!" or "Neu", a key, the wheel, or the window manager's
// close request in the middle of the job is dropped. Installed on the application for as long as
// the object lives.

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace pr {

class InputOnlyFor : public QObject {
public:
    // `target` (may be null: no input at all) and its children keep their input.
    explicit InputOnlyFor(QWidget* target);
    ~InputOnlyFor() override;
    InputOnlyFor(const InputOnlyFor&) = delete;
    InputOnlyFor& operator=(const InputOnlyFor&) = delete;

    // Whether `event` for `watched` is held back.
    bool holdsBack(QObject* watched, const QEvent* event) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> target_;
};

}  // namespace pr
