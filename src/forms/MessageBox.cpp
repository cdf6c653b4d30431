#include "MessageBox.h"

#include "Pacer.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace {
struct Seam {
    bool testing = false;
    std::deque<int> answers;
    MessageBox::Handler handler;
    std::vector<MessageBox::Shown> shown;
    int unscripted = 0;
};
Seam& seam() {
    static Seam s;
    return s;
}
std::vector<QPointer<QMessageBox>>& openBoxes() {
    static std::vector<QPointer<QMessageBox>> boxes;
    return boxes;
}
} // namespace

int MessageBox::defaultAnswer(int style) {
    return (style & 7) == 4 ? Yes : Ok;
}

int MessageBox::MsgBox(const QString& prompt, int style, const std::optional<QString>& title) {
    const Shown box{prompt, style, title.value_or(kProgramTitle)};
    // Whatever is on screen when a box opens must be painted first.
    Pacer::flush();

    Seam& s = seam();
    if (s.testing || !s.answers.empty() || s.handler) {
        s.shown.push_back(box);
        if (!s.answers.empty()) {
            const int a = s.answers.front();
            s.answers.pop_front();
            return a;
        }
        if (s.handler) {
            Handler h = s.handler; // the handler may replace itself
            return h(box);
        }
        ++s.unscripted;
        return defaultAnswer(style);
    }

    QMessageBox mb;
    // The toolkit puts the program's name on a window whose title is empty; a single blank
    // keeps an explicitly empty title bar empty.
    mb.setWindowTitle(box.title.isEmpty() ? QStringLiteral(" ") : box.title);
    mb.setText(prompt);
    switch (style & 0x70) {
    case 16:
        mb.setIcon(QMessageBox::Critical);
        break;
    case 32:
        mb.setIcon(QMessageBox::Question);
        break;
    case 48:
        mb.setIcon(QMessageBox::Warning);
        break;
    case 64:
        mb.setIcon(QMessageBox::Information);
        break;
    default:
        mb.setIcon(QMessageBox::NoIcon);
        break;
    }
    if ((style & 7) == 4) {
        mb.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        mb.button(QMessageBox::Yes)->setText(QStringLiteral("Sí"));
        mb.button(QMessageBox::No)->setText(QStringLiteral("No"));
        mb.setDefaultButton(QMessageBox::Yes);
    } else {
        mb.setStandardButtons(QMessageBox::Ok);
        mb.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
    }
    openBoxes().emplace_back(&mb);
    const int r = mb.exec();
    std::erase_if(openBoxes(), [&](const QPointer<QMessageBox>& p) { return p == &mb || !p; });
    if (r == QMessageBox::Yes)
        return Yes;
    if (r == QMessageBox::No)
        return No;
    return defaultAnswer(style) == Yes ? No : Ok;
}

void MessageBox::setTesting(bool on) {
    seam().testing = on;
}
void MessageBox::setNextAnswer(int answer) {
    seam().answers.push_back(answer);
}
void MessageBox::setHandler(Handler handler) {
    seam().handler = std::move(handler);
}
void MessageBox::reset() {
    Seam& s = seam();
    s.answers.clear();
    s.handler = nullptr;
    s.shown.clear();
    s.unscripted = 0;
}
const std::vector<MessageBox::Shown>& MessageBox::shown() {
    return seam().shown;
}
int MessageBox::unscriptedCount() {
    return seam().unscripted;
}

void MessageBox::closeOpenBoxes() {
    for (const auto& box : openBoxes())
        if (box)
            box->reject();
}
