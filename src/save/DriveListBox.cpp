#include "DriveListBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <dirent.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

struct Mount {
    QString point;
    QByteArray type;
    QByteArray source;
    bool readOnly = false;
};

std::function<QByteArray()>& tableSource() {
    static std::function<QByteArray()> source;
    return source;
}

struct Probe {
    std::function<bool(const QString&)> ask;
    int timeoutMs = 2000;
};

Probe& probe() {
    static Probe p;
    return p;
}

// The mount table writes blanks, tabs, new lines and backslashes in names as "\" and three
// octal digits.
QByteArray unescape(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const auto octal = [&](qsizetype k) { return field[k] >= '0' && field[k] <= '7'; };
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' &&
            field[i + 1] <= '3' && octal(i + 2) && octal(i + 3)) {
            out +=
                char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

bool hasOption(const QByteArray& options, const char* option) {
    return options.split(',').contains(option);
}

// One mount per line, in either of the kernel's two layouts:
//   mountinfo: id parent major:minor root point options [optional fields] - type source super
//   mounts:    source point type options dump pass
// A mount point mounted on again is the last mount's; names that aren't valid text are left out.
std::vector<Mount> parse(const QByteArray& table) {
    std::vector<Mount> mounts;
    for (const QByteArray& line : table.split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        Mount m;
        QByteArray point;
        const qsizetype dash = f.indexOf("-", 6);
        if (f.size() >= 9 && f[2].contains(':') && dash >= 6 && dash + 2 < f.size()) {
            point = unescape(f[4]);
            m.type = f[dash + 1];
            m.source = unescape(f[dash + 2]);
            m.readOnly =
                hasOption(f[5], "ro") || (dash + 3 < f.size() && hasOption(f[dash + 3], "ro"));
        } else if (f.size() >= 4) {
            point = unescape(f[1]);
            m.type = f[2];
            m.source = unescape(f[0]);
            m.readOnly = hasOption(f[3], "ro");
        } else {
            continue;
        }
        m.point = QFile::decodeName(point);
        if (!point.startsWith('/') || QFile::encodeName(m.point) != point)
            continue;
        const auto same = [&](const Mount& o) { return o.point == m.point; };
        mounts.erase(std::remove_if(mounts.begin(), mounts.end(), same), mounts.end());
        mounts.push_back(m);
    }
    return mounts;
}

// Whether `path` is `folder` or lies below it.
bool within(const QString& path, const QString& folder) {
    if (folder == QLatin1String("/"))
        return path.startsWith('/');
    return path == folder || (path.startsWith(folder) && path.at(folder.size()) == '/');
}

bool withinAny(const QString& path, std::initializer_list<const char*> folders) {
    return std::any_of(folders.begin(), folders.end(),
                       [&](const char* f) { return within(path, QLatin1String(f)); });
}

QString volumeOf(const QString& path, const std::vector<Mount>& mounts) {
    QString best = QDir::rootPath();
    for (const Mount& m : mounts)
        if (m.point.size() > best.size() && within(path, m.point))
            best = m.point;
    return best;
}

// A volume of the user's own: removable media and disks mounted where the desktop mounts
// them, any other disk or network share mounted outside the system's folders. Never the
// kernel's and the service manager's own file systems, nor the system's boot, snap or
// configuration mounts, nor a volume that can't be written.
bool isUserVolume(const Mount& m) {
    static const QList<QByteArray> pseudo{
        "autofs",   "binfmt_misc", "bpf",      "cgroup",  "cgroup2",    "configfs",   "debugfs",
        "devpts",   "devtmpfs",    "efivarfs", "fusectl", "hugetlbfs",  "mqueue",     "nsfs",
        "overlay",  "proc",        "pstore",   "ramfs",   "rpc_pipefs", "securityfs", "selinuxfs",
        "squashfs", "sysfs",       "tmpfs",    "tracefs"};
    static const QList<QByteArray> network{
        "nfs",  "nfs4",      "cifs",  "smb3",           "smbfs",      "ncpfs",      "afs",
        "ceph", "glusterfs", "davfs", "fuse.glusterfs", "fuse.sshfs", "fuse.rclone"};
    if (m.readOnly || pseudo.contains(m.type) || m.point == QLatin1String("/"))
        return false;
    if (withinAny(m.point, {"/media", "/run/media", "/mnt"}))
        return true;
    if (withinAny(m.point,
                  {"/bin", "/boot", "/dev", "/efi", "/etc", "/lib", "/lib32", "/lib64", "/libx32",
                   "/proc", "/run", "/sbin", "/snap", "/sys", "/tmp", "/usr", "/var"}))
        return false;
    return m.source.startsWith("/dev/") || network.contains(m.type);
}

QByteArray mountTable() {
    if (tableSource())
        return tableSource()();
    for (const char* name : {"/proc/self/mountinfo", "/proc/self/mounts"}) {
        QFile f(QString::fromLatin1(name));
        if (f.open(QIODevice::ReadOnly))
            if (const QByteArray text = f.readAll(); !text.isEmpty())
                return text;
    }
    return {}; // no table (a bare chroot): everything lies on "/"
}

// Whether the folder answers: it is a folder that can be opened and read.
bool folderAnswers(const QString& root) {
    const QByteArray path = QFile::encodeName(root);
    struct stat st {};
    if (::stat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        ::access(path.constData(), R_OK | X_OK) != 0)
        return false;
    DIR* dir = ::opendir(path.constData());
    if (!dir)
        return false;
    const bool read = ::readdir(dir) != nullptr;
    ::closedir(dir);
    return read;
}

} // namespace

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) {
    addItems(volumes());
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_quiet)
            emit Change();
    });
}

