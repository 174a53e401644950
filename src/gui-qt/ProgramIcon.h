#pragma once

#include <QIcon>

namespace tarvo {

// The program's icon, for every window and the task bar.
inline QIcon programIcon() {
    return QIcon(QStringLiteral(":/tarvo/icon.png"));
}

}  // namespace tarvo
