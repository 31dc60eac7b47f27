#include "gui/toolkit/ProgramResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE names a function in the global namespace, so it cannot be used inside pr.
static void registerProgramResources() {
    Q_INIT_RESOURCE(resources);
}

namespace pr {

void ensureProgramResources() {
    static const bool registered = (registerProgramResources(), true);
    (void)registered;
}

}  // namespace pr
