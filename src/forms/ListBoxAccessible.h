#pragma once
// The list box as a screen reader knows it: a list whose children are its rows. A row's
// interface is made only when something asks for that row, and only the last kCachedRows made
// are kept, so a list of any length costs the same. Each row reads its item's text; the
// selected row is selected and focused. Selection moves are told to the screen reader, paced.
// It works through the list box's public face only (count, item text, selection, where a row
// is drawn) and changes nothing in the list.

#include "AccessibleNotices.h"

#include <QAccessibleWidget>
#include <QObject>
#include <QPointer>
#include <deque>
#include <unordered_map>

class ListBox;

// The list: its children are the rows, made when asked for and kept while among the last
// kCachedRows made. It does not expose the list's scroll bar.
class ListBoxAccessible : public QAccessibleWidget {
  public:
    static constexpr int kCachedRows = 256;

    explicit ListBoxAccessible(ListBox* list);
    ~ListBoxAccessible() override;

    // Gives `list` its interface and sends its selection notices. The list box calls it once.
    static void watch(ListBox* list);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // How many row interfaces exist now.
    int rowsMade() const { return static_cast<int>(m_rows.size()); }

  private:
    ListBox* list() const;

    mutable std::unordered_map<int, QAccessible::Id> m_rows; // row index -> its interface
    mutable std::deque<int> m_made;                          // row indexes, oldest first
};

// One row of a list box: its item's text, its place on screen, selected or not.
class ListRowAccessible : public QAccessibleInterface {
  public:
    ListRowAccessible(ListBox* list, int index) : m_list(list), m_index(index) {}

    int index() const { return m_index; }
    const ListBox* list() const { return m_list; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

  private:
    QPointer<ListBox> m_list;
    int m_index;
};

// Sends a list box's selection notices: selected (and focused, when the list has the focus) on
// the row that the selection moved to, paced. It follows the selection only while somebody
// listens, so a search that moves it very often pays nothing otherwise.
class ListBoxNotices : public QObject {
  public:
    explicit ListBoxNotices(ListBox* list);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void follow(bool listening);
    void send();

    ListBox* m_list;
    NoticePacer m_pacer;
    QMetaObject::Connection m_following;
};
