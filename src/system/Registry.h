#pragma once
// The three registry functions the About box reads with, with their usual parameters and
// return codes, over the machine hive kept as an export text file (see RegHive.h). By default
// the file is $XDG_DATA_HOME/tamizo/system.reg. Every open of HKEY_LOCAL_MACHINE reads the file
// afresh, so a key handle sees the hive as it was when it was opened.
//
// The file is opened without blocking and read only when it is a regular file (or a link to
// one) of at most kMaxHiveFileBytes. A missing file, and anything else at that path (a pipe, a
// socket, a device, a folder, a larger file), is an empty hive. A file that may not be opened or
// read makes the open fail with ERROR_ACCESS_DENIED.
//
// An open that asks for a write right (KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_CREATE_LINK) is
// denied when the hive file is read-only: not writable by this user, or with no write
// permission bit at all (so that a read-only hive stays read-only for the superuser too).
// Nothing here writes to the hive, and only HKEY_LOCAL_MACHINE has contents; the other
// predefined roots are empty.
//
// Each returns a sys::Result that holds the registry's own return code (ERROR_*) when it fails;
// what it would have written through an out-parameter is the result's value.
//
// Test seam: the hive's path, and a record of the opens made.

#include "Result.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace registry {

using HKEY = std::uint32_t;
using LONG = std::int32_t;
using DWORD = std::uint32_t;
using REGSAM = std::uint32_t;

constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
constexpr HKEY HKEY_USERS = 0x80000003;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM READ_CONTROL = 0x00020000;
constexpr REGSAM KEY_READ = 0x00020019;

constexpr std::size_t kMaxHiveFileBytes = 4 << 20; // 4 MiB

// The handle of the key opened.
sys::Result<HKEY> RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD ulOptions,
                                REGSAM samDesired);

// What a query reports of a value: its type code and the number of bytes written (for a string,
// its terminating NUL included).
struct ValueInfo {
    DWORD type = REG_NONE;
    DWORD size = 0;
};
// Copies the value into the cbData bytes at lpData. lpReserved must be null. With lpData null
// only the type and size are reported. A buffer smaller than the value gives ERROR_MORE_DATA
// and is left untouched.
sys::Result<ValueInfo> RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* lpReserved,
                                        unsigned char* lpData, DWORD cbData);
sys::Status RegCloseKey(HKEY hKey);

// --- seam ---
QString defaultHivePath();
void setHivePath(const QString& path); // empty: back to the default
QString hivePath();

struct OpenCall {
    std::string subKey;
    REGSAM samDesired = 0;
    LONG result = 0; // ERROR_SUCCESS or the code of the failure
};
const std::vector<OpenCall>& openLog(); // every RegOpenKeyExA since the last clear
void clearOpenLog();
int openKeyCount(); // handles opened and not yet closed

} // namespace registry
