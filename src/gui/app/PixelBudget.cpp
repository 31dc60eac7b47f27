#include "gui/app/PixelBudget.h"

#include <QString>
#include <QtGlobal>

#include "core/imaging/RenditionCache.h"

namespace pr {

std::size_t applyPixelBudget(std::size_t fallback) {
    std::size_t budget = fallback;
    bool ok = false;
    const qlonglong mb = qEnvironmentVariable("PIXO_RAHMLER_BILDSPEICHER_MB").toLongLong(&ok);
    // Below a page's worth the cache would only thrash; above a terabyte is a typing error.
    if (ok && mb >= 32 && mb <= (qlonglong{1} << 20)) budget = static_cast<std::size_t>(mb) << 20;
    RenditionCache::shared().setBudget(budget);
    return budget;
}

}  // namespace pr
