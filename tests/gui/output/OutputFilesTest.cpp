// The files the output tab proposes: "Als Bild speichern..." and "Go!" into a file.

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QSpinBox>

#include "OutputFixture.h"
#include "gui/output/OutputFileNames.h"

using OutputFiles = OutputFixture;
using pr::OutputFileNames;
using pr::Prompter;

namespace {

QByteArray mediaBox(const QByteArray& pdf) {
    static const QRegularExpression box(QStringLiteral("/MediaBox\\s*\\[([^\\]]*)\\]"));
    return box.match(QString::fromLatin1(pdf)).captured(1).simplified().toLatin1();
}

}  // namespace

TEST_F(OutputFiles, ExportProposesSeiteNInAFolderThatExistsWithOneFilterPerFormat) {
    layout->PageCountED->setValue(3);
    layout->APageEd->setValue(2);
    EXPECT_FALSE(output->SaveBitBtnClick());  // cancelled
    ASSERT_EQ(prompter.saveProposals.size(), 1u);
    const QFileInfo first(prompter.saveProposals[0]);
    EXPECT_EQ(first.fileName(), "Seite 2.png");
    EXPECT_TRUE(first.absoluteDir().exists());
    EXPECT_EQ(
        prompter.saveFilterLists[0],
        QStringList({"PNG-Bild (*.png)", "JPEG-Bild (*.jpg *.jpeg)", "TIFF-Bild (*.tif *.tiff)",
                     "Windows-Bitmap (*.bmp)", "PDF-Dokument (*.pdf)"}));

    // The next export starts in the folder of the last one, as long as that folder is there.
    const QString folder = scratch.filePath("export");
    ASSERT_TRUE(QDir().mkpath(folder));
    prompter.answerSaveFile(folder + "/x.png");
    ASSERT_TRUE(output->SaveBitBtnClick());
    EXPECT_FALSE(output->SaveBitBtnClick());
    EXPECT_EQ(prompter.saveProposals.back(), folder + "/Seite 2.png");
    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_FALSE(output->SaveBitBtnClick());
    EXPECT_TRUE(QFileInfo(prompter.saveProposals.back()).absoluteDir().exists());
}

TEST(OutputFileNames, FoldersAndExtensions) {
    QTemporaryDir scratch;
    const QString there = scratch.path(), gone = scratch.filePath("gone");
    EXPECT_EQ(OutputFileNames::firstExistingFolder({gone, there}), there);
    EXPECT_EQ(OutputFileNames::firstExistingFolder({QString(), gone}), QDir::homePath());
    const std::pair<const char*, const char*> completions[] = {
        {"/a/Seite 1", "/a/Seite 1.jpg"},
        {"/a/b.tiff", "/a/b.tiff"},
        {"/a.b/Seite", "/a.b/Seite.jpg"},  // a dot in the folder is no extension
    };
    for (const auto& [typed, written] : completions)
        EXPECT_EQ(OutputFileNames::completed(typed, "JPEG-Bild (*.jpg *.jpeg)"), written);
    EXPECT_EQ(OutputFileNames::printFileProposal(there + "/Urlaub 2001.pxr"),
              there + "/Urlaub 2001.pdf");
    EXPECT_EQ(QFileInfo(OutputFileNames::printFileProposal(QString())).fileName(), "Unbenannt.pdf");
}

TEST_F(OutputFiles, PdfExportHasTheSheetOfGo) {
    place(addPicture(20, 20, 0x000000ff), 1, 0.5, 0.5, 1, 1);
    const QString exported = scratch.filePath("seite.pdf"), printed = scratch.filePath("go.pdf");
    prompter.answerSaveFile(exported);
    ASSERT_TRUE(output->SaveBitBtnClick());
    prompter.answerPrint(printToPdf(printed));
    ASSERT_TRUE(output->GoBtn1Click());
    const QByteArray sheet = mediaBox(readAll(printed));
    ASSERT_FALSE(sheet.isEmpty());
    EXPECT_EQ(mediaBox(readAll(exported)), sheet);
}

TEST_F(OutputFiles, GoIntoAFileProposesTheAlbumsNameAndAsksBeforeReplacing) {
    place(addPicture(20, 20, 0x000000ff), 1, 0.5, 0.5, 1, 1);
    QPrinter& printer = output->printer();
    // As a single picture printed into a file leaves the printer.
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(scratch.filePath("bild.pdf"));
    album.AlbumFileName = scratch.filePath("Urlaub.pxr").toStdString();
    QString offered;
    prompter.answerPrint([&](QPrinter& p) {
        offered = p.outputFileName();
        return false;
    });
    EXPECT_FALSE(output->GoBtn1Click());
    const QString pdf = scratch.filePath("Urlaub.pdf");
    EXPECT_EQ(offered, pdf);
    EXPECT_EQ(prompter.printFileProposals.back(), pdf);

    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("alt");
    old.close();
    const auto keep = [](QPrinter&) { return true; };
    prompter.answerPrint(keep);
    prompter.answer(Prompter::Button::No);
    EXPECT_FALSE(output->GoBtn1Click());
    EXPECT_EQ(readAll(pdf), "alt");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              QStringLiteral("Die Datei \"%1\" gibt es schon. Soll sie ersetzt werden?")
                  .arg(QDir::toNativeSeparators(pdf)));
    prompter.answerPrint(keep);
    prompter.answer(Prompter::Button::Yes);
    EXPECT_TRUE(output->GoBtn1Click());
    EXPECT_TRUE(readAll(pdf).startsWith("%PDF"));
}
