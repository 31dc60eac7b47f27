#include "gui/output/PaperNames.h"

namespace pr {

bool paperByName(const QString& name, QPageSize& out) {
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
        const auto sizeId = static_cast<QPageSize::PageSizeId>(id);
        if (sizeId == QPageSize::Custom) continue;
        if (QPageSize::key(sizeId).compare(name, Qt::CaseInsensitive) == 0) {
            out = QPageSize(sizeId);
            return true;
        }
    }
    return false;
}

}  // namespace pr
