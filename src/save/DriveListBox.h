#pragma once
// The drive list: a drop-down of the volumes the user can save to, each shown by its mount
// point: "/" first, then the volumes of the home and current folders and the user's own
// volumes (removable media, other disks, network shares), read from the system's mount table.
// Listing touches no volume; a volume is first asked whether it is ready when the user picks
// it, and that question never holds the window for more than a couple of seconds. It raises
// Change when the user picks another entry. It does not move the folder list by itself.

#include <QComboBox>
#include <functional>

class DriveListBox : public QComboBox {
    Q_OBJECT
  public:
    explicit DriveListBox(QWidget* parent = nullptr);

    // The root path of the chosen entry; empty when none is chosen.
    QString Drive() const;
    // Shows the entry for `root` (adding it when missing) without raising Change.
    void showDrive(const QString& root);

    // The mount point of the volume that holds `path` as written: the longest mount point in
    // the mount table that contains it, "/" when the table names none.
    static QString driveOf(const QString& path);
    // The entries for this machine's mount table and the process's home and current folders.
    static QStringList volumes();
    // The same for a given mount table text (/proc/self/mountinfo or /proc/self/mounts).
    static QStringList volumes(const QByteArray& table, const QString& home,
                               const QString& current);
    static QString driveOf(const QString& path, const QByteArray& table);

    // Whether `root` can be read now. Asked away from the window's thread; an answer that takes
    // longer than the time allowed counts as "not ready".
    static bool isReady(const QString& root);

    // Seams: the mount table's text, and the question asked of a volume with the time allowed
    // for its answer. Empty to return to the system's.
    static void setMountTableSource(std::function<QByteArray()> source);
    static void setReadyProbe(std::function<bool(const QString&)> probe, int timeoutMs = 2000);

  signals:
    void Change();

  private:
    bool m_quiet = false;
};
