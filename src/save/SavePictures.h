#pragma once
// The pictures of the save commands, drawn at run time: a diskette (16 x 16), which the main
// window's "Guardar números" shows too, and a cross for cancelling (10 x 10).

#include <QPixmap>

namespace icons {
QPixmap savePicture();
QPixmap cancelPicture();
} // namespace icons
