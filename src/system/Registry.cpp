#include "Registry.h"

#include "RegHive.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstring>
#include <map>
#include <memory>

namespace registry {
namespace {
struct OpenKey {
    std::shared_ptr<const RegHive> hive;
    std::string path; // below HKEY_LOCAL_MACHINE, as given (folded when looked up)
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

bool hiveIsReadOnly(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    const auto anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !info.isWritable() || !(info.permissions() & anyWrite);
}

LONG open(HKEY hKey, const char* lpSubKey, REGSAM samDesired, HKEY* phkResult) {
    State& s = state();
    OpenKey base;
    if (hKey == HKEY_LOCAL_MACHINE) {
        QFile file(hivePath());
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray text = file.readAll();
            base.hive = std::make_shared<const RegHive>(
                RegHive::parse(std::string_view(text.constData(), text.size())));
        } else if (file.exists()) {
            return ERROR_ACCESS_DENIED; // there, but we may not read it
        } else {
            base.hive = std::make_shared<const RegHive>();
        }
    } else if (isPredefined(hKey)) {
        return ERROR_FILE_NOT_FOUND; // nothing is kept under the other roots
    } else if (const auto it = s.open.find(hKey); it != s.open.end()) {
        base = it->second;
    } else {
        return ERROR_INVALID_HANDLE;
    }

    OpenKey key = base;
    const std::string sub = lpSubKey ? lpSubKey : "";
    if (!sub.empty())
        key.path = key.path.empty() ? sub : key.path + '\\' + sub;
    if (!key.hive->hasKey(key.path))
        return ERROR_FILE_NOT_FOUND;
    const REGSAM writeRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK;
    if ((samDesired & writeRights) && hiveIsReadOnly(hivePath()))
        return ERROR_ACCESS_DENIED;

    const HKEY handle = s.next++;
    s.open.emplace(handle, std::move(key));
    *phkResult = handle;
    return ERROR_SUCCESS;
}
} // namespace

LONG RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD ulOptions, REGSAM samDesired,
                   HKEY* phkResult) {
    Q_UNUSED(ulOptions);
    const LONG r =
        phkResult ? open(hKey, lpSubKey, samDesired, phkResult) : ERROR_INVALID_PARAMETER;
    state().log.push_back({lpSubKey ? lpSubKey : "", samDesired, r});
    return r;
}

LONG RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType,
                      unsigned char* lpData, DWORD* lpcbData) {
    const auto it = state().open.find(hKey);
    if (it == state().open.end())
        return ERROR_INVALID_HANDLE;
    if (lpReserved || (lpData && !lpcbData))
        return ERROR_INVALID_PARAMETER;
    const RegValue* v = it->second.hive->value(it->second.path, lpValueName ? lpValueName : "");
    if (!v)
        return ERROR_FILE_NOT_FOUND;
    if (lpType)
        *lpType = v->type;
    const auto size = static_cast<DWORD>(v->data.size());
    if (!lpData) {
        if (lpcbData)
            *lpcbData = size;
        return ERROR_SUCCESS;
    }
    if (*lpcbData < size) {
        *lpcbData = size;
        return ERROR_MORE_DATA;
    }
    if (size != 0)
        std::memcpy(lpData, v->data.data(), size);
    *lpcbData = size;
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey) {
    if (isPredefined(hKey))
        return ERROR_SUCCESS;
    return state().open.erase(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
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
