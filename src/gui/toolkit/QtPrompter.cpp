#include "gui/toolkit/QtPrompter.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>

namespace pr {

namespace {

QMessageBox::Icon toQt(Prompter::Icon icon) {
    switch (icon) {
        case Prompter::Icon::Information:
            return QMessageBox::Information;
        case Prompter::Icon::Warning:
            return QMessageBox::Warning;
        case Prompter::Icon::Error:
            return QMessageBox::Critical;
        case Prompter::Icon::Question:
            return QMessageBox::Question;
        case Prompter::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonPair {
    Prompter::Button ours;
    QMessageBox::StandardButton qt;
};

constexpr ButtonPair kButtons[] = {
    {Prompter::Button::Ok, QMessageBox::Ok},     {Prompter::Button::Cancel, QMessageBox::Cancel},
    {Prompter::Button::Yes, QMessageBox::Yes},   {Prompter::Button::No, QMessageBox::No},
    {Prompter::Button::Save, QMessageBox::Save},
};

}  // namespace

Prompter::Button QtPrompter::message(const QString& text, const QString& caption, Icon icon,
                                     Buttons buttons) {
    if (buttons == Buttons()) buttons = Button::Ok;
    QMessageBox box(toQt(icon), caption, text, QMessageBox::NoButton, parent_.data());
    for (const ButtonPair& b : kButtons)
        if (buttons.testFlag(b.ours)) box.addButton(b.qt);
    if (buttons.testFlag(Button::Cancel)) box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    for (const ButtonPair& b : kButtons)
        if (answer == b.qt) return b.ours;
    // Closed without a button: Escape already maps to Cancel when it was offered.
    for (const ButtonPair& b : kButtons)
        if (buttons.testFlag(b.ours)) return b.ours;
    return Button::None;
}

bool QtPrompter::printDialog(QPrinter& printer, const QString& fileProposal) {
    QPrintDialog dialog(&printer, parent_.data());
    // Every page of the album is printed; a range or a selection would not be honoured.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    // With a real printer chosen, Qt fills the file field for "print to file" with a name in the
    // working folder; the field has no API, so it is found by the name Qt gives it. Should a later
    // Qt call it otherwise, its own proposal simply stays.
    if (!fileProposal.isEmpty() && printer.outputFileName().isEmpty())
        if (auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("filename")))
            field->setText(fileProposal);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompter::pageSetupDialog(QPrinter& printer) {
    QPageSetupDialog dialog(&printer, parent_.data());
    return dialog.exec() == QDialog::Accepted;
}

QString QtPrompter::saveFileName(const QString& caption, const QString& directory,
                                 const QString& filter) {
    return QFileDialog::getSaveFileName(parent_.data(), caption, directory, filter);
}

QString QtPrompter::openFileName(const QString& caption, const QString& directory,
                                 const QString& filter) {
    return QFileDialog::getOpenFileName(parent_.data(), caption, directory, filter);
}

QString QtPrompter::saveFileNameWithFilters(const QString& caption, const QString& proposedPath,
                                            const QStringList& filters, QString* chosenFilter) {
    static const QRegularExpression firstSuffix(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    auto suffixOf = [](const QString& filter) { return firstSuffix.match(filter).captured(1); };
    QFileDialog dialog(parent_.data(), caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    const QFileInfo proposed(proposedPath);
    dialog.setDirectory(proposed.absolutePath());
    dialog.selectFile(proposed.fileName());
    // The dialog completes a bare name before it asks about overwriting, so the question names
    // the file that will really be replaced.
    dialog.setDefaultSuffix(suffixOf(filters.value(0)));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog, suffixOf](const QString& f) { dialog.setDefaultSuffix(suffixOf(f)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    if (chosenFilter) *chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

QString QtPrompter::saveFileNameWithSuffix(const QString& caption, const QString& directory,
                                           const QString& filter, const QString& defaultSuffix) {
    QFileDialog dialog(parent_.data(), caption, directory, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The dialog completes the name before it asks about overwriting, so the question names the
    // file that will really be replaced.
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

}  // namespace pr
