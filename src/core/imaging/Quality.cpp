#include "core/imaging/Quality.h"

#include <cmath>

#include "core/imaging/DepthUpTo.h"
#include "core/imaging/DibSize.h"
#include "core/imaging/Resize.h"

namespace pr {

QualityMessage qualityMessage(QualityOutcome outcome) {
    switch (outcome) {
        case QualityOutcome::DepthFailed:
            return {"Die Farbtiefe konnte nicht hochgerechnet werden (Speichermangel?).", "Fehler"};
        case QualityOutcome::ResizeFailed:
            return {"Fehler beim automatischen erhöhen der Qualität...", ""};
        default:
            return {};
    }
}

QualityOutcome enlargementFor(int width, int height, double widthInches,
                              const QualitySettings& settings, int& newWidth, int& newHeight) {
    newWidth = width;
    newHeight = height;
    if (!settings.enhance || width <= 0 || height <= 0) return QualityOutcome::Unchanged;
    const double wanted = static_cast<double>(settings.minQuality) * widthInches;
    // A NaN or non-positive width (a damaged album file) asks for nothing.
    if (!(wanted >= 1.0)) return QualityOutcome::Unchanged;
    const int64_t w = width;
    const int64_t h = height;
    // Far beyond the largest side anyway; refused here so that the conversion cannot overflow.
    if (wanted >= 4.0 * 1024 * 1024 * 1024) return QualityOutcome::ResizeFailed;
    const auto need = static_cast<int64_t>(wanted);  // truncates toward zero
    const int64_t needH = need * h / w;
    if (w >= need && h >= needH) return QualityOutcome::Unchanged;

    DibLayout layout;
    if (computeDibLayout(need, needH, 24, layout) != SizeCheck::Ok) {
        return QualityOutcome::ResizeFailed;
    }
    newWidth = static_cast<int>(need);
    newHeight = static_cast<int>(needH);
    return QualityOutcome::Enlarged;
}

QualityOutcome Changequal(ImageBuffer& image, double widthInches, double /*heightInches*/,
                          const QualitySettings& settings, const ProgressFn& progress) {
    if (!image.valid()) return QualityOutcome::Unchanged;
    int need, needH;
    const QualityOutcome decided =
        enlargementFor(image.width(), image.height(), widthInches, settings, need, needH);
    if (decided != QualityOutcome::Enlarged) return decided;
    if (image.bitCount() < 24) {
        DepthUpTo(image, 24, progress);
        if (image.tableSize() > 0) return QualityOutcome::DepthFailed;
    }
    ImageBuffer result;
    if (!Resize(image, need, needH, true, result, progress)) {
        return QualityOutcome::ResizeFailed;
    }
    image = std::move(result);
    return QualityOutcome::Enlarged;
}

}  // namespace pr
