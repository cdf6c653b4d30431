// The proportional layout scaler, on the main window and on a small form of its own whose
// collection mixes controls and menu entries: recorded size, doubled width, shrink and restore,
// skipped entries, font sizes, and the state before any recording.

#include "Form1.h"
#include "FormsSeams.h"
#include "ListBox.h"
#include "PictureBox.h"
#include "ResizeModule.h"
#include "Twips.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <memory>

namespace {

QList<QRect> geometries(const Form& f) {
    QList<QRect> g;
    for (int i = 0; i < f.Controls().Count(); ++i)
        if (auto* w = qobject_cast<QWidget*>(f.Controls().at(i)))
            g << w->geometry();
    return g;
}

// A form whose collection is: label, menu entry, button, menu entry, label.
struct MixedForm {
    Form form;
    QLabel* first = new QLabel("a", form.surface());
    QAction* menuA = new QAction("m", &form);
    QToolButton* middle = new QToolButton(form.surface());
    QAction* menuB = new QAction("n", &form);
    QLabel* last = new QLabel("b", form.surface());

    MixedForm() {
        twips::setGeometry(first, 150, 300, 600, 300);
        twips::setGeometry(middle, 900, 450, 1200, 600);
        twips::setGeometry(last, 30, 1500, 300, 150);
        form.setClientSizeTwips(3000, 3000);
        for (QObject* o : std::initializer_list<QObject*>{first, menuA, middle, menuB, last})
            form.Controls().add(o);
    }
};

} // namespace

class TestAppearanceResize : public QObject {
    Q_OBJECT
    const ScopedAnswers m_noRealBoxes;

  private slots:
    void cleanup();
    void beforeAnyRecordingNothingMoves();
    void atTheRecordedSizeNothingMoves();
    void doubledWidthDoublesEveryLeftAndWidth();
    void shrinkThenRestoreReturnsEveryControl_data();
    void shrinkThenRestoreReturnsEveryControl();
    void menuEntriesAreSkipped();
    void entriesBetweenControlsDoNotStopTheLoop();
    void vanishedControlIsSkippedAndTheRestScaled();
    void controlsAddedAfterRecordingAreNotVisited();
    void aNewRecordingReplacesTheOld();
    void fontSizesFollowTheHeight_data();
    void fontSizesFollowTheHeight();
    void fontsKeepTheirSizeWhenTheOptionIsOff();
};

void TestAppearanceResize::cleanup() {
    ResizeModule::ResizeFonts = false;
}

void TestAppearanceResize::beforeAnyRecordingNothingMoves() {
    ResizeModule::ResizeForget();
    MixedForm m;
    const QList<QRect> before = geometries(m.form);
    m.form.setOuterSizeTwips(m.form.Width() * 2, m.form.Height() * 2);
    ResizeModule::ResizeForm(m.form);
    QCOMPARE(geometries(m.form), before);
    // The same form once recorded does follow its size: the check above could fail.
    ResizeModule::ResizeInit(m.form);
    m.form.setOuterSizeTwips(m.form.Width() / 2, m.form.Height() / 2);
    ResizeModule::ResizeForm(m.form);
    QVERIFY(geometries(m.form) != before);
}

void TestAppearanceResize::atTheRecordedSizeNothingMoves() {
    Form1 f; // records its layout while loading
    const QList<QRect> before = geometries(f);
    QCOMPARE(before.size(), 8);
    ResizeModule::ResizeForm(f);
    QCOMPARE(geometries(f), before);
    QCOMPARE(f.lista->geometry(), QRect(24, 56, 249, 134));
}

void TestAppearanceResize::doubledWidthDoublesEveryLeftAndWidth() {
    Form1 f;
    const QList<QRect> before = geometries(f);
    const float width = f.Width(), height = f.Height();
    f.setOuterSizeTwips(width * 2, height);
    QCOMPARE(f.Width(), width * 2);
    QCOMPARE(f.Height(), height);
    ResizeModule::ResizeForm(f);
    const QList<QRect> after = geometries(f);
    QCOMPARE(after.size(), before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        QCOMPARE(after[i].x(), before[i].x() * 2);
        QCOMPARE(after[i].width(), before[i].width() * 2);
        QCOMPARE(after[i].y(), before[i].y());
        QCOMPARE(after[i].height(), before[i].height());
    }
}

void TestAppearanceResize::shrinkThenRestoreReturnsEveryControl_data() {
    QTest::addColumn<double>("widthFactor");
    QTest::addColumn<double>("heightFactor");
    QTest::newRow("to a third") << 1.0 / 3 << 1.0 / 3;
    QTest::newRow("narrower only") << 0.61 << 1.0;
    QTest::newRow("lower only") << 1.0 << 0.47;
    QTest::newRow("to a few pixels") << 0.05 << 0.05;
    QTest::newRow("wider and lower") << 1.7 << 0.8;
}

void TestAppearanceResize::shrinkThenRestoreReturnsEveryControl() {
    QFETCH(double, widthFactor);
    QFETCH(double, heightFactor);
    Form1 f;
    const QList<QRect> before = geometries(f);
    const float width = f.Width(), height = f.Height();
    f.setOuterSizeTwips(width * widthFactor, height * heightFactor);
    ResizeModule::ResizeForm(f);
    QVERIFY(geometries(f) != before);
    f.setOuterSizeTwips(width, height);
    ResizeModule::ResizeForm(f);
    QCOMPARE(geometries(f), before);
}

