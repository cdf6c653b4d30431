#include "RegHive.h"

#include "TextCoding.h"

#include <QString>

#include <cctype>
#include <optional>
#include <utility>

namespace {
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

// The text as UTF-8. A UTF-16LE text (byte-order mark FF FE) is converted; otherwise a UTF-8
// byte-order mark is dropped, and what follows is taken as it is when it is valid UTF-8 and as
// code page 1252 (the older exports' 8-bit text) when it is not.
std::string decodeText(std::string_view text) {
    if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xFF &&
        static_cast<unsigned char>(text[1]) == 0xFE)
        return textcoding::utf16leToUtf8(text.substr(2));
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    return textcoding::isUtf8(text) ? std::string(text) : textcoding::cp1252ToUtf8(text);
}

// The lines of a text one by one, without their ends ("\n" or "\r\n"); a final line end
// starts no further line. Nothing is copied.
class Lines {
  public:
    explicit Lines(std::string_view text) : m_rest(text) {}
    std::optional<std::string_view> peek() const {
        if (m_rest.empty())
            return std::nullopt;
        std::string_view line = m_rest.substr(0, m_rest.find('\n'));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return line;
    }
    std::optional<std::string_view> next() {
        const auto line = peek();
        const std::size_t end = m_rest.find('\n');
        m_rest.remove_prefix(end == std::string_view::npos ? m_rest.size() : end + 1);
        return line;
    }

  private:
    std::string_view m_rest;
};

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto a = static_cast<unsigned char>(s[i]);
        const auto b = static_cast<unsigned char>(prefix[i]);
        if (std::tolower(a) != std::tolower(b))
            return false;
    }
    return true;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && startsWithNoCase(a, b);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One to eight hex digits and nothing else.
std::optional<std::uint32_t> parseHex32(std::string_view s) {
    if (s.empty() || s.size() > 8)
        return std::nullopt;
    std::uint32_t v = 0;
    for (char c : s) {
        const int d = hexDigit(c);
        if (d < 0)
            return std::nullopt;
        v = v << 4 | static_cast<std::uint32_t>(d);
    }
    return v;
}

// "01,ab, 7" -> bytes; an empty list is no bytes.
std::optional<std::string> parseHexBytes(std::string_view list) {
    std::string out;
    list = trim(list);
    if (list.empty())
        return out;
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view token = trim(list.substr(0, comma));
        if (token.empty() || token.size() > 2)
            return std::nullopt;
        const auto v = parseHex32(token);
        if (!v)
            return std::nullopt;
        out.push_back(static_cast<char>(*v));
        if (comma == std::string_view::npos)
            return out;
        list.remove_prefix(comma + 1);
    }
}

// A quoted text starting at s[pos] == '"', with \\ and \" unescaped (any other backslash is
// kept as written). On success pos is just past the closing quote.
std::optional<std::string> readQuoted(std::string_view s, std::size_t& pos) {
    std::string out;
    for (std::size_t k = pos + 1; k < s.size(); ++k) {
        const char c = s[k];
        if (c == '\\' && k + 1 < s.size() && (s[k + 1] == '\\' || s[k + 1] == '"')) {
            out.push_back(s[++k]);
        } else if (c == '"') {
            pos = k + 1;
            return out;
        } else {
            out.push_back(c);
        }
    }
    return std::nullopt;
}

struct ValueLine {
    std::string name;
    std::optional<RegValue> value; // none: the line deletes the value ("name"=-)
};

std::optional<ValueLine> parseValueLine(std::string_view line, int version) {
    ValueLine v;
    std::size_t pos = 0;
    if (line[0] == '@') {
        pos = 1;
    } else if (line[0] == '"') {
        auto name = readQuoted(line, pos);
        if (!name)
            return std::nullopt;
        v.name = std::move(*name);
    } else {
        return std::nullopt;
    }
    std::string_view rest = trim(line.substr(pos));
    if (rest.empty() || rest[0] != '=')
        return std::nullopt;
    rest = trim(rest.substr(1));

    RegValue value;
    if (rest == "-")
        return v;
    if (!rest.empty() && rest[0] == '"') {
        std::size_t end = 0;
        auto text = readQuoted(rest, end);
        if (!text || !trim(rest.substr(end)).empty())
            return std::nullopt;
        value.type = kRegSz;
        value.data = std::move(*text);
        value.data.push_back('\0');
    } else if (startsWithNoCase(rest, "dword:")) {
        const auto n = parseHex32(trim(rest.substr(6)));
        if (!n)
            return std::nullopt;
        value.type = kRegDword;
        for (int i = 0; i < 4; ++i)
            value.data.push_back(static_cast<char>(*n >> (8 * i) & 0xFF));
    } else if (startsWithNoCase(rest, "hex")) {
        rest.remove_prefix(3);
        value.type = kRegBinary;
        if (!rest.empty() && rest[0] == '(') {
            const std::size_t close = rest.find(')');
            if (close == std::string_view::npos)
                return std::nullopt;
            const auto type = parseHex32(rest.substr(1, close - 1));
            if (!type)
                return std::nullopt;
            value.type = *type;
            rest.remove_prefix(close + 1);
        }
        if (rest.empty() || rest[0] != ':')
            return std::nullopt;
        auto bytes = parseHexBytes(rest.substr(1));
        if (!bytes)
            return std::nullopt;
        const bool text =
            value.type == kRegSz || value.type == kRegExpandSz || value.type == kRegMultiSz;
        if (version == 5 && text) {
            if (bytes->size() % 2 != 0)
                return std::nullopt;
            *bytes = textcoding::utf16leToUtf8(*bytes);
        }
        value.data = std::move(*bytes);
    } else {
        return std::nullopt;
    }
    v.value = std::move(value);
    return v;
}

