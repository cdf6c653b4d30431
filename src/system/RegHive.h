#pragma once
// The machine hive as read from the registry editor's export text: "REGEDIT4" or "Windows
// Registry Editor Version 5.00" (UTF-16LE with its byte-order mark; otherwise UTF-8 when the
// whole text is valid UTF-8, and code page 1252 when it is not), [KEY\PATH]
// sections under HKEY_LOCAL_MACHINE, and values written as "text" (with \\ and \" escapes),
// dword:, hex: and hex(N): bytes (continued over lines by a final "\"), or @ for the default
// value. Key and value names match without regard to case.
//
// Parsing is a pure function of the text: no files, no globals, and no limits but the registry's
// own on keys (512 levels, names of 255 characters). What it can't parse is left out (a bad or
// too deep section hides its values, a bad value line only itself), so such keys and values
// read as missing. A text without the header is an empty hive. It does
// not open, lock or write files; the registry functions in Registry.h do the file side.
//
// Text data is kept in the system's 8-bit code page, which on this platform is UTF-8: in a
// version 5.00 text the UTF-16 bytes of hex(1), hex(2) and hex(7) values are converted to it.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

struct RegValue {
    std::uint32_t type = 0; // REG_SZ 1, REG_EXPAND_SZ 2, REG_BINARY 3, REG_DWORD 4, ...
    std::string data;       // the value's bytes, as a query returns them
};

class RegHive {
  public:
    static RegHive parse(std::string_view text);

    // Paths are below HKEY_LOCAL_MACHINE, parts joined by "\"; "" is the root, always there.
    bool hasKey(std::string_view path) const;
    const RegValue* value(std::string_view path, std::string_view name) const;
    std::size_t keyCount() const { return m_keys.size(); }

    // The form under which names are compared: case folded, parts of a path checked. Empty
    // when a path is not well formed (an empty part, as in "A\\B").
    static std::string foldName(std::string_view name);
    static std::string foldPath(std::string_view path, bool* ok);

  private:
    using Values = std::map<std::string, RegValue>; // folded name -> value
    std::map<std::string, Values> m_keys;           // folded path -> values
    void addKey(const std::string& foldedPath);
};
