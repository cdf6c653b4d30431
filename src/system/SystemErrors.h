#pragma once
// The reasons the system gives for a failed file or drive operation, in the program's own
// Spanish words: one table, looked up by error number. It never asks the C library or the
// system's message catalogues, so the words are the same under every locale. It does not
// decide what a box says around the reason.

#include <QString>

// The reason for the error number `errnum` (an errno value), a sentence with its final point.
// A number the table lacks gives "Error del sistema número N.".
QString systemErrorText(int errnum);
