#pragma once
// Fixtures over the system layer's seams: the clock, the desktop's opener and the registry's
// hive file.

#include "Clock.h"
#include "Files.h"
#include "Launcher.h"
#include "Registry.h"
#include "Scoped.h"

#include <QTemporaryDir>

// While alive, the clock gives `date` as today's short date (a null text: the system's date)
// and the times of day that `time` returns (none: the system's time). It fakes nothing else.
class ScopedClock : public Scoped<ScopedClock> {
  public:
    using TimeSource = std::function<clock_::TimeOfDay()>;
    explicit ScopedClock(const QString& date, TimeSource time = {})
        : m_date(date), m_time(std::move(time)) {
        apply();
    }
    explicit ScopedClock(TimeSource time) : ScopedClock(QString(), std::move(time)) {}

  private:
    friend Scoped<ScopedClock>;
    void apply() const {
        std::function<QString()> date;
        if (!m_date.isNull())
            date = [d = m_date] { return d; };
        clock_::setDateSource(std::move(date));
        clock_::setTimeSource(m_time);
    }
    static void restoreDefault() {
        clock_::setDateSource(nullptr);
        clock_::setTimeSource(nullptr);
    }
    QString m_date;
    TimeSource m_time;
};

// While alive, the desktop's opener is a script that records every line it is started with
// (its own path, then its arguments), or the program `opener` when one is given, such as one
// that does not exist. Afterwards the desktop's own opener. It starts nothing itself.
class ScopedLauncher : public Scoped<ScopedLauncher> {
  public:
    ScopedLauncher() : m_program(m_dir.filePath("opener.sh")) {
        // Should the script not be written, nothing real may start in its place.
        if (!files::writeRecorder(m_program, m_dir.filePath("started")))
            m_program = m_dir.filePath("no-opener");
        apply();
    }
    explicit ScopedLauncher(const QString& opener) : m_program(opener) { apply(); }

    const QString& program() const { return m_program; }
    // The lines the recording opener has been started with, so far.
    QString recorded() const {
        QFile f(m_dir.filePath("started"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

  private:
    friend Scoped<ScopedLauncher>;
    void apply() const { launcher::setOpenerProgram(m_program); }
    static void restoreDefault() { launcher::setOpenerProgram(QString()); }
    QTemporaryDir m_dir;
    QString m_program;
};

// While alive, the registry reads its hive from the file at `path`, and the log of the keys
// opened starts empty. Afterwards the default hive. It never touches the user's own hive.
class ScopedHive : public Scoped<ScopedHive> {
  public:
    explicit ScopedHive(const QString& path) : m_path(path) {
        apply();
        registry::clearOpenLog();
    }

    const QString& path() const { return m_path; }
    // Puts a file holding `text` at the path in place of the one there (read-only if asked).
    bool write(const QByteArray& text, bool readOnly = false) const {
        QFile::remove(m_path);
        if (!files::writeFile(m_path, text))
            return false;
        return !readOnly ||
               QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    }

  private:
    friend Scoped<ScopedHive>;
    void apply() const { registry::setHivePath(m_path); }
    static void restoreDefault() { registry::setHivePath(QString()); }
    QString m_path;
};
