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
    answerDialogWith(QStringLiteral("Urlaub"));
    EXPECT_EQ(prompter.saveFileNameWithSuffix(QStringLiteral("Speichern unter"), dir.path(), filter,
                                              QStringLiteral("pxr")),
              dir.filePath(QStringLiteral("Urlaub.pxr")));
    // A name that has an extension keeps it.
    answerDialogWith(QStringLiteral("Reise.pxr"));
    EXPECT_EQ(prompter.saveFileNameWithSuffix(QStringLiteral("Speichern unter"), dir.path(), filter,
                                              QStringLiteral("pxr")),
              dir.filePath(QStringLiteral("Reise.pxr")));
}
