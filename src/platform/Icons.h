#pragma once
// The program's own pictures, drawn at run time: the window icon (32 x 32 and 16 x 16) and the
// small pictures of the command buttons, and the windows' default font. No widget logic.

#include <QIcon>
#include <QPixmap>

namespace icons {
QIcon appIcon();
QPixmap appPixmap32();
QPixmap startPicture();  // 16 x 16
QPixmap stopPicture();   // 16 x 16
QPixmap savePicture();   // 16 x 16
QPixmap cancelPicture(); // 10 x 10

// The windows' default font: "MS Sans Serif" 8 pt (7.5 pt of a stand-in matches its size), with the
// nearest narrow sans serif that the machine has standing in for it.
QFont formsFont();
} // namespace icons
