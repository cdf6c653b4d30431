#pragma once
// The drive list: a drop-down of the file systems the user can save to, each shown by its root
// path: the root "/" first, then the mount points of the other real, ready, writable volumes.
// It raises Change when the user picks another entry. It does not move the folder list by
// itself and touches nothing on disk.

#include <QComboBox>

class DriveListBox : public QComboBox {
    Q_OBJECT
  public:
    explicit DriveListBox(QWidget* parent = nullptr);

    // The root path of the chosen entry; empty when none is chosen.
    QString Drive() const;
    // Shows the entry for `root` (adding it when missing) without raising Change.
    void showDrive(const QString& root);

    // The root of the volume that holds `path`; empty when the system can't tell.
    static QString driveOf(const QString& path);
    static QStringList volumes();

  signals:
    void Change();

  private:
    bool m_quiet = false;
};
