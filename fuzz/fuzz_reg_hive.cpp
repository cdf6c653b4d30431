// Fuzzes the hive reader with arbitrary export text. Beyond not crashing: the root is always
// there, parsing is a pure function of the text, and a value found through one spelling of a
// path is found through its upper-case spelling too.

#include "RegHive.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const RegHive hive = RegHive::parse(text);
    if (!hive.hasKey(""))
        std::abort();
    if (RegHive::parse(text).keyCount() != hive.keyCount())
        std::abort();

    static const std::string_view kKeys[] = {
        "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
        "SOFTWARE\\Microsoft\\Shared Tools Location",
        "software\\test",
        "",
    };
    static const std::string_view kNames[] = {"PATH", "MSINFO", "", "value", "A"};
    for (const auto key : kKeys) {
        for (const auto name : kNames) {
            const RegValue* v = hive.value(key, name);
            if (v && !hive.hasKey(key))
                std::abort();
            const RegValue* same = hive.value(upper(key), upper(name));
            if ((v == nullptr) != (same == nullptr))
                std::abort();
            if (v && (v->type != same->type || v->data != same->data))
                std::abort();
        }
    }
    return 0;
}
