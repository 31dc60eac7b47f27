#pragma once
// Long image loops report 0..100 through this callback; the window draws it in the status bar.
// An empty function means nobody listens.

#include <functional>

namespace pr {

using ProgressFn = std::function<void(int percent)>;

}  // namespace pr
