#include "Form1.h"

#include "CandidateJudge.h"
#include "Clock.h"
#include "Events.h"
#include "FittedSurface.h"
#include "Form2.h"
#include "FormsFont.h"
#include "Gradient.h"
#include "GraphicalButton.h"
#include "LimitText.h"
#include "ListBox.h"
#include "MainPictures.h"
#include "MessageBox.h"
#include "MousePointer.h"
#include "PictureBox.h"
#include "ProgramIcons.h"
#include "ProgramIdentity.h"
#include "ResizeModule.h"
#include "SavePictures.h"
#include "StackRoom.h"
#include "StripAccessible.h"
#include "Twips.h"
#include "frmAbout.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QShortcut>
#include <QToolButton>
#include <algorithm>

namespace {
constexpr QRgb kBarColour = qRgb(0, 128, 128); // palette colour 3

const QString kTooDeep = QStringLiteral("Hay demasiados cálculos en curso, uno dentro de otro. "
                                        "Termine o detenga alguno antes de iniciar otro.");
const QString kListFull = QStringLiteral("La lista está llena: no caben más números. Se conserva "
                                         "la lista calculada hasta ahora.");

// Stack that must be left for a start nested in running searches to go ahead. One more level
// costs about 4 KiB (a click that comes from the window system, down to the search's yield);
// the deepest search then opens its boxes or a dialog, which with their own event loops,
// layout and painting reach about 60 KiB (measured for the message boxes, the save dialog and
// the About box). Four times that leaves room for styles, input methods and accessibility
// layers that go deeper than the ones measured.
constexpr std::size_t kStackReserve = 256 * 1024;

// Whether the stack still holds another nested search; true when the system can't tell.
bool stackHoldsAnotherSearch() {
    const auto left = stack_room::headroom();
    return !left || *left >= kStackReserve;
}

int secondsOfDay(const clock_::TimeOfDay& t) {
    return t.hour * 60 * 60 + t.minute * 60 + t.second;
}
} // namespace

Form1::Form1(QWidget* parent) : Form(parent) {
    setObjectName("Form1");
    setWindowTitle(QStringLiteral("Tamizo"));
    setWindowIcon(icons::appIcon());
    program::install();
    setFont(forms::defaultFont());
    buildMenus();
    buildControls();
    setClientSizeTwips(4455, 5175);
    Text1->setFocus();
    // F10 opens the first menu, its first entry lit, as in the desktop's own programs. Alt
    // pressed and released alone still takes the menu bar, as the style has it.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this, [this] {
        menuBar()->setActiveAction(mCalculo->menuAction());
        mCalculo->setActiveAction(mStart);
    });
    Form_Load();
}

Form1::~Form1() {
    // The list box watches the store: it goes before the store does, not with the other
    // controls after it.
    delete lista;
}

void Form1::buildControls() {
    QWidget* s = surface();
    s->setMouseTracking(true);
    s->installEventFilter(this);

    Label1 = new QLabel(QStringLiteral("Calcular números primos menores que:"), s);
    Label1->setObjectName("Label1");
    twips::setGeometry(Label1, 120, 120, 2775, 255);

    Text1 = new QLineEdit(QStringLiteral("3000"), s);
    Text1->setObjectName("Text1");
    Text1->setMaxLength(32767);
    twips::setGeometry(Text1, 3000, 120, 1335, 285);
    Label1->setBuddy(Text1); // a screen reader names the field after its label

    Label2 = new QLabel(QStringLiteral("Programado por Quorvaldi, 2003"), s);
    Label2->setObjectName("Label2");
    QFont credit(QStringLiteral("MS Sans Serif"));
    credit.setPointSizeF(8.25);
    credit.setBold(true);
    Label2->setFont(credit);
    QPalette red = Label2->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    Label2->setPalette(red);
    twips::setGeometry(Label2, 120, 4800, 3375, 255);

    Command1 = forms::graphicalButton(s, "Command1", QStringLiteral("Iniciar el cálculo"),
                                      icons::startPicture(), {120, 3480, 1455, 615});
    Command2 = forms::graphicalButton(s, "Command2", QStringLiteral("Detener"),
                                      icons::stopPicture(), {1680, 3480, 1095, 615});
    Command3 = forms::graphicalButton(s, "Command3", QStringLiteral("Guardar números"),
                                      icons::savePicture(), {2880, 3480, 1455, 615});

    pprogreso = new PictureBox(s);
    pprogreso->setObjectName("pprogreso");
    twips::setGeometry(pprogreso, 120, 4200, 4215, 375);
    m_strip = new ProgressStrip(pprogreso);
    pprogreso->setAccessibleName(QStringLiteral("Progreso del cálculo"));

    lista = new ListBox(m_primes, s);
    lista->setObjectName("lista");
    twips::setGeometry(lista, 360, 840, 3735, 2010);
    lista->setAccessibleName(QStringLiteral("Números primos"));
    lista->AddItem(1);

    for (QWidget* w : {static_cast<QWidget*>(Text1), static_cast<QWidget*>(Command1),
                       static_cast<QWidget*>(Command2), static_cast<QWidget*>(Command3)}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }

    // Tab order as designed; the labels and the strip take no focus.
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, lista);

    connect(Command1, &QToolButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QToolButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QToolButton::clicked, this, &Form1::Command3_Click);

    // The control collection, in design order, menu entries last.
    for (QObject* c : std::initializer_list<QObject*>{Label1, Text1, Label2, Command1, Command2,
                                                      Command3, pprogreso, lista})
        Controls().add(c);
    for (QObject* m :
         std::initializer_list<QObject*>{mCalculo->menuAction(), mStart, mStop,
                                         mTools->menuAction(), mSave, mHelp->menuAction(), mAbout})
        Controls().add(m);
}

