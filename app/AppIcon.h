#pragma once

#include <QIcon>

namespace app {

// The bench's own 48 × 48 icon: a handset over a signal wave, drawn at run time.
QIcon appIcon();
QPixmap appIconPixmap(int size = 48);

} // namespace app
