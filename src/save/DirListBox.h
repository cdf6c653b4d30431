#pragma once
// The folder list: the folder tree of the drive that holds the current path, with every folder
// on the way to it opened and the current path highlighted. Hidden folders are left out, except
// those that the current path goes through. Double-click or Enter on a folder makes it the
// current path; a single click only highlights. Subfolders are read when their folder is first
// expanded. It reads folders only; it knows nothing of files or of the drive list's entries.

#include <QTreeWidget>

class DirListBox : public QTreeWidget {
    Q_OBJECT
  public:
    explicit DirListBox(QWidget* parent = nullptr);

    // The current path: absolute, "/" separated, no trailing separator except on a root.
    QString path() const { return m_path; }
    // The root of the tree: the drive that the current path lies on.
    QString root() const;
    // Makes `folder` the current path. A folder reached through a link onto another drive
    // becomes the link's target on that drive. False, with nothing changed, when it is not a
    // folder that can be read.
    bool setPath(const QString& folder);

    // The item that stands for `folder`, when the tree shows it.
    QTreeWidgetItem* itemFor(const QString& folder) const;
    static QString pathOf(const QTreeWidgetItem* item);

  signals:
    void pathChanged(const QString& path);

  protected:
    void keyPressEvent(QKeyEvent* e) override;

  private:
    QTreeWidgetItem* addFolder(QTreeWidgetItem* parent, const QString& path, const QString& label);
    void fill(QTreeWidgetItem* item);
    void open(QTreeWidgetItem* item);

    QString m_path;
};
