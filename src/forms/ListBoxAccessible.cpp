#include "ListBoxAccessible.h"

#include "ListBox.h"

#include <QAccessibleEvent>
#include <QEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <limits>
#include <utility>

namespace {
constexpr qint64 kMaxChildren = std::numeric_limits<int>::max(); // children are counted in int

QAccessibleInterface* listFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("ListBox"))
        if (auto* list = qobject_cast<ListBox*>(object))
            return new ListBoxAccessible(list);
    return nullptr;
}
} // namespace

ListBoxAccessible::ListBoxAccessible(ListBox* list) : QAccessibleWidget(list, QAccessible::List) {}

ListBoxAccessible::~ListBoxAccessible() {
    for (const auto& [index, id] : m_rows)
        QAccessible::deleteAccessibleInterface(id);
}

void ListBoxAccessible::watch(ListBox* list) {
    static const bool installed = [] {
        QAccessible::installFactory(listFactory);
        return true;
    }();
    Q_UNUSED(installed);
    new ListBoxNotices(list);
    a11y::dropStaleInterface(list, [](QAccessibleInterface* iface) {
        return dynamic_cast<ListBoxAccessible*>(iface) != nullptr;
    });
}

ListBox* ListBoxAccessible::list() const {
    return static_cast<ListBox*>(widget());
}

int ListBoxAccessible::childCount() const {
    return static_cast<int>(std::min(list()->ListCount(), kMaxChildren));
}

QAccessibleInterface* ListBoxAccessible::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    const auto known = m_rows.find(index);
    if (known != m_rows.end())
        if (QAccessibleInterface* row = QAccessible::accessibleInterface(known->second))
            return row;
    auto* row = new ListRowAccessible(list(), index);
    const QAccessible::Id id = QAccessible::registerAccessibleInterface(row);
    if (known != m_rows.end()) { // it was deleted behind our back; it keeps its turn
        known->second = id;
        return row;
    }
    m_rows.emplace(index, id);
    m_made.push_back(index);
    if (m_made.size() > static_cast<size_t>(kCachedRows)) {
        const int oldest = m_made.front();
        m_made.pop_front();
        QAccessible::deleteAccessibleInterface(m_rows[oldest]);
        m_rows.erase(oldest);
    }
    return row;
}

int ListBoxAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* row = dynamic_cast<const ListRowAccessible*>(child);
    if (!row || row->list() != list() || row->index() >= childCount())
        return -1;
    return row->index();
}

QAccessibleInterface* ListBoxAccessible::childAt(int x, int y) const {
    const QWidget* viewport = list()->viewport();
    const qint64 index = list()->indexAt(viewport->mapFromGlobal(QPoint(x, y)));
    return index >= 0 && index < kMaxChildren ? child(static_cast<int>(index)) : nullptr;
}

QAccessibleInterface* ListBoxAccessible::focusChild() const {
    const qint64 selected = list()->ListIndex();
    if (list()->hasFocus() && selected >= 0 && selected < kMaxChildren)
        return child(static_cast<int>(selected));
    return QAccessibleWidget::focusChild();
}

bool ListRowAccessible::isValid() const {
    return m_list && m_index < m_list->ListCount();
}

QWindow* ListRowAccessible::window() const {
    return m_list ? m_list->window()->windowHandle() : nullptr;
}

QAccessibleInterface* ListRowAccessible::parent() const {
    return m_list ? QAccessible::queryAccessibleInterface(m_list.data()) : nullptr;
}

QString ListRowAccessible::text(QAccessible::Text t) const {
    return t == QAccessible::Name && m_list ? m_list->List(m_index) : QString();
}

QRect ListRowAccessible::rect() const {
    if (!m_list)
        return {};
    const QRect row = m_list->itemRect(m_index);
    if (row.isEmpty())
        return {};
    return QRect(m_list->viewport()->mapToGlobal(row.topLeft()), row.size());
}

QAccessible::State ListRowAccessible::state() const {
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    s.selectable = true;
    s.focusable = true;
    // The selected row is the list's current row: the one the arrow keys move from.
    if (m_list->ListIndex() == m_index) {
        s.selected = true;
        s.focused = true;
    }
    if (m_list->itemRect(m_index).isEmpty())
        s.offscreen = true;
    return s;
}

ListBoxNotices::ListBoxNotices(ListBox* list)
    : QObject(list), m_list(list), m_pacer([this] { send(); }) {
    connect(&a11y::ListeningNotifier::instance(), &a11y::ListeningNotifier::changed, this,
            &ListBoxNotices::follow);
    follow(a11y::listening());
    list->installEventFilter(this);
}

void ListBoxNotices::follow(bool listening) {
    if (listening && !m_following)
        m_following = connect(m_list, &ListBox::selectionChanged, this, [this] { m_pacer.post(); });
    else if (!listening && m_following)
        disconnect(std::exchange(m_following, {}));
}

bool ListBoxNotices::eventFilter(QObject* watched, QEvent* event) {
    // Qt tells of the list taking the focus once this event is over; the row that has it is
    // told on the next turn of the event loop, after that.
    if (watched == m_list && event->type() == QEvent::FocusIn && a11y::listening())
        QMetaObject::invokeMethod(
            this, [this] { m_pacer.post(); }, Qt::QueuedConnection);
    return QObject::eventFilter(watched, event);
}

void ListBoxNotices::send() {
    const qint64 selected = m_list->ListIndex();
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(m_list);
    if (!list || selected < 0 || selected >= kMaxChildren)
        return;
    QAccessibleInterface* row = list->child(static_cast<int>(selected));
    if (!row)
        return;
    if (m_list->hasFocus()) {
        QAccessibleEvent focus(row, QAccessible::Focus);
        a11y::send(focus);
    }
    QAccessibleEvent selection(row, QAccessible::Selection);
    a11y::send(selection);
}
