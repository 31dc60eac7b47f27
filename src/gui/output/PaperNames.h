#pragma once
// The paper sizes the command line takes by name: the names Qt knows its page sizes by ("A4",
// "Letter", "Legal" ...), in any case.

#include <QPageSize>
#include <QString>

namespace pr {

// False when no paper has that name.
bool paperByName(const QString& name, QPageSize& out);

}  // namespace pr
