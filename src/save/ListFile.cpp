#include "ListFile.h"

#include "ListText.h"
#include "PrimeStore.h"

#include <QDir>
#include <cstring>
#include <memory>

static_assert(listfile::kChunkBytes >= qsizetype(listtext::kLineMax));

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
                                 const PrimeStore& items) {
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

    // The count is read once; a full buffer goes to the file and is filled again.
    const int64_t count = items.size();
    for (int64_t next = 0;;) {
        const auto filled =
            listtext::formatLines(items, next, count, p, static_cast<size_t>(end - p));
        p += filled.bytes;
        next = filled.next;
        if (next == count)
            return drain();
        if (const auto s = drain(); !s)
            return s;
    }
}
