// "Drucken..." of the add tab and "&Drucken" of the viewer, in the whole window: each opens
// "Bild drucken..." over its own window and prints the picture alone under its own job title.

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "OutputFixture.h"
#include "gui/album/AlbumCommands.h"
#include "gui/app/TMainForm.h"
#include "gui/output/TPrintForm.h"
#include "gui/output/TViewPicForm.h"

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
    pr::TViewPicForm* viewer = form.viewPicForm();
    ASSERT_TRUE(viewer->printButton()->isEnabled());
    viewer->setPicture(form.album().PreviewImage, picture);
    form.outputTab()->printer().setOutputFormat(QPrinter::PdfFormat);

    const struct {
        QPushButton* button;
        QWidget* owner;
        QString title;
        bool confirm;
    } cases[] = {{printBtn, &form, "Pixo-Rahmler Bild", true},
                 {viewer->printButton(), viewer, "Lumarchiv Bild", true},
                 {printBtn, &form, "Pixo-Rahmler Bild", false}};  // last: its name stays queued
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title.toStdString() + (c.confirm ? " printed" : " cancelled"));
        const QString pdf = dir.filePath(c.title + (c.confirm ? ".pdf" : "-nie.pdf"));
        prompter.answerSaveFile(pdf);
        QWidget* owner = nullptr;  // the window "Bild drucken..." belongs to
        QTimer::singleShot(0, [&owner, &c] {
            if (auto* f = qobject_cast<pr::TPrintForm*>(QApplication::activeModalWidget())) {
                owner = f->parentWidget();
                (c.confirm ? f->OkBtn : f->CancelBtn)->click();
            }
        });
        c.button->click();
        EXPECT_EQ(owner, c.owner);
        EXPECT_EQ(pdfImages(readAll(pdf)), c.confirm ? 1 : 0);
        if (c.confirm) {
            EXPECT_EQ(form.outputTab()->printer().docName(), c.title);
        }
    }
    EXPECT_TRUE(prompter.shown.empty());
    for (QWidget* w : QApplication::topLevelWidgets())  // released once printed
        EXPECT_EQ(qobject_cast<pr::TPrintForm*>(w), nullptr);
    form.album().DelallPics();
}
