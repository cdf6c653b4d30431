#include "MessageBox.h"

#include "Pacer.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

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
MessageBox::ProgramWords& words() {
    static MessageBox::ProgramWords w;
    return w;
}
std::vector<QPointer<QDialog>>& openBoxes() {
    static std::vector<QPointer<QDialog>> boxes;
    return boxes;
}

QString withoutTrailingBlanks(QString s) {
    while (s.endsWith(QLatin1Char(' ')))
        s.chop(1);
    return s;
}

QStyle::StandardPixmap iconOf(int style) {
    switch (style & 0x70) {
    case 16:
        return QStyle::SP_MessageBoxCritical;
    case 32:
        return QStyle::SP_MessageBoxQuestion;
    case 48:
        return QStyle::SP_MessageBoxWarning;
    case 64:
        return QStyle::SP_MessageBoxInformation;
    default:
        return QStyle::SP_CustomBase; // none
    }
}
} // namespace

void MessageBox::setProgramWords(ProgramWords w) {
    words() = std::move(w);
}
const MessageBox::ProgramWords& MessageBox::programWords() {
    return words();
}

int MessageBox::defaultAnswer(int style) {
    return (style & 7) == 4 ? Yes : Ok;
}

int MessageBox::MsgBox(const QString& prompt, int style, const std::optional<QString>& title) {
    const QString& programTitle = words().title;
    const Shown box{prompt, style,
                    title.value_or(programTitle.isEmpty() ? QCoreApplication::applicationName()
                                                          : programTitle)};
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

    const std::unique_ptr<QDialog> mb = build(box);
    openBoxes().emplace_back(mb.get());
    const int r = mb->exec();
    std::erase_if(openBoxes(), [&](const QPointer<QDialog>& p) { return p == mb.get() || !p; });
    if (r != 0)
        return r; // the button pressed
    // Closed without a button (Esc, the close box, closeOpenBoxes).
    return defaultAnswer(style) == Yes ? No : Ok;
}

std::unique_ptr<QDialog> MessageBox::build(const Shown& box) {
    // A title bar with a close box only.
    auto dialog = std::make_unique<QDialog>(
        nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint |
                     Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QDialog* d = dialog.get();
    // The toolkit puts the program's name on a window whose title is empty; a single blank
    // keeps an explicitly empty title bar empty.
    d->setWindowTitle(box.title.isEmpty() ? QStringLiteral(" ") : box.title);
    const QWidget* active = QApplication::activeWindow();
    QScreen* screen = active ? active->screen() : QGuiApplication::primaryScreen();
    if (screen)
        d->setScreen(screen);

    auto* grid = new QGridLayout(d);
    grid->setSizeConstraint(QLayout::SetFixedSize); // the box is as large as its contents
    QStyle* st = d->style();
    if (const auto icon = iconOf(box.style); icon != QStyle::SP_CustomBase) {
        auto* picture = new QLabel(d);
        const int side = st->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, d);
        picture->setPixmap(st->standardIcon(icon, nullptr, d).pixmap(side, side));
        grid->addWidget(picture, 0, 0, Qt::AlignTop);
    }
    auto* text = new QLabel(d);
    text->setObjectName("prompt");
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(false); // wrapText breaks the lines
    text->setTextInteractionFlags(Qt::TextInteractionFlags(
        st->styleHint(QStyle::SH_MessageBox_TextInteractionFlags, nullptr, d)));
    grid->addWidget(text, 0, 1);

    auto* buttons = new QDialogButtonBox(d);
    buttons->setCenterButtons(st->styleHint(QStyle::SH_MessageBox_CenterButtons, nullptr, d));
    // The toolkit's own button, bearing the program's caption when it has given one.
    auto add = [&](QDialogButtonBox::StandardButton which, const QString& caption, int answer) {
        QPushButton* b = buttons->addButton(which);
        if (!caption.isEmpty())
            b->setText(caption);
        QObject::connect(b, &QPushButton::clicked, d, [d, answer] { d->done(answer); });
        return b;
    };
    if ((box.style & 7) == 4) {
        add(QDialogButtonBox::Yes, words().yes, Yes)->setDefault(true);
        add(QDialogButtonBox::No, words().no, No);
    } else {
        add(QDialogButtonBox::Ok, words().ok, Ok)->setDefault(true);
    }
    grid->addWidget(buttons, 1, 0, 1, 2);

    // The lines, then a narrower measure if the box would still not fit on the screen.
    text->ensurePolished();
    const int limit = screen ? lineWidthLimit(*screen) : 640;
    text->setText(wrapText(box.prompt, text->fontMetrics(), limit));
    if (screen) {
        const int excess = d->sizeHint().width() - screen->availableGeometry().width();
        if (excess > 0)
            text->setText(wrapText(box.prompt, text->fontMetrics(), limit - excess));
    }
    return dialog;
}

QString MessageBox::wrapText(const QString& text, const QFontMetrics& metrics, int maxWidth) {
    auto fits = [&](const QString& s) {
        return metrics.horizontalAdvance(withoutTrailingBlanks(s)) <= maxWidth;
    };
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        if (fits(paragraph)) {
            lines << paragraph;
            continue;
        }
        // Pieces that end just after a "/" or, unless the paragraph is a path (whose folder
        // names may hold blanks), after a blank; packed as many to a line as fit.
        const bool path = paragraph.startsWith(QLatin1Char('/'));
        const qsizetype linesBefore = lines.size();
        QString line;
        qsizetype start = 0;
        for (qsizetype i = 0; i < paragraph.size(); ++i) {
            const QChar c = paragraph[i];
            const bool breaks = c == QLatin1Char('/') || (!path && c == QLatin1Char(' '));
            if (!breaks && i + 1 < paragraph.size())
                continue;
            QString piece = paragraph.mid(start, i + 1 - start);
            start = i + 1;
            if (!line.isEmpty() && !fits(line + piece)) {
                lines << withoutTrailingBlanks(line);
                line.clear();
            }
            if (line.isEmpty() && lines.size() > linesBefore && piece.trimmed().isEmpty())
                continue; // a continued line does not start with a blank
            if (line.isEmpty() && !fits(piece)) {
                const bool blank = piece.endsWith(QLatin1Char(' '));
                piece = metrics.elidedText(withoutTrailingBlanks(piece), Qt::ElideMiddle, maxWidth);
                if (blank)
                    piece += QLatin1Char(' ');
            }
            line += piece;
        }
        if (!line.isEmpty())
            lines << withoutTrailingBlanks(line);
    }
    return lines.join(QLatin1Char('\n'));
}

int MessageBox::lineWidthLimit(const QScreen& screen) {
    return screen.availableGeometry().width() * 5 / 8;
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
