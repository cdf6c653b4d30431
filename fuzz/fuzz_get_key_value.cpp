// Fuzzes the About box's registry value reader over fuzzed hive files. Each input becomes the
// hive; GetKeyValue then reads both locations of the system-information tool and a test value.
// Beyond not crashing: a failed read leaves the empty text, a read never leaves a key open, and
// a string that was read is the hive's bytes without their terminating NUL.

#include "RegHive.h"
#include "Registry.h"
#include "frmAbout.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
QApplication* app = nullptr;
QTemporaryDir* folder = nullptr;
frmAbout* dialog = nullptr;

void readOne(const RegHive& hive, const QString& key, const QString& name) {
    registry::HKEY root = registry::HKEY_LOCAL_MACHINE;
    QString value = QStringLiteral("unchanged");
    bool found = false;
    try {
        found = dialog->GetKeyValue(root, key, name, value);
    } catch (const frmAbout::RaisedError&) {
        // A value of size 0 is raised as an error; the key must still have been closed.
        const RegValue* v = hive.value(key.toStdString(), name.toStdString());
        if (!v || !v->data.empty())
            std::abort();
        found = true;
        value = QString();
    }
    if (root != registry::HKEY_LOCAL_MACHINE || registry::openKeyCount() != 0)
        std::abort();
    const RegValue* v = hive.value(key.toStdString(), name.toStdString());
    if (!found) {
        if (!value.isEmpty())
            std::abort();
        if (v && v->data.size() <= 1024) // found in the hive and small enough: must be read
            std::abort();
        return;
    }
    if (!v || v->data.size() > 1024)
        std::abort();
    if (v->type == registry::REG_SZ && !v->data.empty()) {
        QByteArray bytes(v->data.data(), static_cast<qsizetype>(v->data.size()));
        if (bytes.endsWith('\0'))
            bytes.chop(1);
        if (value != QString::fromUtf8(bytes))
            std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = new QApplication(*argc, *argv);
    folder = new QTemporaryDir;
    registry::setHivePath(folder->filePath(QStringLiteral("system.reg")));
    dialog = new frmAbout;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        QFile file(registry::hivePath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        if (file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
            std::abort();
    }
    const RegHive hive =
        RegHive::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    readOne(hive, frmAbout::gREGKEYSYSINFO, frmAbout::gREGVALSYSINFO);
    readOne(hive, frmAbout::gREGKEYSYSINFOLOC, frmAbout::gREGVALSYSINFOLOC);
    readOne(hive, QStringLiteral("SOFTWARE\\Test"), QStringLiteral("value"));
    registry::clearOpenLog();
    return 0;
}
