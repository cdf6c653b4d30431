#include "ListBox.h"

#include "ListBoxAccessible.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <algorithm>
#include <limits>

ListBox::ListBox(PrimeStore& store, QWidget* parent) : QAbstractScrollArea(parent), m_store(store) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
        if (m_syncing)
            return;
        m_top = v;
        viewport()->update();
    });
    m_store.setWatcher(this);
    ListBoxAccessible::watch(this);
}

ListBox::~ListBox() {
    m_store.setWatcher(nullptr);
}

// The first change since the last paced repaint: the next one shows it, and whatever else
// changes until then.
void ListBox::storeChanged() {
    Pacer::markDirty(this);
}

int ListBox::rowHeight() const {
    if (m_rowHeight == 0) // measuring the font takes a lock; the checkpoints ask very often
        m_rowHeight = fontMetrics().height();
    return m_rowHeight;
}

void ListBox::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange)
        m_rowHeight = 0;
    QAbstractScrollArea::changeEvent(e);
}

int ListBox::visibleRows() const {
    return std::max(1, viewport()->height() / rowHeight());
}

QRect ListBox::itemRect(qint64 index) const {
    const int h = rowHeight();
    if (index < m_top || index >= ListCount() || (index - m_top) * h >= viewport()->height())
        return {};
    return QRect(0, static_cast<int>(index - m_top) * h, viewport()->width(), h);
}

qint64 ListBox::indexAt(const QPoint& pos) const {
    if (!viewport()->rect().contains(pos))
        return -1;
    const qint64 index = m_top + pos.y() / rowHeight();
    return index < ListCount() ? index : -1;
}

void ListBox::Clear() {
    m_store.clear();
    m_selected = -1;
    m_top = 0;
}

bool ListBox::AddItem(quint32 v) {
    return m_store.append(v);
}

QString ListBox::List(qint64 index) const {
    if (index < 0 || index >= ListCount())
        return QString();
    return QString::number(m_store.at(index));
}

void ListBox::setListIndex(qint64 index) {
    select(index, false);
}

void ListBox::select(qint64 index, bool byUser) {
    if (index < -1 || index >= ListCount())
        return;
    m_selected = index;
    if (index >= 0) {
        const int rows = visibleRows();
        if (index < m_top)
            m_top = index;
        else if (index >= m_top + rows)
            m_top = index - rows + 1;
    }
    if (byUser)
        pacedUpdate();
    else
        Pacer::markDirty(this);
    emit selectionChanged(index);
}

void ListBox::syncScrollBar() {
    if (m_syncing) // laying the bar out below resizes the viewport, which comes back here
        return;
    const QScopedValueRollback syncing(m_syncing, true);
    QScrollBar* bar = verticalScrollBar();
    // The bar counts in int; the store's item limit keeps the top row within it, the clamp
    // makes sure.
    const int max = static_cast<int>(
        std::clamp<qint64>(ListCount() - visibleRows(), 0, std::numeric_limits<int>::max()));
    m_top = std::clamp<qint64>(m_top, 0, max);
    // The bar's signals must get through: the scroll area shows or hides the bar when it hears
    // that the range changed.
    bar->setRange(0, max);
    bar->setPageStep(visibleRows());
    bar->setValue(static_cast<int>(m_top));
    // It hears that only through the event queue, after this repaint; lay the bar out now so the
    // rows and the bar that goes with them show together.
    if (bar->isVisibleTo(this) != (max > 0)) {
        QEvent layout(QEvent::LayoutRequest);
        QCoreApplication::sendEvent(this, &layout);
    }
}

void ListBox::pacedUpdate() {
    m_store.caughtUp();
    if (m_selected >= ListCount()) // the store was emptied behind the control's back
        m_selected = -1;
    syncScrollBar();
    viewport()->update();
}

void ListBox::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    syncScrollBar();
}

void ListBox::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const int h = rowHeight();
    const int w = viewport()->width();
    const qint64 end = std::min<qint64>(ListCount(), m_top + viewport()->height() / h + 1);
    for (qint64 i = m_top; i < end; ++i) {
        const QRect row(0, static_cast<int>(i - m_top) * h, w, h);
        if (i == m_selected) {
            p.fillRect(row, palette().color(QPalette::Highlight));
            p.setPen(palette().color(QPalette::HighlightedText));
        } else {
            p.setPen(palette().color(QPalette::Text));
        }
        p.drawText(row.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, List(i));
        if (i == m_selected && hasFocus()) {
            p.setPen(QPen(palette().color(QPalette::HighlightedText), 1, Qt::DotLine));
            p.drawRect(row.adjusted(0, 0, -1, -1));
        }
    }
    // With the focus and no item selected, the focus frame stands where the first row shows.
    if (hasFocus() && ListIndex() < 0) {
        p.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
        p.drawRect(QRect(0, 0, w, h).adjusted(0, 0, -1, -1));
    }
}

void ListBox::mousePressEvent(QMouseEvent* e) {
    const qint64 row = m_top + e->position().toPoint().y() / rowHeight();
    if (row < ListCount())
        select(row, true);
}

void ListBox::keyPressEvent(QKeyEvent* e) {
    if (ListCount() == 0)
        return QAbstractScrollArea::keyPressEvent(e);
    const qint64 last = ListCount() - 1;
    const qint64 cur = std::max<qint64>(m_selected, 0);
    const int page = std::max(1, visibleRows() - 1);
    qint64 to;
    switch (e->key()) {
    case Qt::Key_Up:
        to = m_selected < 0 ? 0 : cur - 1;
        break;
    case Qt::Key_Down:
        to = m_selected < 0 ? 0 : cur + 1;
        break;
    case Qt::Key_PageUp:
        to = cur - page;
        break;
    case Qt::Key_PageDown:
        to = cur + page;
        break;
    case Qt::Key_Home:
        to = 0;
        break;
    case Qt::Key_End:
        to = last;
        break;
    default:
        return QAbstractScrollArea::keyPressEvent(e);
    }
    select(std::clamp<qint64>(to, 0, last), true);
}
