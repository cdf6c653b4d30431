#pragma once
// An unsorted, single-selection list box whose items are whole numbers shown in decimal.
// The control stores the numbers (4 bytes an item) and paints only the rows in view, so
// appending, reading an item, selecting and repainting cost the same at any size. It holds at
// most kCapacity items; an append beyond that, or one the memory cannot hold, is refused and
// leaves the list as it was. Its vertical scroll bar shows whenever the items don't all fit.
// It keeps no other copy of the list and has no idea what the numbers mean.

#include "Pacer.h"

#include <QAbstractScrollArea>
#include <deque>
#include <limits>
#include <vector>

class ListBox : public QAbstractScrollArea, public PacedWidget {
    Q_OBJECT
  public:
    // The most items a list holds: counts and indexes stay within a signed 32-bit integer.
    static constexpr qint64 kCapacity = std::numeric_limits<int>::max();

    explicit ListBox(QWidget* parent = nullptr);

    void Clear();
    // Appends the item; false, with nothing changed, when the list is full or memory for the
    // item can't be had.
    bool AddItem(quint32 value);
    qint64 ListCount() const { return static_cast<qint64>(m_items.size()); }
    // The decimal text of item `index` (0-based); empty when out of range.
    QString List(qint64 index) const;
    quint32 value(qint64 index) const { return m_items[static_cast<size_t>(index)]; }
    const std::deque<quint32>& values() const { return m_items; }

    qint64 ListIndex() const { return m_selected; }
    // Selects the item and scrolls it into view; -1 selects nothing.
    void setListIndex(qint64 index);
    qint64 TopIndex() const { return m_top; }
    int visibleRows() const;
    // Where item `index` is drawn, in the viewport's coordinates; empty when it is out of view.
    QRect itemRect(qint64 index) const;
    // The item drawn at `pos` (viewport coordinates); -1 when there is none.
    qint64 indexAt(const QPoint& pos) const;

    // Grows with every change of the items (not of the selection): tells a reader whether
    // anyone changed the list since it last looked.
    quint64 generation() const { return m_generation; }
    // How many items hold `value`. The list is a few ascending runs (one per search that
    // appended to it), so this is a binary search per run.
    qint64 countOf(quint32 value) const;
    qint64 runCount() const { return static_cast<qint64>(m_runStarts.size()); }

    void pacedUpdate() override;

    // --- test seams ---
    // Lowers the capacity of every list while it lives.
    class CapacityForTesting {
      public:
        explicit CapacityForTesting(qint64 capacity);
        ~CapacityForTesting();
        CapacityForTesting(const CapacityForTesting&) = delete;
        CapacityForTesting& operator=(const CapacityForTesting&) = delete;

      private:
        qint64 m_saved;
    };
    // The next append to any list fails as if memory had run out.
    static void failNextAppendForTesting() { s_failNextAppend = true; }

  signals:
    void selectionChanged(qint64 index);

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void changeEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

  private:
    int rowHeight() const;
    void select(qint64 index, bool byUser);
    void syncScrollBar();

    static inline qint64 s_capacity = kCapacity;
    static inline bool s_failNextAppend = false;

    std::deque<quint32> m_items;
    std::vector<qint64> m_runStarts; // first index of each ascending run
    qint64 m_selected = -1;
    qint64 m_top = 0;
    quint64 m_generation = 0;
    bool m_syncing = false;      // the scroll bar is being set from the list, not by the user
    mutable int m_rowHeight = 0; // 0 until measured, and again after a font change
};
