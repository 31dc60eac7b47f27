#pragma once
// Raising pictures to the minimum quality from the window: the core work (album/QualityCheck.h)
// with its failures shown as messages. Every caller (dropping or resizing a placement, automatic
// arrangement, "A&lle übernehmen", loading an album, printing) goes through these, so the
// messages read the same everywhere.

#include <QCheckBox>
#include <QSpinBox>

#include "core/album/QualityCheck.h"

namespace pr {

class Prompter;

// The values of EnhanceQualCheck and MinQualEd.
QualitySettings qualitySettings(const QCheckBox& enhanceQualCheck, const QSpinBox& minQualEd);

// Changequal on the picture of `placement`; a failure is shown at once (error icon, the caption
// of its outcome) and the progress panel is back at 0 afterwards.
QualityOutcome ChangequalShown(Album& album, const Placement& placement,
                               const QualitySettings& settings, Prompter& prompter,
                               const ProgressFn& progress = {});

// Checkallquals with one message for each failure, in the order they happened.
void CheckallqualsShown(Album& album, const QualitySettings& settings, Prompter& prompter,
                        const ProgressFn& progress = {});

}  // namespace pr
