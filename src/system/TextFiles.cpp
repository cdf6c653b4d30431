#include "TextFiles.h"

#include "TextCoding.h"

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

// The code for a target of this kind that is no regular file.
int notRegular(mode_t mode) {
    if (S_ISDIR(mode))
        return EISDIR;
    if (S_ISFIFO(mode))
        return ESPIPE;
    if (S_ISSOCK(mode))
        return EOPNOTSUPP;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return ENODEV;
    return EINVAL;
}

// The code for opening `name` failing with `errnum`: a target that is no regular file is named
// by its kind (a pipe with no reader gives ENXIO, a socket ENXIO, a folder EISDIR).
int openFailure(const QByteArray& name, int errnum) {
    struct stat st {};
    if (::stat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return notRegular(st.st_mode);
    return errnum;
}

bool exists(const QByteArray& name) {
    struct stat st {};
    return ::stat(name.constData(), &st) == 0;
}

} // namespace

sys::Result<int> textfiles::FreeFile() {
    for (int n = 1; n <= kMaxNumber; ++n)
        if (!find(n))
            return n;
    return sys::Error{EMFILE};
}

bool textfiles::isOpen(int number) {
    return find(number) != nullptr;
}

sys::Status textfiles::OpenAppend(int number, const QString& path) {
    if (number < 1 || number > kMaxNumber)
        return sys::Error{EBADF};
    if (find(number))
        return sys::Error{EBUSY};

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
            return sys::Error{openFailure(name, err)};
    }

    // What was opened is what counts, whatever the name pointed to a moment before.
    struct stat st {};
    int refused = 0;
    if (::fstat(fd, &st) != 0)
        refused = errno;
    else if (!S_ISREG(st.st_mode))
        refused = notRegular(st.st_mode);
    else if (const int flags = ::fcntl(fd, F_GETFL);
             flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1)
        refused = errno;
    if (refused != 0) {
        ::close(fd);
        // A file this open created goes again. Should that fail as well, the code of the
        // removal is the one given: it tells why something is left behind.
        if (const sys::Status undone = Restore(b); !undone)
            return undone;
        return sys::Error{refused};
    }
    if (b.existed)
        b.length = st.st_size; // the length the open found
    table().emplace(number, Entry{fd, b});
    return {};
}

sys::Status textfiles::PrintLine(int number, QStringView line) {
    QByteArray bytes = toAnsi(line);
    bytes.append("\r\n", 2);
    return WriteBytes(number, bytes);
}

sys::Status textfiles::WriteBytes(int number, QByteArrayView bytes) {
    Entry* e = find(number);
    if (!e)
        return sys::Error{EBADF};
    // A short write is retried with the rest, so that the system names what stopped it.
    const char* p = bytes.data();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(e->fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return sys::Error{errno};
        if (n == 0)
            return sys::Error{EIO};
        p += n;
        left -= n;
    }
    return {};
}

sys::Status textfiles::Flush(int number) {
    Entry* e = find(number);
    if (!e)
        return sys::Error{EBADF};
    // Nothing is held back in the program; the disk must have it too. A file system that
    // cannot synchronise (EINVAL, EROFS) has nothing more to give.
    if (::fsync(e->fd) != 0 && errno != EINVAL && errno != EROFS)
        return sys::Error{errno};
    return {};
}

std::optional<textfiles::Before> textfiles::before(int number) {
    const Entry* e = find(number);
    if (!e)
        return std::nullopt;
    return e->before;
}

sys::Status textfiles::Rollback(int number) {
    Entry* e = find(number);
    if (!e)
        return sys::Error{EBADF};
    const Before b = e->before;
    sys::Status cut;
    // Cut back through the open handle: it is the file that was written, whatever its name now.
    struct stat st {};
    if (b.existed) {
        if (::fstat(e->fd, &st) != 0)
            cut = sys::Error{errno};
        else if (st.st_size != b.length && ::ftruncate(e->fd, b.length) != 0)
            cut = sys::Error{errno};
    }
    const sys::Status closed = Close(number);
    if (!b.existed)
        return Restore(b);
    return !cut ? cut : closed;
}

sys::Status textfiles::Restore(const Before& b) {
    if (!b.existed) {
        if (b.created.isEmpty())
            return {};
        if (::unlink(QFile::encodeName(b.created).constData()) != 0 && errno != ENOENT)
            return sys::Error{errno};
        return {};
    }
    const QByteArray name = QFile::encodeName(b.path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == b.length)
        return {};
    if (::truncate(name.constData(), b.length) != 0)
        return sys::Error{errno};
    return {};
}

sys::Status textfiles::Close(int number) {
    auto it = table().find(number);
    if (it == table().end())
        return sys::Error{EBADF};
    const int fd = it->second.fd;
    table().erase(it);
    // On Linux the descriptor is gone even when close reports an interruption.
    if (::close(fd) != 0 && errno != EINTR)
        return sys::Error{errno};
    return {};
}

sys::Status textfiles::CloseAll() {
    sys::Status first;
    while (!table().empty()) {
        const sys::Status s = Close(table().begin()->first);
        if (!s && first)
            first = s;
    }
    return first;
}

QByteArray textfiles::toAnsi(QStringView text) {
    return textcoding::toCp1252(text);
}
