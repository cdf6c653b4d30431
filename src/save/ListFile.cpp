#include "ListFile.h"

#include <QDir>
#include <charconv>
#include <cstring>
#include <memory>

namespace {
constexpr qsizetype kLineMax = 10 + 2; // the longest 32-bit number and CR LF
static_assert(listfile::kChunkBytes >= kLineMax);
} // namespace

QString listfile::fullName(const QString& folder, const QString& name, QChar separator) {
    QString path = folder;
    if (!path.endsWith(separator))
        path += separator;
    return path + name + QStringLiteral(".txt");
}

bool listfile::nameHasSeparator(const QString& name) {
    return name.contains(QLatin1Char('/')) || name.contains(QDir::separator());
}

QString listfile::header(const QString& shortDate) {
    return QStringLiteral("---Tamizo, ") + shortDate + QStringLiteral("---");
}

sys::Status listfile::writeBlock(int fileNumber, const QString& shortDate,
                                 const std::deque<quint32>& items) {
    const auto buffer = std::make_unique<char[]>(kChunkBytes);
    char* const begin = buffer.get();
    char* const end = begin + kChunkBytes;
    char* p = begin;
    auto drain = [&] {
        const sys::Status s = textfiles::WriteBytes(fileNumber, {begin, p - begin});
        p = begin;
        return s;
    };

    QByteArray head = textfiles::toAnsi(header(shortDate));
    head.append("\r\n", 2);
    if (head.size() <= kChunkBytes) {
        std::memcpy(p, head.constData(), static_cast<size_t>(head.size()));
        p += head.size();
    } else if (const auto s = textfiles::WriteBytes(fileNumber, head); !s) {
        return s;
    }

    for (const quint32 v : items) {
        if (end - p < kLineMax)
            if (const auto s = drain(); !s)
                return s;
        p = std::to_chars(p, end, v).ptr;
        *p++ = '\r';
        *p++ = '\n';
    }
    return drain();
}
