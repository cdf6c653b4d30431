#pragma once
// Who the program is to its user, in the words that every window shares: its title, "Tamizo",
// and the captions of the message boxes' buttons, "Aceptar", "Sí" and "No". Every window calls
// install() when it is made, so that a box with no title bears the program's title whichever
// window opens it, also a dialog made on its own. It draws nothing (the icon is ProgramIcons')
// and knows no window.

#include <QString>

namespace program {
QString title();
// Gives the message boxes the program's title and captions. Calling it again changes nothing.
void install();
} // namespace program
