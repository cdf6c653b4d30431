#pragma once
// The windows' default font: "MS Sans Serif" 8 pt (7.5 pt of a stand-in matches its size), with
// the nearest narrow sans serif that the machine has standing in for it.

#include <QFont>

namespace forms {
QFont defaultFont();
} // namespace forms
