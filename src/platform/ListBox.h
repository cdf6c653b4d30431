#pragma once
// An unsorted, single-selection list box whose items are whole numbers shown in decimal.
// The control stores the numbers (4 bytes an item) and paints only the rows in view, so
// appending, reading an item, selecting and repainting cost the same at any size.
// It keeps no other copy of the list and has no idea what the numbers mean.

#include "Pacer.h"

#include <QAbstractScrollArea>
#include <deque>
#include <vector>

class ListBox : public QAbstractScrollArea, public PacedWidget {
    Q_OBJECT
  public:
    explicit ListBox(QWidget* parent = nullptr);

    void Clear();
    void AddItem(quint32 value);
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

    // Grows with every change of the items (not of the selection): tells a reader whether
    // anyone changed the list since it last looked.
    quint64 generation() const { return m_generation; }
    // How many items hold `value`. The list is a few ascending runs (one per search that
    // appended to it), so this is a binary search per run.
    qint64 countOf(quint32 value) const;
    qint64 runCount() const { return static_cast<qint64>(m_runStarts.size()); }

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
    int rowHeight() const;
    void select(qint64 index, bool byUser);
    void syncScrollBar();

    std::deque<quint32> m_items;
    std::vector<qint64> m_runStarts; // first index of each ascending run
    qint64 m_selected = -1;
    qint64 m_top = 0;
    quint64 m_generation = 0;
    mutable int m_rowHeight = 0; // 0 until measured, and again after a font change
};
