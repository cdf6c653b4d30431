#include "DirListBox.h"

#include "DriveListBox.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

namespace {
constexpr int kPathRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;
} // namespace

DirListBox::DirListBox(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemExpanded, this, &DirListBox::fill);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { open(item); });
}

QString DirListBox::pathOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, kPathRole).toString() : QString();
}

QTreeWidgetItem* DirListBox::addFolder(QTreeWidgetItem* parent, const QString& path,
                                       const QString& label) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, label);
    item->setData(0, kPathRole, path);
    item->setIcon(0, style()->standardIcon(QStyle::SP_DirClosedIcon));
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

void DirListBox::fill(QTreeWidgetItem* item) {
    if (!item || item->data(0, kFilledRole).toBool())
        return;
    item->setData(0, kFilledRole, true);
    const QString path = pathOf(item);
    const QString prefix = path.endsWith('/') ? path : path + '/';
    // Hidden folders are left out; setPath shows those that the current path goes through.
    const QStringList names =
        QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names)
        addFolder(item, prefix + name, name);
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QString DirListBox::root() const {
    return pathOf(topLevelItem(0));
}

QTreeWidgetItem* DirListBox::itemFor(const QString& folder) const {
    for (QTreeWidgetItemIterator it(const_cast<DirListBox*>(this)); *it; ++it)
        if (pathOf(*it) == folder)
            return *it;
    return nullptr;
}

bool DirListBox::setPath(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !QDir(info.absoluteFilePath()).isReadable())
        return false;
    QString path = QDir::cleanPath(info.absoluteFilePath());
    QString root = DriveListBox::driveOf(path);
    // A link onto another volume is followed there, so that the tree stands on the volume that
    // really holds the folder.
    if (const QString real = info.canonicalFilePath(); !real.isEmpty() && real != path) {
        if (const QString realRoot = DriveListBox::driveOf(real); realRoot != root) {
            path = real;
            root = realRoot;
        }
    }

    clear();
    QTreeWidgetItem* item = addFolder(nullptr, root, QDir::toNativeSeparators(root));
    const QString rest = path.mid(root.size());
    for (const QString& name : rest.split('/', Qt::SkipEmptyParts)) {
        fill(item);
        item->setIcon(0, style()->standardIcon(QStyle::SP_DirOpenIcon));
        item->setExpanded(true);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (item->child(i)->text(0) == name)
                next = item->child(i);
        if (!next) { // a folder that the listing left out (a hidden one): it is on the way
            const QString parent = pathOf(item);
            int at = 0;
            while (at < item->childCount() &&
                   QString::compare(item->child(at)->text(0), name, Qt::CaseInsensitive) < 0)
                ++at;
            next = addFolder(item, (parent.endsWith('/') ? parent : parent + '/') + name, name);
            item->insertChild(at, item->takeChild(item->indexOfChild(next)));
        }
        item = next;
    }
    fill(item);
    item->setIcon(0, style()->standardIcon(QStyle::SP_DirOpenIcon));
    QFont bold = font();
    bold.setBold(true);
    item->setFont(0, bold);
    item->setExpanded(true);
    setCurrentItem(item);
    scrollToItem(item);

    const bool changed = path != m_path;
    m_path = path;
    if (changed)
        emit pathChanged(m_path);
    return true;
}

void DirListBox::open(QTreeWidgetItem* item) {
    if (item && !setPath(pathOf(item)))
        QApplication::beep(); // the folder can't be read: the current path stays as it was
}

void DirListBox::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        open(currentItem());
        e->accept();
        return;
    }
    QTreeWidget::keyPressEvent(e);
}
