#include "FileLookup.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>

sys::Result<bool> filelookup::exists(const QString& path) {
    QString p = path;
    p.replace(u'\\', u'/');
    const QString name = p.section(u'/', -1);
    if (name.isEmpty() || name.startsWith(u'.'))
        return false;
    struct stat st {};
    if (::stat(QFile::encodeName(p).constData(), &st) == 0)
        return S_ISREG(st.st_mode);
    if (errno == ENOENT || errno == ENOTDIR)
        return false;
    return sys::Error{errno};
}
