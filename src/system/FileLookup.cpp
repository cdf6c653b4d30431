#include "FileLookup.h"

#include <QFile>

#include <sys/stat.h>

bool filelookup::exists(const QString& path) {
    QString p = path;
    p.replace(u'\\', u'/');
    const QString name = p.section(u'/', -1);
    if (name.isEmpty() || name.startsWith(u'.'))
        return false;
    struct stat st {};
    return ::stat(QFile::encodeName(p).constData(), &st) == 0 && S_ISREG(st.st_mode);
}
