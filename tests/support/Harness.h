#pragma once
// Drives the real main window through the seams: scripted answers, actions at numbered yields
// (counted across nested searches), and a record of the summaries shown. Also finds the window a
// modal call opened, and drives the save dialog from the main window. It checks nothing itself.

#include "DirListBox.h"
#include "Form1.h"
#include "Form2.h"
#include "FormsSeams.h"
#include "ListBox.h"
#include "Reference.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <deque>
#include <memory>

struct Harness {
    std::unique_ptr<Form1> form = std::make_unique<Form1>();
    std::map<int, reference::Action> actions;
    std::deque<bool> answers; // confirmation answers; Yes when empty
    int yields = 0;
    std::vector<long long> summaries;
    std::function<void(const MessageBox::Shown&)> onBox;
    std::function<void(int yield)> onYield; // at every yield, before that yield's action

    ScopedAnswers boxes{[this](const MessageBox::Shown& box) {
        if (onBox)
            onBox(box);
        if (box.style == 36) {
            if (answers.empty())
                return int(MessageBox::Yes);
            const bool yes = answers.front();
            answers.pop_front();
            return int(yes ? MessageBox::Yes : MessageBox::No);
        }
        if (box.title == Form1::kSummaryTitle) {
            const QString p = box.prompt;
            const qsizetype a = p.indexOf(QStringLiteral(". ")) + 2;
            summaries.push_back(p.mid(a, p.indexOf(u' ', a) - a).toLongLong());
        }
        return int(MessageBox::Ok);
    }};
    ScopedYieldHook hook{[this] {
        const int y = yields++;
        if (onYield)
            onYield(y);
        auto it = actions.find(y);
        if (it == actions.end())
            return;
        const reference::Action a = it->second;
        if (a.kind == reference::Action::Stop)
            form->Command2->click();
        else if (a.kind == reference::Action::Edit)
            form->Text1->setText(a.text);
        else {
            form->Text1->setText(a.text);
            answers.push_front(a.yes);
            form->Command1->click();
        }
    }};

    void start(const QString& limit, bool yes = true) {
        form->Text1->setText(limit);
        answers.push_back(yes);
        form->Command1->click();
    }
    std::vector<quint32> listValues() const { return reference::valuesOf(form->lista->store()); }
};

// The visible top-level window of that class (a dialog a modal call opened), if any.
template <class Window> Window* openWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<Window*>(w); found && found->isVisible())
            return found;
    return nullptr;
}

struct DialogSession {
    bool opened = false;
    bool stayedOpen = false; // still open when the test's own steps were done
    QWidget* owner = nullptr;
    bool modal = false;
};

// Opens the save dialog from the button (or the menu entry), runs `inside` while it is open,
// closes it if it is still open, and returns once the modal call has come back.
inline DialogSession withSaveDialog(Form1& form, const std::function<void(Form2&)>& inside,
                                    bool viaMenu = false) {
    DialogSession s;
    QObject guard; // drops the pending step if the dialog never opens
    QTimer::singleShot(0, &guard, [&] {
        Form2* d = openWindow<Form2>();
        if (!d)
            return;
        s.opened = true;
        s.owner = d->parentWidget();
        s.modal = d->isModal() && QApplication::activeModalWidget() == d;
        inside(*d);
        s.stayedOpen = d->isVisible();
        if (s.stayedOpen)
            d->close();
    });
    if (viaMenu)
        form.mSave->trigger();
    else
        form.Command3->click();
    return s;
}

// Saves into `folder` under `name` through the dialog.
inline DialogSession saveThroughDialog(Form1& form, const QString& folder, const QString& name) {
    return withSaveDialog(form, [&](Form2& d) {
        QVERIFY(d.Dir1->setPath(folder));
        d.Text1->setText(name);
        d.Command1->click();
    });
}