QStringList DriveListBox::volumes() {
    return volumes(mountTable(), QDir::homePath(), QDir::currentPath());
}

QStringList DriveListBox::volumes(const QByteArray& table, const QString& home,
                                  const QString& current) {
    const std::vector<Mount> mounts = parse(table);
    QStringList others;
    for (const QString& path : {home, current})
        if (!path.isEmpty())
            others.append(volumeOf(path, mounts));
    for (const Mount& m : mounts)
        if (isUserVolume(m))
            others.append(m.point);
    others.removeAll(QDir::rootPath());
    others.sort();
    others.removeDuplicates();
    return QStringList{QDir::rootPath()} + others;
}

QString DriveListBox::driveOf(const QString& path) {
    return driveOf(path, mountTable());
}

QString DriveListBox::driveOf(const QString& path, const QByteArray& table) {
    return volumeOf(path, parse(table));
}

bool DriveListBox::isReady(const QString& root) {
    struct Answer {
        std::mutex mutex;
        std::condition_variable done;
        bool answered = false;
        bool ready = false;
    };
    const auto answer = std::make_shared<Answer>();
    const auto ask = probe().ask ? probe().ask : folderAnswers;
    try {
        // A volume that doesn't answer (a network share whose server is gone) holds this
        // thread, not the window's; it is left behind and ends whenever the volume answers.
        std::thread([answer, ask, root] {
            const bool ready = ask(root);
            const std::lock_guard lock(answer->mutex);
            answer->answered = true;
            answer->ready = ready;
            answer->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return false; // no thread to ask from: the volume can't be asked safely
    }
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(probe().timeoutMs);
    std::unique_lock lock(answer->mutex);
    while (!answer->answered && Clock::now() < deadline) {
        // The window keeps painting meanwhile; the user's input waits for the answer.
        lock.unlock();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        lock.lock();
        answer->done.wait_until(lock,
                                std::min(deadline, Clock::now() + std::chrono::milliseconds(20)),
                                [&] { return answer->answered; });
    }
    return answer->answered && answer->ready;
}

void DriveListBox::setMountTableSource(std::function<QByteArray()> source) {
    tableSource() = std::move(source);
}

void DriveListBox::setReadyProbe(std::function<bool(const QString&)> ask, int timeoutMs) {
    probe() = Probe{std::move(ask), timeoutMs};
}

QString DriveListBox::Drive() const {
    return currentIndex() < 0 ? QString() : currentText();
}

void DriveListBox::showDrive(const QString& root) {
    int i = findText(root);
    m_quiet = true;
    if (i < 0 && !root.isEmpty()) {
        addItem(root);
        i = count() - 1;
    }
    setCurrentIndex(i);
    m_quiet = false;
}