// The registry's own limits on keys. Every key also stands for all its parents, so without a
// bound on the depth a single long section line would cost memory by the square of its length.
constexpr std::size_t kMaxKeyDepth = 512;
constexpr std::size_t kMaxKeyNameChars = 255;

// True when no part of the path is longer than a key name may be and there are not too many.
bool withinKeyLimits(std::string_view path) {
    std::size_t depth = 1, chars = 0;
    for (const char c : path) {
        if (c == '\\') {
            if (++depth > kMaxKeyDepth)
                return false;
            chars = 0;
        } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 && ++chars > kMaxKeyNameChars) {
            return false; // counts characters, not the bytes of their UTF-8 form
        }
    }
    return true;
}

// "[HKEY_LOCAL_MACHINE\A\B]" -> folded "a\b"; none for a section this hive can't hold.
std::optional<std::string> sectionPath(std::string_view line) {
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos || !trim(line.substr(close + 1)).empty())
        return std::nullopt;
    const std::string_view inner = line.substr(1, close - 1);
    const std::size_t slash = inner.find('\\');
    const std::string_view root = inner.substr(0, slash);
    if (!equalNoCase(root, "HKEY_LOCAL_MACHINE") && !equalNoCase(root, "HKLM"))
        return std::nullopt;
    if (slash == std::string_view::npos)
        return std::string();
    if (!withinKeyLimits(inner.substr(slash + 1)))
        return std::nullopt;
    bool ok = false;
    std::string path = RegHive::foldPath(inner.substr(slash + 1), &ok);
    if (!ok || path.empty())
        return std::nullopt;
    return path;
}

bool startsHexData(std::string_view line) {
    return !line.empty() && hexDigit(line[0]) >= 0;
}
} // namespace

std::string RegHive::foldName(std::string_view name) {
    bool ascii = true;
    for (char c : name)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
        std::string out(name);
        for (char& c : out)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return out;
    }
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))
        .toCaseFolded()
        .toStdString();
}

std::string RegHive::foldPath(std::string_view path, bool* ok) {
    *ok = true;
    std::string out;
    if (path.empty())
        return out;
    while (true) {
        const std::size_t slash = path.find('\\');
        const std::string_view part = path.substr(0, slash);
        if (part.empty()) {
            *ok = false;
            return std::string();
        }
        out += foldName(part);
        if (slash == std::string_view::npos)
            return out;
        out.push_back('\\');
        path.remove_prefix(slash + 1);
    }
}

void RegHive::addKey(const std::string& foldedPath) {
    // A key implies its parents.
    m_keys[std::string()];
    for (std::size_t slash = foldedPath.find('\\'); slash != std::string::npos;
         slash = foldedPath.find('\\', slash + 1))
        m_keys[foldedPath.substr(0, slash)];
    m_keys[foldedPath];
}

bool RegHive::hasKey(std::string_view path) const {
    bool ok = false;
    const std::string folded = foldPath(path, &ok);
    return ok && (folded.empty() || m_keys.count(folded) != 0); // the root is always there
}

const RegValue* RegHive::value(std::string_view path, std::string_view name) const {
    bool ok = false;
    const std::string folded = foldPath(path, &ok);
    if (!ok)
        return nullptr;
    const auto key = m_keys.find(folded);
    if (key == m_keys.end())
        return nullptr;
    const auto v = key->second.find(foldName(name));
    return v == key->second.end() ? nullptr : &v->second;
}

RegHive RegHive::parse(std::string_view text) {
    RegHive hive;
    const std::string decoded = decodeText(text);
    Lines lines(decoded);

    std::optional<std::string_view> first = lines.next();
    while (first && trim(*first).empty())
        first = lines.next();
    if (!first)
        return hive;
    const std::string_view header = trim(*first);
    int version = 0;
    if (header == "REGEDIT4")
        version = 4;
    else if (header == "Windows Registry Editor Version 5.00")
        version = 5;
    else
        return hive;
    hive.addKey(std::string());

    std::optional<std::string> key; // the current section; none while it is unusable
    while (const auto next = lines.next()) {
        const std::string_view line = trim(*next);
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            key = sectionPath(line);
            if (key)
                hive.addKey(*key);
            continue;
        }
        // Hex data goes on over the following lines while a line ends in "\".
        std::string joined(line);
        while (!joined.empty() && joined.back() == '\\' && lines.peek() &&
               startsHexData(trim(*lines.peek()))) {
            joined.pop_back();
            joined += trim(*lines.next());
        }
        if (!key)
            continue;
        auto parsed = parseValueLine(joined, version);
        if (!parsed)
            continue;
        Values& values = hive.m_keys[*key];
        const std::string name = foldName(parsed->name);
        if (parsed->value)
            values[name] = std::move(*parsed->value);
        else
            values.erase(name);
    }
    return hive;
}
