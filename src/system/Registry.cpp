#include "Registry.h"

#include "RegHive.h"

#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace registry {
namespace {
struct OpenKey {
    std::shared_ptr<const RegHive> hive;
    std::string path;      // below HKEY_LOCAL_MACHINE, as given (folded when looked up)
    bool readOnly = false; // the hive file was read-only when the root was opened
};

struct State {
    QString hivePath;
    std::map<HKEY, OpenKey> open;
    HKEY next = 0x100;
    std::vector<OpenCall> log;
};
State& state() {
    static State s;
    return s;
}

bool isPredefined(HKEY h) {
    return h >= HKEY_CLASSES_ROOT && h <= 0x80000006;
}

// Beyond this a hive's memory is handed back when it is freed (see parseHive).
constexpr std::size_t kLargeHiveText = 64 << 10;

struct HiveFile {
    enum Status { Missing, Unreadable, Read } status = Missing;
    std::string text;
    bool readOnly = false;
};

// Reads the hive file without ever waiting on it. It is opened without blocking and read only
// when it is a regular file of at most kMaxHiveFileBytes; a pipe, a socket, a device, a folder
// or a larger file (also one that grows past the limit while it is read) is no hive file at all.
// A file we may not open or read is Unreadable.
HiveFile readHiveFile(const QString& path) {
    HiveFile file;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == EACCES || errno == EPERM)
            file.status = HiveFile::Unreadable; // there, but we may not read it
        return file;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        file.status = HiveFile::Unreadable;
    } else if (S_ISREG(st.st_mode) && st.st_size >= 0 &&
               static_cast<std::size_t>(st.st_size) <= kMaxHiveFileBytes) {
        // One byte more than the limit tells a file that has grown since fstat.
        constexpr std::size_t kEnough = kMaxHiveFileBytes + 1;
        file.text.resize(static_cast<std::size_t>(st.st_size) + 1);
        std::size_t got = 0;
        file.status = HiveFile::Read;
        while (got < kEnough) {
            if (got == file.text.size())
                file.text.resize(std::min(kEnough, 2 * got));
            const ssize_t n = ::read(fd, file.text.data() + got, file.text.size() - got);
            if (n > 0) {
                got += static_cast<std::size_t>(n);
            } else if (n == 0) {
                break;
            } else if (errno != EINTR) {
                file.status = HiveFile::Unreadable;
                break;
            }
        }
        file.text.resize(got);
        if (file.status == HiveFile::Read && got > kMaxHiveFileBytes)
            file.status = HiveFile::Missing;
        if (file.status != HiveFile::Read)
            std::string().swap(file.text);
        // Read-only for this user, or with no write permission bit at all (so that a read-only
        // hive stays read-only for the superuser too).
        file.readOnly =
            !(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) || ::access(name.constData(), W_OK) != 0;
    }
    ::close(fd);
    return file;
}

// The hive of a file's text. A large text makes a hive of many small blocks, which the C library
// keeps for itself when they are freed in the middle of the heap: once such a hive is no longer
// used, its memory goes back to the system.
std::shared_ptr<const RegHive> parseHive(std::string text) {
    const bool large = text.size() > kLargeHiveText;
    auto* hive = new RegHive(RegHive::parse(text));
    std::string().swap(text);
    return std::shared_ptr<const RegHive>(hive, [large](const RegHive* h) {
        delete h;
#if defined(__GLIBC__)
        if (large)
            ::malloc_trim(0);
#endif
    });
}

sys::Result<HKEY> open(HKEY hKey, const char* lpSubKey, REGSAM samDesired) {
    State& s = state();
    OpenKey base;
    if (hKey == HKEY_LOCAL_MACHINE) {
        HiveFile file = readHiveFile(hivePath());
        if (file.status == HiveFile::Unreadable)
            return sys::Error{ERROR_ACCESS_DENIED};
        base.hive = parseHive(std::move(file.text));
        base.readOnly = file.readOnly;
    } else if (isPredefined(hKey)) {
        return sys::Error{ERROR_FILE_NOT_FOUND}; // nothing is kept under the other roots
    } else if (const auto it = s.open.find(hKey); it != s.open.end()) {
        base = it->second;
    } else {
        return sys::Error{ERROR_INVALID_HANDLE};
    }

    OpenKey key = base;
    const std::string sub = lpSubKey ? lpSubKey : "";
    if (!sub.empty())
        key.path = key.path.empty() ? sub : key.path + '\\' + sub;
    if (!key.hive->hasKey(key.path))
        return sys::Error{ERROR_FILE_NOT_FOUND};
    const REGSAM writeRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK;
    if ((samDesired & writeRights) && key.readOnly)
        return sys::Error{ERROR_ACCESS_DENIED};

    const HKEY handle = s.next++;
    s.open.emplace(handle, std::move(key));
    return handle;
}
} // namespace

sys::Result<HKEY> RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD ulOptions,
                                REGSAM samDesired) {
    Q_UNUSED(ulOptions);
    auto r = open(hKey, lpSubKey, samDesired);
    state().log.push_back({lpSubKey ? lpSubKey : "", samDesired, r.code()});
    return r;
}

sys::Result<ValueInfo> RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* lpReserved,
                                        unsigned char* lpData, DWORD cbData) {
    const auto it = state().open.find(hKey);
    if (it == state().open.end())
        return sys::Error{ERROR_INVALID_HANDLE};
    if (lpReserved)
        return sys::Error{ERROR_INVALID_PARAMETER};
    const RegValue* v = it->second.hive->value(it->second.path, lpValueName ? lpValueName : "");
    if (!v)
        return sys::Error{ERROR_FILE_NOT_FOUND};
    const auto size = static_cast<DWORD>(v->data.size());
    if (lpData) {
        if (cbData < size)
            return sys::Error{ERROR_MORE_DATA};
        if (size != 0)
            std::memcpy(lpData, v->data.data(), size);
    }
    return ValueInfo{v->type, size};
}

sys::Status RegCloseKey(HKEY hKey) {
    if (isPredefined(hKey) || state().open.erase(hKey))
        return {};
    return sys::Error{ERROR_INVALID_HANDLE};
}

QString defaultHivePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/tamizo/system.reg");
}
void setHivePath(const QString& path) {
    state().hivePath = path;
}
QString hivePath() {
    return state().hivePath.isEmpty() ? defaultHivePath() : state().hivePath;
}
const std::vector<OpenCall>& openLog() {
    return state().log;
}
void clearOpenLog() {
    state().log.clear();
}
int openKeyCount() {
    return static_cast<int>(state().open.size());
}

} // namespace registry
