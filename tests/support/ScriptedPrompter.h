#pragma once
// A Prompter for GUI tests: records every message (text, caption, icon, buttons) and answers from
// a queue. With the queue empty it answers Cancel when Cancel was offered, otherwise the first
// offered button, so an unexpected question never lets an operation proceed by accident.

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "gui/toolkit/Prompter.h"

namespace testsupport {

class ScriptedPrompter : public pr::Prompter {
public:
    struct Shown {
        QString text;
        QString caption;
        Icon icon;
        Buttons buttons;
    };

    void answer(Button b) { answers_.push_back(b); }

    Button message(const QString& text, const QString& caption, Icon icon,
                   Buttons buttons) override {
        shown.push_back({text, caption, icon, buttons});
        if (!answers_.empty()) {
            const Button b = answers_.front();
            answers_.pop_front();
            return b;
        }
        if (buttons.testFlag(Button::Cancel)) return Button::Cancel;
        for (Button b : {Button::Ok, Button::Yes, Button::No})
            if (buttons.testFlag(b)) return b;
        return Button::None;
    }

    // Print and printer-setup dialogs: each call takes the next scripted answer, which may set up
    // the printer (a PDF file, another paper) and says whether the user confirmed. With none left
    // the dialog counts as cancelled.
    using PrinterAnswer = std::function<bool(QPrinter&)>;
    void answerPrint(PrinterAnswer a) { printAnswers_.push_back(std::move(a)); }
    void answerPageSetup(PrinterAnswer a) { setupAnswers_.push_back(std::move(a)); }
    bool printDialog(QPrinter& printer, const QString& fileProposal) override {
        ++printDialogs;
        printFileProposals.push_back(fileProposal);
        return next(printAnswers_, printer);
    }
    std::vector<QString> printFileProposals;
    bool pageSetupDialog(QPrinter& printer) override {
        ++pageSetupDialogs;
        return next(setupAnswers_, printer);
    }
    int printDialogs = 0;
    int pageSetupDialogs = 0;

    // Save dialogs answer the queued names in turn, then "cancelled" (empty).
    void answerSaveFile(const QString& path) { saveAnswers_.push_back(path); }
    QString saveFileName(const QString& caption, const QString&, const QString&) override {
        saveCaptions.push_back(caption);
        if (saveAnswers_.empty()) return QString();
        const QString path = saveAnswers_.front();
        saveAnswers_.pop_front();
        return path;
    }
    std::vector<QString> saveCaptions;
    // The save dialog with a default extension answers from the same queue and records what it
    // was given; a scripted name is returned as it is (the test writes the completed name).
    QString saveFileNameWithSuffix(const QString& caption, const QString& directory,
                                   const QString& filter, const QString& defaultSuffix) override {
        saveFilters.push_back(filter);
        saveSuffixes.push_back(defaultSuffix);
        return saveFileName(caption, directory, filter);
    }
    std::vector<QString> saveFilters;
    std::vector<QString> saveSuffixes;
    // The save dialog with filters answers from the same queue; the filter "chosen" is the next
    // one queued with answerSaveFilter, else the first offered.
    void answerSaveFilter(const QString& filter) { filterAnswers_.push_back(filter); }
    QString saveFileNameWithFilters(const QString& caption, const QString& proposedPath,
                                    const QStringList& filters, QString* chosenFilter) override {
        saveProposals.push_back(proposedPath);
        saveFilterLists.push_back(filters);
        QString filter = filters.value(0);
        if (!filterAnswers_.empty()) {
            filter = filterAnswers_.front();
            filterAnswers_.pop_front();
        }
        if (chosenFilter) *chosenFilter = filter;
        return saveFileName(caption, proposedPath, filters.join(QStringLiteral(";;")));
    }
    std::vector<QString> saveProposals;
    std::vector<QStringList> saveFilterLists;

    // Open dialogs answer the queued names in turn, then "cancelled" (empty).
    void answerOpenFile(const QString& path) { openAnswers_.push_back(path); }
    QString openFileName(const QString& caption, const QString&, const QString& filter) override {
        openCaptions.push_back(caption);
        openFilters.push_back(filter);
        if (openAnswers_.empty()) return QString();
        const QString path = openAnswers_.front();
        openAnswers_.pop_front();
        return path;
    }
    std::vector<QString> openCaptions;
    std::vector<QString> openFilters;

    std::vector<Shown> shown;

private:
    static bool next(std::deque<PrinterAnswer>& answers, QPrinter& printer) {
        if (answers.empty()) return false;
        PrinterAnswer a = std::move(answers.front());
        answers.pop_front();
        return a ? a(printer) : false;
    }

    std::deque<Button> answers_;
    std::deque<PrinterAnswer> printAnswers_;
    std::deque<PrinterAnswer> setupAnswers_;
    std::deque<QString> saveAnswers_;
    std::deque<QString> filterAnswers_;
    std::deque<QString> openAnswers_;
};

}  // namespace testsupport
