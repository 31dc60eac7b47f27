#pragma once
// The real Prompter: modal QMessageBox dialogs. Button texts come from Qt's own translations
// (qtbase_de.qm, loaded in main), so they read "OK", "Abbrechen", "Ja", "Nein".

#include <QPointer>
#include <QWidget>

#include "gui/toolkit/Prompter.h"

namespace pr {

class QtPrompter : public Prompter {
public:
    // `parent` (may be null) owns the dialogs while they are open and centres them.
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}

    Button message(const QString& text, const QString& caption, Icon icon,
                   Buttons buttons) override;
    bool printDialog(QPrinter& printer, const QString& fileProposal) override;
    // Qt's print dialog asks "... already exists" itself before it accepts a file that exists.
    bool printDialogAsksBeforeReplacing() const override { return true; }
    bool pageSetupDialog(QPrinter& printer) override;
    QString saveFileName(const QString& caption, const QString& directory,
                         const QString& filter) override;
    QString openFileName(const QString& caption, const QString& directory,
                         const QString& filter) override;
    QString saveFileNameWithFilters(const QString& caption, const QString& proposedPath,
                                    const QStringList& filters, QString* chosenFilter) override;
    QString saveFileNameWithSuffix(const QString& caption, const QString& directory,
                                   const QString& filter, const QString& defaultSuffix) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace pr
