#include "TextFiles.h"

#include "SystemErrors.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Entry {
    int fd = -1;
    textfiles::Before before;
};

std::map<int, Entry>& table() {
    static std::map<int, Entry> t;
    return t;
}

Entry* find(int number) {
    auto it = table().find(number);
    return it == table().end() ? nullptr : &it->second;
}

QString notOpen(int number) {
    return QStringLiteral("El número de archivo %1 no está abierto.").arg(number);
}

textfiles::Status systemFailure(int errnum) {
    return textfiles::Status::failure(systemErrorText(errnum));
}

// Why a file of this kind is not written to.
QString notRegular(mode_t mode) {
    if (S_ISDIR(mode))
        return systemErrorText(EISDIR);
    if (S_ISFIFO(mode))
        return QStringLiteral("Es una tubería con nombre, no un archivo normal.");
    if (S_ISSOCK(mode))
        return QStringLiteral("Es un socket, no un archivo normal.");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("Es un dispositivo, no un archivo normal.");
    return QStringLiteral("No es un archivo normal.");
}

// Why opening `name` failed with `errnum`: a target that is no regular file is named as such
// (a pipe with no reader gives ENXIO, a socket ENXIO, a folder EISDIR).
QString openFailure(const QByteArray& name, int errnum) {
    struct stat st {};
    if (::stat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return notRegular(st.st_mode);
    return systemErrorText(errnum);
}

bool exists(const QByteArray& name) {
    struct stat st {};
    return ::stat(name.constData(), &st) == 0;
}

// Code page 1252 in 0x80..0x9F; 0 marks a byte that the code page leaves undefined.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char ansiByte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == c && c != 0)
            return static_cast<char>(0x80 + i);
        if (kHigh[i] == 0 && c == 0x80 + i) // the undefined bytes pass through as themselves
            return static_cast<char>(c);
    }
    return '?';
}

} // namespace

int textfiles::FreeFile() {
    for (int n = 1; n <= kMaxNumber; ++n)
        if (!find(n))
            return n;
    return 0;
}

bool textfiles::isOpen(int number) {
    return find(number) != nullptr;
}

textfiles::Status textfiles::OpenAppend(int number, const QString& path) {
    if (number < 1 || number > kMaxNumber)
        return Status::failure(QStringLiteral("Número de archivo no válido: %1.").arg(number));
    if (find(number))
        return Status::failure(
            QStringLiteral("El número de archivo %1 ya está abierto.").arg(number));

    const QByteArray name = QFile::encodeName(path);
    // Without blocking: opening a pipe would otherwise wait for a reader, and a terminal could
    // become the program's own.
    constexpr int kFlags = O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    constexpr mode_t kMode = 0666; // less the user's mask, as for any new file
    Before b{path, false, 0, QString()};
    int fd = -1;
    // Two tries: a file that appears between the look and the open is opened as existing.
    for (int attempt = 0; attempt < 2; ++attempt) {
        b.existed = exists(name);
        b.created.clear();
        if (b.existed) {
            fd = ::open(name.constData(), kFlags);
        } else if (const QFileInfo info(path); info.isSymLink()) {
            // A link to a file that is not there yet: the open creates the file it points to.
            fd = ::open(name.constData(), kFlags | O_CREAT, kMode);
            if (fd >= 0)
                b.created = info.symLinkTarget();
        } else {
            fd = ::open(name.constData(), kFlags | O_CREAT | O_EXCL, kMode);
            if (fd >= 0)
                b.created = path; // created by this open, so nobody else's file
        }
        if (fd >= 0)
            break;
        const int err = errno;
        if (attempt == 1 || exists(name) == b.existed)
            return Status::failure(openFailure(name, err));
    }

    // What was opened is what counts, whatever the name pointed to a moment before.
    struct stat st {};
    Status usable;
    if (::fstat(fd, &st) != 0)
        usable = systemFailure(errno);
    else if (!S_ISREG(st.st_mode))
        usable = Status::failure(notRegular(st.st_mode));
    else if (const int flags = ::fcntl(fd, F_GETFL);
             flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1)
        usable = systemFailure(errno);
    if (!usable) {
        ::close(fd);
        if (const Status undone = Restore(b); !undone) // a file this open created goes again
            usable.reason += QLatin1Char('\n') + undone.reason;
        return usable;
    }
    if (b.existed)
        b.length = st.st_size; // the length the open found
    table().emplace(number, Entry{fd, b});
    return {};
}

textfiles::Status textfiles::PrintLine(int number, QStringView line) {
    QByteArray bytes = toAnsi(line);
    bytes.append("\r\n", 2);
    return WriteBytes(number, bytes);
}

textfiles::Status textfiles::WriteBytes(int number, QByteArrayView bytes) {
    Entry* e = find(number);
    if (!e)
        return Status::failure(notOpen(number));
    // A short write is retried with the rest, so that the system names what stopped it.
    const char* p = bytes.data();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(e->fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return systemFailure(errno);
        if (n == 0)
            return systemFailure(EIO);
        p += n;
        left -= n;
    }
    return {};
}

textfiles::Status textfiles::Flush(int number) {
    Entry* e = find(number);
    if (!e)
        return Status::failure(notOpen(number));
    // Nothing is held back in the program; the disk must have it too. A file system that
    // cannot synchronise (EINVAL, EROFS) has nothing more to give.
    if (::fsync(e->fd) != 0 && errno != EINVAL && errno != EROFS)
        return systemFailure(errno);
    return {};
}

std::optional<textfiles::Before> textfiles::before(int number) {
    const Entry* e = find(number);
    if (!e)
        return std::nullopt;
    return e->before;
}

textfiles::Status textfiles::Rollback(int number) {
    Entry* e = find(number);
    if (!e)
        return Status::failure(notOpen(number));
    const Before b = e->before;
    Status cut;
    // Cut back through the open handle: it is the file that was written, whatever its name now.
    struct stat st {};
    if (b.existed) {
        if (::fstat(e->fd, &st) != 0)
            cut = systemFailure(errno);
        else if (st.st_size != b.length && ::ftruncate(e->fd, b.length) != 0)
            cut = systemFailure(errno);
    }
    const Status closed = Close(number);
    if (!b.existed)
        return Restore(b);
    return !cut ? cut : closed;
}

textfiles::Status textfiles::Restore(const Before& b) {
    if (!b.existed) {
        if (b.created.isEmpty())
            return {};
        if (::unlink(QFile::encodeName(b.created).constData()) != 0 && errno != ENOENT)
            return systemFailure(errno);
        return {};
    }
    const QByteArray name = QFile::encodeName(b.path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == b.length)
        return {};
    return ::truncate(name.constData(), b.length) == 0 ? Status{} : systemFailure(errno);
}

textfiles::Status textfiles::Close(int number) {
    auto it = table().find(number);
    if (it == table().end())
        return Status::failure(notOpen(number));
    const int fd = it->second.fd;
    table().erase(it);
    // On Linux the descriptor is gone even when close reports an interruption.
    if (::close(fd) != 0 && errno != EINTR)
        return systemFailure(errno);
    return {};
}

textfiles::Status textfiles::CloseAll() {
    Status first;
    while (!table().empty()) {
        const Status s = Close(table().begin()->first);
        if (!s && first)
            first = s;
    }
    return first;
}

QByteArray textfiles::toAnsi(QStringView text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text)
        out.append(ansiByte(c.unicode()));
    return out;
}
