#pragma once
// Controls that act when a screen reader asks them to, as it knows them: a graphical button, a
// push button with its caption, and a label that works as a link. Their actions run once the
// screen reader has had its answer, so a command that opens a modal box can't hold it waiting.
// What the command does is the owning window's business.

#include <QAccessibleWidget>
#include <functional>

class QAbstractButton;
class QLabel;

namespace forms {
// Shows `label` to a screen reader as a link whose action runs `open`. The label keeps its
// looks and its mouse handling.
void makeLink(QLabel* label, std::function<void()> open);
// Gives graphical buttons their interface; the graphical button calls it.
void installButtonAccessibility();
} // namespace forms

// A control a screen reader presses: named by the text it shows (unless it has an accessible
// name of its own), with one press action and no keys. What a press does is the subclass's.
class PressableAccessible : public QAccessibleWidget {
  public:
    PressableAccessible(QWidget* widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role) {}

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  protected:
    virtual QString shownText() const = 0;
    virtual void press() = 0;
};

// A graphical button: a push button named by its caption, whose press clicks it after a moment,
// as a push button's does. It doesn't change how the button looks or takes the keyboard.
class GraphicalButtonAccessible : public PressableAccessible {
  public:
    explicit GraphicalButtonAccessible(QAbstractButton* button);
    QAccessible::State state() const override;

  private:
    QString shownText() const override;
    void press() override;
    QAbstractButton* button() const;
};

// A label marked as a link: named by its text, with a press action that runs what the label's
// window gave it. It gives the label no focus and no keys.
class LinkAccessible : public PressableAccessible {
  public:
    explicit LinkAccessible(QLabel* label);
    QAccessible::State state() const override;

  private:
    QString shownText() const override;
    void press() override;
};
