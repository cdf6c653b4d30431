#pragma once
// An unsorted, single-selection list box that shows a prime list store: each item is a whole
// number, shown in decimal. The store belongs to the window; the control reads its rows from it,
// paints only the rows in view, and hears from the store when the items change, so appending,
// reading an item, selecting and repainting cost the same at any size. Appending through the
// control goes into the store, which refuses an item beyond its limits or one the memory cannot
// hold and then leaves the list as it was. The vertical scroll bar shows whenever the items
// don't all fit. The control keeps no copy of the items and has no idea what the numbers mean.
// The store must outlive the control.

#include "Pacer.h"
#include "PrimeStore.h"

#include <QAbstractScrollArea>

class ListBox : public QAbstractScrollArea, public PacedWidget, private PrimeStore::Watcher {
    Q_OBJECT
  public:
    explicit ListBox(PrimeStore& store, QWidget* parent = nullptr);
    ~ListBox() override;

    void Clear();
    // Appends the item; false, with nothing changed, when the store takes no more items.
    bool AddItem(quint32 value);
    qint64 ListCount() const { return m_store.size(); }
    // The decimal text of item `index` (0-based); empty when out of range.
    QString List(qint64 index) const;
    // The items shown.
    const PrimeStore& store() const { return m_store; }

    qint64 ListIndex() const { return m_selected; }
    // Selects the item and scrolls it into view; -1 selects nothing.
    void setListIndex(qint64 index);
    qint64 TopIndex() const { return m_top; }
    int visibleRows() const;
    // Where item `index` is drawn, in the viewport's coordinates; empty when it is out of view.
    QRect itemRect(qint64 index) const;
    // The item drawn at `pos` (viewport coordinates); -1 when there is none.
    qint64 indexAt(const QPoint& pos) const;

    void pacedUpdate() override;

  signals:
    void selectionChanged(qint64 index);

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void changeEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

  private:
    void storeChanged() override;
    int rowHeight() const;
    void select(qint64 index, bool byUser);
    void syncScrollBar();

    PrimeStore& m_store;
    qint64 m_selected = -1;
    qint64 m_top = 0;
    bool m_syncing = false;      // the scroll bar is being set from the list, not by the user
    mutable int m_rowHeight = 0; // 0 until measured, and again after a font change
};
