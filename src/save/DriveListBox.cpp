#include "DriveListBox.h"

#include <QDir>
#include <QStorageInfo>

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) {
    addItems(volumes());
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_quiet)
            emit Change();
    });
}

QStringList DriveListBox::volumes() {
    QStringList roots{QDir::rootPath()};
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || !v.isReady() || v.isReadOnly())
            continue;
        if (!roots.contains(v.rootPath()))
            roots.append(v.rootPath());
    }
    return roots;
}

QString DriveListBox::driveOf(const QString& path) {
    const QStorageInfo v(path);
    return v.isValid() ? v.rootPath() : QString();
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
