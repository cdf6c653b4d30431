#pragma once
// Helpers shared by the save tests: a file-size limit that makes writes fail part-way, a scope
// in which even root obeys file permissions, and fixtures over the drive list's seams: a mount
// table and a readiness probe of the test's choosing.

#include "DriveListBox.h"
#include "Files.h"
#include "Scoped.h"

#include <QByteArray>
#include <QFile>

#include <csignal>
#include <cstring>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace savekit {

// While alive, every write beyond `bytes` from the start of a file fails ("File too large").
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = m_saved;
        r.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &r);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};

// While alive, this thread obeys file permissions even when running as root (the override
// capabilities are lowered, then raised again). ok() is false when that could not be done.
class ObeyPermissions {
  public:
    ObeyPermissions() {
        if (geteuid() != 0) {
            m_ok = true;
            return;
        }
        if (syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct lowered[2];
        std::memcpy(lowered, m_saved, sizeof lowered);
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_lowered = syscall(SYS_capset, &m_header, lowered) == 0;
        m_ok = m_lowered;
    }
    ~ObeyPermissions() {
        if (m_lowered)
            syscall(SYS_capset, &m_header, m_saved);
    }
    ObeyPermissions(const ObeyPermissions&) = delete;
    ObeyPermissions& operator=(const ObeyPermissions&) = delete;
    bool ok() const { return m_ok; }

  private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_lowered = false;
    bool m_ok = false;
};

// While alive, the drive list and the folder list read `table` as the system's mount table. It
// mounts nothing.
class ScopedMountTable : public Scoped<ScopedMountTable> {
  public:
    explicit ScopedMountTable(const QByteArray& table) : m_table(table) { apply(); }

  private:
    friend Scoped<ScopedMountTable>;
    void apply() const {
        DriveListBox::setMountTableSource([table = m_table] { return table; });
    }
    static void restoreDefault() { DriveListBox::setMountTableSource(nullptr); }
    QByteArray m_table;
};

// While alive, the drive list asks `probe` whether a drive is ready, and takes one that has not
// answered within `timeoutMs` as not ready. It does not stop a probe that never answers.
class ScopedReadyProbe : public Scoped<ScopedReadyProbe> {
  public:
    using Probe = std::function<bool(const QString&)>;
    ScopedReadyProbe(Probe probe, int timeoutMs) : m_probe(std::move(probe)), m_timeout(timeoutMs) {
        apply();
    }

  private:
    friend Scoped<ScopedReadyProbe>;
    void apply() const { DriveListBox::setReadyProbe(m_probe, m_timeout); }
    static void restoreDefault() { DriveListBox::setReadyProbe(nullptr); }
    Probe m_probe;
    int m_timeout;
};

// A mount table line in /proc/self/mountinfo's layout.
inline QByteArray mountLine(const QString& point, const char* type, const char* source) {
    return "40 1 8:1 / " + QFile::encodeName(point).replace(" ", "\\040") + " rw,relatime - " +
           type + " " + source + " rw\n";
}

} // namespace savekit
