// The real save dialog behind the album commands completes the extension before the file is
// chosen, so the overwrite question names the file that is really replaced.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include "toolkit/QtPrompter.h"

namespace {

// Answers the next file dialog with `name` as soon as it is open.
void answerDialogWith(const QString& name) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, name] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        timer->stop();
        timer->deleteLater();
        dialog->selectFile(name);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    timer->start(10);
}

}  // namespace

TEST(QtPrompterFileDialogs, SaveDialogAddsTheDefaultExtension) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    pr::QtPrompter prompter;
    const QString filter = QStringLiteral("Pixo-Rahmler Dateien (*.pxr)");
    // A bare name gets the extension; a name that has one keeps it.
    for (auto [typed, chosen] : {std::pair{"Urlaub", "Urlaub.pxr"}, {"Reise.pxr", "Reise.pxr"}}) {
        answerDialogWith(QString::fromUtf8(typed));
        EXPECT_EQ(prompter.saveFileNameWithSuffix(QStringLiteral("Speichern unter"), dir.path(),
                                                  filter, QStringLiteral("pxr")),
                  dir.filePath(QString::fromUtf8(chosen)));
    }
}
