#pragma once
// Drives the real main window through the seams: scripted answers, actions at numbered yields
// (counted across nested searches), and a record of the summaries shown.

#include "Events.h"
#include "Form1.h"
#include "ListBox.h"
#include "MessageBox.h"
#include "Reference.h"

#include <QLineEdit>
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

    Harness() {
        MessageBox::reset();
        MessageBox::setTesting(true);
        MessageBox::setHandler([this](const MessageBox::Shown& box) {
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
        });
        events::setYieldHook([this] {
            const int y = yields++;
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
        });
    }
    ~Harness() {
        events::setYieldHook(nullptr);
        MessageBox::reset();
    }
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    void start(const QString& limit, bool yes = true) {
        form->Text1->setText(limit);
        answers.push_back(yes);
        form->Command1->click();
    }
    std::vector<quint32> listValues() const { return reference::valuesOf(form->lista->store()); }
};
