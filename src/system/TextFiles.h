#pragma once
// The table of numbered open text files: a free number, open for appending, write a line (or a
// run of bytes already encoded), flush, close all. Text goes out in code page 1252, one byte a
// character. Every operation that can fail returns a sys::Status or sys::Result with the
// system's errno: nothing here fails silently, and nothing here words a failure. Only regular
// files are written: a pipe, a socket, a device or a folder is refused at the open, which never
// waits for anything on the other side.
//
// The table also remembers what each file was like before it was opened (its length, or that
// it did not exist), so a caller whose writing failed part-way can put the file back exactly as
// it was. It knows nothing of what the lines mean.
//
// Codes of its own making, beyond what the system calls give:
//   EBADF   a number out of range, or one not open;  EBUSY  a number already open;
//   EMFILE  every number taken;
//   a target that is no regular file: EISDIR a folder, ESPIPE a named pipe, EOPNOTSUPP a
//   socket, ENODEV a device, EINVAL anything else.

#include "Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace textfiles {

// What a file was before it was opened for appending.
struct Before {
    QString path;         // as given to OpenAppend
    bool existed = false; // false: the open created it
    qint64 length = 0;    // the length it had (0 when it did not exist)
    QString created;      // the file that the open created, when it did not exist
};

constexpr int kMaxNumber = 511;

// The lowest number not in use (1 to kMaxNumber); EMFILE when every number is taken.
sys::Result<int> FreeFile();
bool isOpen(int number);

// Opens `path` for appending under `number`, creating it when it does not exist. Fails when the
// number is out of range or already in use, when `path` is not a regular file, or when the
// system refuses.
sys::Status OpenAppend(int number, const QString& path);

// The line in code page 1252 followed by CR LF.
sys::Status PrintLine(int number, QStringView line);
// Bytes exactly as given (the caller has encoded them and added the line ends).
sys::Status WriteBytes(int number, QByteArrayView bytes);
// Everything written so far has reached the file (and, where the system can say so, the disk).
sys::Status Flush(int number);

// What the file under `number` was before it was opened; nothing when the number is not open.
std::optional<Before> before(int number);
// Closes the file under `number` and puts it back as it was before it was opened: cut back to
// its former length, or removed when the open created it.
sys::Status Rollback(int number);
// The same for a file that is no longer open.
sys::Status Restore(const Before& before);

sys::Status Close(int number);
// Closes every open file, even when some close fails; reports the first failure.
sys::Status CloseAll();

// Text in code page 1252; characters it lacks become "?".
QByteArray toAnsi(QStringView text);

} // namespace textfiles
