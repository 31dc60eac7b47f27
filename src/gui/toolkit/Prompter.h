#pragma once
// Prompter: the one door through which the program talks to the user in a dialog.
//
// Every message box and question goes through here, so that the window never calls QMessageBox
// (or, later, a file, print or font dialog) itself. The window uses QtPrompter; tests hand in a
// scripted double that records what would have been shown and answers from a queue.
//
// Questions follow one rule throughout the program: OK/Cancel with the information icon, and only
// OK proceeds.

#include <QFlags>
#include <QString>
#include <QStringList>

class QPrinter;

namespace pr {

class Prompter {
public:
    enum class Icon { None, Information, Warning, Error, Question };

    enum class Button {
        None = 0,
        Ok = 0x1,
        Cancel = 0x2,
        Yes = 0x4,
        No = 0x8,
        Save = 0x10,  // "Speichern"
    };
    Q_DECLARE_FLAGS(Buttons, Button)

    virtual ~Prompter() = default;

    // Shows a modal message and returns the button that closed it. Closing the box without a
    // button (Escape, the close box) answers Cancel when Cancel was offered, otherwise the only or
    // first button.
    virtual Button message(const QString& text, const QString& caption, Icon icon,
                           Buttons buttons) = 0;

    void information(const QString& text, const QString& caption) {
        message(text, caption, Icon::Information, Button::Ok);
    }
    // Most failures are reported under the caption "Fehler".
    void error(const QString& text, const QString& caption = QStringLiteral("Fehler")) {
        message(text, caption, Icon::Error, Button::Ok);
    }
    // The print dialog on `printer`: true when the user chose to print; the printer keeps the
    // choices (printer, copies, or a PDF file when printing to a file). `fileProposal` (may be
    // empty) is the file offered when the user prints into a file. Without an implementation
    // nothing is ever printed.
    virtual bool printDialog(QPrinter& printer, const QString& fileProposal = QString()) {
        (void)printer;
        (void)fileProposal;
        return false;
    }
    // True when printDialog itself asks before a file that exists is replaced; otherwise the
    // caller asks.
    virtual bool printDialogAsksBeforeReplacing() const { return false; }
    // The printer-setup dialog (paper and orientation): true when confirmed.
    virtual bool pageSetupDialog(QPrinter& printer) {
        (void)printer;
        return false;
    }
    // A save dialog that asks before overwriting; `filter` may be empty. Empty when cancelled.
    virtual QString saveFileName(const QString& caption, const QString& directory,
                                 const QString& filter) {
        (void)caption;
        (void)directory;
        (void)filter;
        return QString();
    }

    // A save dialog that proposes `proposedPath`, offers `filters` ("PNG-Bild (*.png)", ...) and
    // asks before overwriting; a name typed without extension gets the chosen filter's first
    // extension before that question. `chosenFilter` (may be null) receives the filter chosen.
    // Empty when cancelled.
    virtual QString saveFileNameWithFilters(const QString& caption, const QString& proposedPath,
                                            const QStringList& filters, QString* chosenFilter) {
        if (chosenFilter) *chosenFilter = filters.value(0);
        return saveFileName(caption, proposedPath, filters.join(QStringLiteral(";;")));
    }

    // An open dialog for one existing file; `filter` may be empty. Empty when cancelled.
    virtual QString openFileName(const QString& caption, const QString& directory,
                                 const QString& filter) {
        (void)caption;
        (void)directory;
        (void)filter;
        return QString();
    }
    // A save dialog that adds `defaultSuffix` (without dot) to a name typed without one, then asks
    // before overwriting the file of that name; resizable, no read-only option. Empty when
    // cancelled.
    virtual QString saveFileNameWithSuffix(const QString& caption, const QString& directory,
                                           const QString& filter, const QString& defaultSuffix) {
        (void)defaultSuffix;
        return saveFileName(caption, directory, filter);
    }

    // True only when the user chose OK.
    bool question(const QString& text, const QString& caption) {
        return message(text, caption, Icon::Information, Buttons(Button::Ok) | Button::Cancel) ==
               Button::Ok;
    }
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Prompter::Buttons)

}  // namespace pr
