#include "gui/imaging/QualityCommands.h"

#include "gui/toolkit/Prompter.h"

namespace pr {
namespace {

void show(QualityOutcome outcome, Prompter& prompter) {
    const QualityMessage m = qualityMessage(outcome);
    if (m.text.empty()) return;
    prompter.message(QString::fromStdString(m.text), QString::fromStdString(m.caption),
                     Prompter::Icon::Error, Prompter::Button::Ok);
}

}  // namespace

QualitySettings qualitySettings(const QCheckBox& enhanceQualCheck, const QSpinBox& minQualEd) {
    return {enhanceQualCheck.isChecked(), minQualEd.value()};
}

QualityOutcome ChangequalShown(Album& album, const Placement& placement,
                               const QualitySettings& settings, Prompter& prompter,
                               const ProgressFn& progress) {
    const QualityOutcome outcome = ChangequalPlacement(album, placement, settings);
    // A failure may leave the bar wherever the loop stopped; it must not stand under the message.
    if (progress) progress(0);
    show(outcome, prompter);
    return outcome;
}

void CheckallqualsShown(Album& album, const QualitySettings& settings, Prompter& prompter,
                        const ProgressFn& progress) {
    const std::vector<QualityOutcome> failures = Checkallquals(album, settings);
    if (progress) progress(0);
    for (QualityOutcome outcome : failures) show(outcome, prompter);
}

}  // namespace pr
