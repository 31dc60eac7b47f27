#pragma once
// The program's compiled-in files (resources/resources.qrc). pr_gui is a static library, and the
// linker leaves out the resource object unless something refers to it; every user of a ":/" path
// calls this first. Cheap after the first call.

namespace pr {

void ensureProgramResources();

}  // namespace pr
