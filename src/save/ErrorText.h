#pragma once
// The program's own Spanish words for the error codes that the system layer returns when a file
// or a drive operation fails: one table, looked up by errno value, shown by the save dialog. It
// never asks the C library or the system's message catalogues, so the words are the same under
// every locale. It does not decide what a box says around the reason.

#include <QString>

// The reason for the error number `errnum` (an errno value), a sentence with its final point.
// A number the table lacks gives "Error del sistema número N.".
QString systemErrorText(int errnum);
