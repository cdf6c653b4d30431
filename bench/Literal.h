#pragma once
// The search loop as first written: every candidate divided by every item, each divisor
// converted from the item's text at each division, the list box the only store.
// Kept for comparison with the program's search; yields are left out, which only favours it.

#include <QtGlobal>

class ListBox;

void literalSearch(ListBox& lista, double limit);
