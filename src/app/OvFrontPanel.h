// The access point's front panel, drawn at 390 x 94 with its LED windows at
// the positions where the LED shapes sit.
#pragma once

#include <QPixmap>

namespace ov {
QPixmap frontPanelPicture(const QString& modelName);
}
