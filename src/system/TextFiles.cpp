#include "TextFiles.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

struct Entry {
    std::unique_ptr<QFile> file;
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

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The reason a file operation failed, never empty.
QString reasonOf(const QFile& f) {
    const QString s = f.errorString();
    return s.isEmpty() || s == QLatin1String("Unknown error") ? systemReason(EIO) : s;
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

    auto file = std::make_unique<QFile>(path);
    Before b{path, false, 0, QString()};
    constexpr auto base = QIODevice::Append | QIODevice::Unbuffered;
    // Two tries: a file that appears between the look and the open is opened as existing.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const QFileInfo info(path);
        b.existed = info.exists();
        if (b.existed) {
            if (file->open(base | QIODevice::ExistingOnly))
                break;
        } else if (info.isSymLink()) {
            // A link to a file that is not there yet: the open creates the file it points to.
            if (file->open(base)) {
                b.created = info.symLinkTarget();
                break;
            }
        } else if (file->open(base | QIODevice::NewOnly)) {
            b.created = path; // created by this open, so nobody else's file
            break;
        }
        if (attempt == 1 || QFileInfo::exists(path) == b.existed)
            return Status::failure(reasonOf(*file));
    }
    if (b.existed)
        b.length = file->size(); // the length the open found
    table().emplace(number, Entry{std::move(file), b});
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
    if (bytes.isEmpty())
        return {};
    // A short write is retried with the rest, so that the system names what stopped it.
    const char* p = bytes.data();
    qint64 left = bytes.size();
    while (left > 0) {
        e->file->unsetError();
        const qint64 n = e->file->write(p, left);
        if (n <= 0)
            return Status::failure(reasonOf(*e->file));
        p += n;
        left -= n;
    }
    return {};
}

textfiles::Status textfiles::Flush(int number) {
    Entry* e = find(number);
    if (!e)
        return Status::failure(notOpen(number));
    e->file->unsetError();
    if (!e->file->flush())
        return Status::failure(reasonOf(*e->file));
#ifdef Q_OS_UNIX
    // Pipes, sockets and devices cannot be synchronised (EINVAL, EROFS); that is no failure.
    if (::fsync(e->file->handle()) != 0 && errno != EINVAL && errno != EROFS)
        return Status::failure(systemReason(errno));
#endif
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
    if (b.existed && QFileInfo(b.path).isFile() && e->file->size() != b.length &&
        !e->file->resize(b.length))
        cut = Status::failure(reasonOf(*e->file));
    const Status closed = Close(number);
    if (!b.existed)
        return Restore(b);
    return !cut ? cut : closed;
}

textfiles::Status textfiles::Restore(const Before& b) {
    if (!b.existed) {
        if (b.created.isEmpty() || !QFileInfo::exists(b.created))
            return {};
        QFile f(b.created);
        return f.remove() ? Status{} : Status::failure(reasonOf(f));
    }
    const QFileInfo info(b.path);
    if (!info.isFile() || info.size() == b.length)
        return {};
    QFile f(b.path);
    return f.resize(b.length) ? Status{} : Status::failure(reasonOf(f));
}

textfiles::Status textfiles::Close(int number) {
    auto it = table().find(number);
    if (it == table().end())
        return Status::failure(notOpen(number));
    std::unique_ptr<QFile> file = std::move(it->second.file);
    table().erase(it);
    file->unsetError();
    file->close();
    if (file->error() != QFileDevice::NoError)
        return Status::failure(reasonOf(*file));
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
