#pragma once
// Answering the modal dialogs a test opens: the dialog's own event loop runs the script.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace testsupport {

// While alive, runs `script` on the first modal dialog of class T once its loop runs. Any modal
// widget still open afterwards is closed, so that no test can hang.
template <class T>
class ModalScript {
public:
    explicit ModalScript(std::function<void(T&)> script) : script_(std::move(script)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            timer_.stop();
            if (T* dialog = qobject_cast<T*>(modal)) {
                ran_ = true;
                script_(*dialog);
            }
            if (modal->isVisible()) modal->close();
        });
        timer_.start(5);
    }
    bool ran() const { return ran_; }

private:
    std::function<void(T&)> script_;
    QTimer timer_;
    bool ran_ = false;
};

}  // namespace testsupport
