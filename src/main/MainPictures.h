#pragma once
// The small pictures of the main window's start and stop commands, drawn at run time
// (16 x 16). The save command shows the save dialog's own picture.

#include <QPixmap>

namespace icons {
QPixmap startPicture();
QPixmap stopPicture();
} // namespace icons
