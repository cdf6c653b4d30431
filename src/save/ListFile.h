#pragma once
// The prime list file: where a save goes and what one save appends. A block is a header line
// "---Tamizo, <date>---" and then one line per list item, every line ending in CR LF, in code
// page 1252. The numbers' lines are formatted straight from the store into a buffer (ListText)
// and the file table gets whole chunks, so its cost is one pass over the list.
// It neither opens nor closes the file, and shows nothing.

#include "TextFiles.h"

#include <QString>

class PrimeStore;

namespace listfile {

// Bytes gathered before they go to the file. Raising it (or the formatting below it) is all a
// faster writer needs to touch.
constexpr qsizetype kChunkBytes = 1024 * 1024;

// The folder with the platform's separator appended unless it already ends in one, then the
// name exactly as typed, then ".txt".
QString fullName(const QString& folder, const QString& name, QChar separator);
// True when the typed name holds a folder separator ("/", and on Windows also "\").
bool nameHasSeparator(const QString& name);

// The header line, without its line end.
QString header(const QString& shortDate);

// Appends one block to the file open under `fileNumber`: the header for `shortDate`, then the
// decimal text of every item, in order. Reports the first write that failed.
sys::Status writeBlock(int fileNumber, const QString& shortDate, const PrimeStore& items);

} // namespace listfile