void TestAppearanceResize::menuEntriesAreSkipped() {
    Form1 f;
    const ControlCollection& c = f.Controls();
    QCOMPARE(c.Count(), 15);
    for (int i = 8; i < 15; ++i) {
        QVERIFY(qobject_cast<QAction*>(c.at(i)));
        float v = 1;
        for (const char* p : {"Left", "Top", "Width", "Height", "FontSize"}) {
            QVERIFY(!c.get(i, p, v));
            QVERIFY(!c.set(i, p, 100));
        }
    }
    const QList<QRect> before = geometries(f);
    f.setOuterSizeTwips(f.Width() * 2, f.Height() * 2);
    ResizeModule::ResizeForm(f);
    const QList<QRect> after = geometries(f);
    for (qsizetype i = 0; i < before.size(); ++i)
        QCOMPARE(after[i], QRect(before[i].topLeft() * 2, before[i].size() * 2));
    QCOMPARE(f.mStart->text(), QStringLiteral("Iniciar"));
}

void TestAppearanceResize::entriesBetweenControlsDoNotStopTheLoop() {
    MixedForm m;
    ResizeModule::ResizeInit(m.form);
    const QList<QRect> before = geometries(m.form);
    m.form.setOuterSizeTwips(m.form.Width() * 2, m.form.Height());
    ResizeModule::ResizeForm(m.form);
    const QList<QRect> after = geometries(m.form);
    QCOMPARE(after.size(), 3);
    for (qsizetype i = 0; i < 3; ++i) {
        QCOMPARE(after[i].x(), before[i].x() * 2);
        QCOMPARE(after[i].width(), before[i].width() * 2);
        QCOMPARE(after[i].y(), before[i].y());
    }
}

void TestAppearanceResize::vanishedControlIsSkippedAndTheRestScaled() {
    MixedForm m;
    ResizeModule::ResizeInit(m.form);
    const QRect first = m.first->geometry(), last = m.last->geometry();
    delete m.middle;
    m.form.setOuterSizeTwips(m.form.Width() * 2, m.form.Height());
    ResizeModule::ResizeForm(m.form);
    QCOMPARE(m.first->geometry(),
             QRect(first.x() * 2, first.y(), first.width() * 2, first.height()));
    QCOMPARE(m.last->geometry(), QRect(last.x() * 2, last.y(), last.width() * 2, last.height()));
}

void TestAppearanceResize::controlsAddedAfterRecordingAreNotVisited() {
    MixedForm m;
    ResizeModule::ResizeInit(m.form);
    auto* late = new QLabel("c", m.form.surface());
    twips::setGeometry(late, 300, 300, 300, 300);
    m.form.Controls().add(late);
    const QRect lateBefore = late->geometry(), first = m.first->geometry();
    m.form.setOuterSizeTwips(m.form.Width() * 2, m.form.Height() * 2);
    ResizeModule::ResizeForm(m.form);
    QCOMPARE(late->geometry(), lateBefore);
    QCOMPARE(m.first->geometry(), QRect(first.topLeft() * 2, first.size() * 2));
}

void TestAppearanceResize::aNewRecordingReplacesTheOld() {
    MixedForm m;
    ResizeModule::ResizeInit(m.form);
    const float width = m.form.Width();
    twips::setGeometry(m.first, 600, 300, 600, 300); // moved by hand after the first recording
    ResizeModule::ResizeInit(m.form);
    m.form.setOuterSizeTwips(width * 2, m.form.Height());
    ResizeModule::ResizeForm(m.form);
    QCOMPARE(m.first->geometry(), QRect(80, 20, 80, 20));
}

void TestAppearanceResize::fontSizesFollowTheHeight_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<double>("fontSize");
    QTest::newRow("pprogreso, 375 high") << "pprogreso" << 7.0;
    QTest::newRow("Command1, 615 high") << "Command1" << 12.0;
    QTest::newRow("Command2, 615 high") << "Command2" << 12.0;
    QTest::newRow("Label1, 255 high") << "Label1" << 5.0;
    QTest::newRow("Label2, 255 high") << "Label2" << 5.0;
    QTest::newRow("Text1, 285 high") << "Text1" << 5.0;
    QTest::newRow("lista, 2010 high") << "lista" << 40.0;
}

void TestAppearanceResize::fontSizesFollowTheHeight() {
    QFETCH(QString, control);
    QFETCH(double, fontSize);
    Form1 f;
    auto* w = f.findChild<QWidget*>(control);
    QVERIFY(w);
    QVERIFY(w->font().pointSizeF() != fontSize);
    ResizeModule::ResizeFonts = true;
    ResizeModule::ResizeForm(f);
    QCOMPARE(w->font().pointSizeF(), fontSize);
}

void TestAppearanceResize::fontsKeepTheirSizeWhenTheOptionIsOff() {
    QVERIFY(!ResizeModule::ResizeFonts);
    Form1 f;
    QList<double> before;
    for (int i = 0; i < 8; ++i)
        before << qobject_cast<QWidget*>(f.Controls().at(i))->font().pointSizeF();
    f.setOuterSizeTwips(f.Width() / 2, f.Height() / 2);
    ResizeModule::ResizeForm(f);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(qobject_cast<QWidget*>(f.Controls().at(i))->font().pointSizeF(), before[i]);
}

QTEST_MAIN(TestAppearanceResize)
#include "test_appearance_resize.moc"
