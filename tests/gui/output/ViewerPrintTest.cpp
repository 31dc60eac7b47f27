// "Drucken..." of the add tab and "&Drucken" of the viewer, in the whole window: each opens
// "Bild drucken..." over its own window and prints the picture alone under its own job title.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "ScriptedPrompter.h"
#include "album/AlbumCommands.h"
#include "app/TMainForm.h"
#include "output/TOutputTab.h"
#include "output/TPrintForm.h"
#include "output/TViewPicForm.h"

namespace {

// Confirms the next "Bild drucken..." and notes the window it belongs to.
void confirmNextPrintForm(QWidget** owner) {
    *owner = nullptr;
    QTimer::singleShot(0, [owner] {
        if (auto* form = qobject_cast<pr::TPrintForm*>(QApplication::activeModalWidget())) {
            *owner = form->parentWidget();
            form->OkBtn->click();
        }
    });
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(SinglePicturePrintFromWindow, AddTabAndViewerPrintUnderTheirTitles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString picture = dir.filePath(QStringLiteral("strand.png"));
    QImage image(80, 60, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    ASSERT_TRUE(image.save(picture));

    testsupport::ScriptedPrompter prompter;
    pr::TMainForm form(&prompter);
    auto* commands = form.findChild<pr::AlbumCommands*>();
    ASSERT_NE(commands, nullptr);
    auto* printBtn = form.findChild<QPushButton*>(QStringLiteral("PrintBtn"));
    ASSERT_NE(printBtn, nullptr);
    EXPECT_FALSE(printBtn->isEnabled());  // nothing to print yet
    ASSERT_TRUE(commands->AddPictureFile(picture));
    commands->UpdateListBox();  // as "&Hinzufügen" does after adding
    EXPECT_TRUE(printBtn->isEnabled());
    QPrinter& printer = form.outputTab()->printer();
    printer.setOutputFormat(QPrinter::PdfFormat);

    QWidget* owner = nullptr;
    const QString fromList = dir.filePath(QStringLiteral("liste.pdf"));
    prompter.answerSaveFile(fromList);
    confirmNextPrintForm(&owner);
    printBtn->click();
    EXPECT_EQ(owner, &form);
    EXPECT_EQ(printer.docName(), QStringLiteral("Pixo-Rahmler Bild"));
    EXPECT_EQ(readAll(fromList).count("/Subtype /Image"), 1);

    pr::TViewPicForm* viewer = form.viewPicForm();
    ASSERT_TRUE(viewer->printButton()->isEnabled());
    viewer->setPicture(form.album().PreviewImage, picture);
    const QString fromViewer = dir.filePath(QStringLiteral("betrachter.pdf"));
    prompter.answerSaveFile(fromViewer);
    confirmNextPrintForm(&owner);
    viewer->printButton()->click();
    EXPECT_EQ(owner, viewer);
    EXPECT_EQ(printer.docName(), QStringLiteral("Lumarchiv Bild"));
    EXPECT_EQ(readAll(fromViewer).count("/Subtype /Image"), 1);
    EXPECT_TRUE(prompter.shown.empty());
    form.album().DelallPics();
}
