#pragma once
// Names that appear in more than one window.

#include <QString>

namespace pr {

inline QString programTitle() {
    return QStringLiteral("Pixo-Rahmler 4.0");
}
inline QString makerName() {
    return QStringLiteral("ZOR-VEX");
}
inline QString makerAddress() {
    return QStringLiteral("https://www.zor-vex.example/");
}

}  // namespace pr