void Form1::buildMenus() {
    auto entry = [this](QMenu* menu, const char* name, const QString& caption) {
        auto* a = menu->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    auto menu = [this](const char* name, const QString& caption) {
        auto* m = menuBar()->addMenu(caption);
        m->setObjectName(name);
        return m;
    };
    mCalculo = menu("mCalculo", QStringLiteral("Cálculo"));
    mStart = entry(mCalculo, "mStart", QStringLiteral("Iniciar"));
    mStop = entry(mCalculo, "mStop", QStringLiteral("Detener"));
    mTools = menu("mTools", QStringLiteral("Opciones"));
    mSave = entry(mTools, "mSave", QStringLiteral("Guardar números"));
    mHelp = menu("mHelp", QStringLiteral("Ayuda"));
    mAbout = entry(mHelp, "mAbout", QStringLiteral("Acerca de..."));

    connect(mStart, &QAction::triggered, this, &Form1::mStart_Click);
    connect(mStop, &QAction::triggered, this, &Form1::mStop_Click);
    connect(mSave, &QAction::triggered, this, &Form1::mSave_Click);
    connect(mAbout, &QAction::triggered, this, &Form1::mAbout_Click);
}

QString Form1::summaryText(qint64 count, int seconds) {
    return QStringLiteral("Cálculo terminado. ") + QString::number(count) +
           QStringLiteral(" primos calculados. Tiempo empleado (segundos): ") +
           QString::number(seconds);
}

void Form1::Calcula() {
    // A start inside running searches is refused, before anything changes, when the stack can't
    // hold one more; a start with none running has all the stack the program began with.
    if (m_searches > 0 && !stackHoldsAnotherSearch()) {
        MessageBox::MsgBox(kTooDeep, 48);
        return;
    }
    pprogreso->Cls();
    // A limit that is not a number, or is too large, is refused before anything else changes.
    const limit_text::Reading L = limit_text::read(Text1->text());
    if (L.kind != limit_text::Kind::Number) {
        MessageBox::MsgBox(L.kind == limit_text::Kind::TooLarge ? kLimitTooLarge : kNotANumber, 16);
        return;
    }
    if (MessageBox::MsgBox(kConfirmPrompt, 36, QString()) == MessageBox::No)
        return;
    if (m_closed)
        return;
    Busy = true;
    ++m_searches;
    const auto searchEnded = qScopeGuard([this] { --m_searches; });
    pointer::setMousePointer(pointer::kHourglass);
    const int start = secondsOfDay(clock_::now());
    lista->Clear();
    // A list that takes no more items ends the search as a stop does.
    bool full = !lista->AddItem(1);

    CandidateJudge judge(m_primes);
    const double limit = L.value; // the box was modal: the text is still the one checked above
    // The last candidate is the largest odd number not above the limit; none below 1.
    const quint64 last = limit < 1 ? 0 : (static_cast<quint64>(limit) - 1) | 1;
    const auto append = [this](quint32 v) { return lista->AddItem(v); };
    for (quint64 n = 1; !full && n <= last;) {
        // The candidates up to the next checkpoint, the next one whose decimal text ends in 99,
        // go in one call: nothing else can change the list before that checkpoint's yield.
        const quint64 checkpointAt = n - n % 100 + 99;
        const quint64 upTo = std::min(checkpointAt, last);
        if (!judge.appendCandidates(n, upTo, append)) {
            full = true;
            break;
        }
        if (upTo == checkpointAt) {
            const Checkpoint c = checkpoint(checkpointAt, judge);
            if (c == Checkpoint::Closed) // the window is gone: end quietly, touching nothing
                return;
            if (c == Checkpoint::Stop)
                break;
        }
        n = upTo + 2;
    }

    const int end = secondsOfDay(clock_::now());
    const qint64 N = lista->ListCount();
    // Times of day: a search that runs past midnight has crossed into the next day.
    const int elapsed = end >= start ? end - start : end - start + 24 * 60 * 60;
    if (full) {
        MessageBox::MsgBox(kListFull, 48);
        if (m_closed)
            return;
    }
    MessageBox::MsgBox(summaryText(N, elapsed), 64, kSummaryTitle);
    if (m_closed)
        return;
    pprogreso->Cls();
    StopRequested = false;
    pointer::setMousePointer(pointer::kDefault);
    Busy = false;
}

Form1::Checkpoint Form1::checkpoint(quint64 n, CandidateJudge& judge) {
    const quint64 seen = m_primes.changeCount();
    events::yieldToEvents();
    if (m_closed)
        return Checkpoint::Closed;
    if (m_primes.changeCount() != seen)
        judge.listChangedElsewhere();
    if (StopRequested)
        return Checkpoint::Stop;
    progreso(static_cast<double>(n), Text1->text());
    lista->setListIndex(lista->ListCount() - 1);
    return Checkpoint::Go;
}

void Form1::progreso(double Value, const QString& max) {
    const double W = twips::fromPx(pprogreso->width());
    const double H = twips::fromPx(pprogreso->height());
    // A number too large for a search still scales the bar; text that is not one does not.
    // The text rarely changes between two calls; read it only when it has.
    if (max != m_barMaxText || m_barMaxText.isNull()) {
        m_barMaxText = max;
        m_barMax = limit_text::read(max);
    }
    const limit_text::Reading& m = m_barMax;
    if (m.kind == limit_text::Kind::NotANumber || m.value == 0)
        return;
    const float x = static_cast<float>((Value * W) / m.value);
    pprogreso->Line(Surface::kFilledBox, 0, 0, x, H, kBarColour);
    m_strip->setShare(Value, m.value); // after the drawing, which may clear the strip first
}

void Form1::tooltip(const QString& text) {
    if (Busy)
        return;
    pprogreso->Cls();
    pprogreso->Print(text);
}

void Form1::Form_Load() {
    ResizeModule::ResizeInit(*this);
}

void Form1::Form_Resize() {
    ResizeModule::ResizeForm(*this);
    // An inner height beyond 32767 twips is painted as for 32767, and the rest below in the last
    // band's colour, so no part of the window is left unpainted.
    qint16 StopLine = FittedSurface::fitted(ScaleHeight());
    FittedSurface fitted(*surface());
    qint16 red = 426, green = 512, blue = 275, stop = 0, pitch = 36, start = 0, mod = 1,
           autoRedraw = -1, moreR = 1, moreG = 1, moreB = 1;
    DrawGradient(fitted, red, green, blue, stop, pitch, start, StopLine, mod, autoRedraw, moreR,
                 moreG, moreB);
    fitted.fillRest();
}

void Form1::DrawGradient(Surface& TheObj, qint16& ColorRed, qint16& ColorGreen, qint16& ColorBlue,
                         qint16& ColorStop, qint16& ColorBandSize, qint16& StartLine,
                         qint16& StopLine, qint16& ModLine, qint16& AutoReDrawObj, qint16& MoreR,
                         qint16& MoreG, qint16& MoreB) {
    ::DrawGradient(TheObj, ColorRed, ColorGreen, ColorBlue, ColorStop, ColorBandSize, StartLine,
                   StopLine, ModLine, AutoReDrawObj, MoreR, MoreG, MoreB);
}

void Form1::Form_MouseMove() {
    tooltip(QString());
}
void Form1::Command1_Click() {
    Calcula();
}
void Form1::Command1_MouseMove() {
    tooltip(QStringLiteral("Inicia el cálculo de números primos."));
}
void Form1::Command2_Click() {
    StopRequested = true;
}
void Form1::Command2_MouseMove() {
    tooltip(QStringLiteral("Detiene el cálculo."));
}
void Form1::Command3_Click() {
    Form2::showModal(lista->store());
}
void Form1::Command3_MouseMove() {
    tooltip(QStringLiteral("Guardar los números calculados en un fichero de texto"));
}
void Form1::Text1_MouseMove() {
    tooltip(QStringLiteral("Introducir el máximo número hasta el que se calcularán primos."));
}
void Form1::mStart_Click() {
    Calcula();
}
void Form1::mStop_Click() {
    StopRequested = true;
}
void Form1::mSave_Click() {
    Form2::showModal(lista->store());
}
void Form1::mAbout_Click() {
    // A new dialog each time, with no owner; it is gone once it closes.
    frmAbout dialog;
    dialog.exec();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        if (watched == Command1)
            Command1_MouseMove();
        else if (watched == Command2)
            Command2_MouseMove();
        else if (watched == Command3)
            Command3_MouseMove();
        else if (watched == Text1)
            Text1_MouseMove();
        else if (watched == surface())
            surfaceMouseMove(static_cast<QMouseEvent*>(event));
    }
    return Form::eventFilter(watched, event);
}

void Form1::surfaceMouseMove(QMouseEvent* e) {
    // Moves over a child that does not handle them travel up to the surface; only the bare
    // surface itself gives the empty hint.
    if (!surface()->childAt(e->position().toPoint()))
        Form_MouseMove();
}

void Form1::closeEvent(QCloseEvent* e) {
    m_closed = true;
    MessageBox::closeOpenBoxes();
    pointer::setMousePointer(pointer::kDefault);
    e->accept();
}
