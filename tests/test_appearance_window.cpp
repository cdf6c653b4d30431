// The main window as shown: its first resize leaves every control in place, its background is
// the banded gradient in the right-hand margin (clear of all controls), the picture is repainted
// from the persistent image, and a resize paints it again for the new height, however tall.

#include "Form1.h"
#include "FormsSeams.h"
#include "Gradient.h"
#include "PictureBox.h"
#include "Twips.h"

#include <QLineEdit>
#include <QTest>
#include <vector>

namespace {

// Column of the right-hand margin: controls end at 4335 twips, the inner width is 4455.
constexpr int kMarginX = 4400 / twips::kPerPixel;

// A pixel row well inside the band drawn at y (the next band starts lower down).
int rowOf(int y) {
    return twips::toPx(y + 18);
}

// The bands the main window's arguments give on an inner height, by position.
class Bands : public Surface {
  public:
    explicit Bands(double height) : m_height(height) {
        qint16 r = 426, g = 512, b = 275, stop = 0, pitch = 36, start = 0,
               last = static_cast<qint16>(height), mod = 1, redraw = -1, d1 = 1, d2 = 1, d3 = 1;
        DrawGradient(*this, r, g, b, stop, pitch, start, last, mod, redraw, d1, d2, d3);
    }
    QRgb at(int y) const {
        for (const auto& [top, colour] : m_bands)
            if (top == y - 1)
                return colour;
        return 0;
    }
    bool getAutoRedraw(bool& on) const override {
        on = true;
        return true;
    }
    bool setAutoRedraw(bool) override { return true; }
    bool getScaleWidth(double& v) const override {
        v = 4455;
        return true;
    }
    bool getScaleHeight(double& v) const override {
        v = m_height;
        return true;
    }
    bool Line(int, double, double y1, double, double, QRgb c) override {
        m_bands.emplace_back(static_cast<int>(y1), c);
        return true;
    }

  private:
    double m_height;
    std::vector<std::pair<int, QRgb>> m_bands;
};

QList<QRect> controlGeometries(const Form1& f) {
    QList<QRect> g;
    for (int i = 0; i < f.Controls().Count(); ++i)
        if (auto* w = qobject_cast<QWidget*>(f.Controls().at(i)))
            g << w->geometry();
    return g;
}

} // namespace

class TestAppearanceWindow : public QObject {
    Q_OBJECT
    const ScopedAnswers m_noRealBoxes;

  private slots:
    void firstShowLeavesEveryControlInPlace();
    void marginShowsTheBandsAtDesignSize_data();
    void marginShowsTheBandsAtDesignSize();
    void pictureSurvivesRepaints();
    void resizePaintsTheGradientForTheNewHeight();
    void tallWindowIsPaintedToTheBottom();
};

void TestAppearanceWindow::firstShowLeavesEveryControlInPlace() {
    Form1 f;
    const QList<QRect> loaded = controlGeometries(f);
    const float width = f.Width(), height = f.Height();
    QVERIFY(f.surface()->image().isNull()); // nothing painted before the first resize
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTRY_VERIFY(!f.surface()->image().isNull()); // the first resize ran
    QCOMPARE(f.Width(), width);
    QCOMPARE(f.Height(), height);
    QCOMPARE(controlGeometries(f), loaded);
    QCOMPARE(f.Text1->geometry(), QRect(200, 8, 89, 19));
    QCOMPARE(f.ScaleWidth(), 4455.0);
    QCOMPARE(f.ScaleHeight(), 5175.0);
}

void TestAppearanceWindow::marginShowsTheBandsAtDesignSize_data() {
    QTest::addColumn<int>("y");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("top band is white") << 0 << qRgb(255, 255, 255);
    QTest::newRow("y 1296") << 1296 << qRgb(255, 255, 206);
    QTest::newRow("y 2592") << 2592 << qRgb(213, 255, 137);
    QTest::newRow("y 3888") << 3888 << qRgb(106, 127, 68);
    QTest::newRow("y 5148, the last row") << 5148 << qRgb(2, 3, 1);
}

void TestAppearanceWindow::marginShowsTheBandsAtDesignSize() {
    QFETCH(int, y);
    QFETCH(QRgb, colour);
    Form1 f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTRY_COMPARE(f.surface()->image().size(), QSize(297, 345));
    const QImage shown = f.surface()->grab().toImage();
    QCOMPARE(QColor(f.surface()->image().pixel(kMarginX, rowOf(y))), QColor(colour));
    QCOMPARE(QColor(shown.pixel(kMarginX, rowOf(y))), QColor(colour));
    // The whole row is in that colour where no control stands.
    QCOMPARE(QColor(shown.pixel(296, rowOf(y))), QColor(colour));
    QCOMPARE(QColor(shown.pixel(0, rowOf(y))), QColor(colour));
}

void TestAppearanceWindow::pictureSurvivesRepaints() {
    Form1 f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTRY_VERIFY(!f.surface()->image().isNull());
    bool persistent = false;
    QVERIFY(f.surface()->getAutoRedraw(persistent));
    QVERIFY(persistent);
    const QImage painted = f.surface()->image();
    // Covered by another window, then uncovered: the surface repaints itself from its image.
    QWidget cover;
    cover.setGeometry(f.geometry());
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    cover.close();
    f.surface()->repaint();
    const QImage shown = f.surface()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int row = 0; row < painted.height(); ++row)
        QCOMPARE(shown.pixel(kMarginX, row), painted.pixel(kMarginX, row));
    QCOMPARE(f.surface()->image(), painted);
}

void TestAppearanceWindow::resizePaintsTheGradientForTheNewHeight() {
    Form1 f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTRY_COMPARE(f.surface()->image().height(), 345);
    const QRgb darkBefore = f.surface()->image().pixel(kMarginX, 344);
    QCOMPARE(QColor(darkBefore), QColor(qRgb(2, 3, 1)));

    f.setClientSizeTwips(4455, 10350);
    QTRY_COMPARE(f.ScaleHeight(), 10350.0);
    QTRY_COMPARE(f.surface()->image().height(), 690);
    const Bands expected(10350);
    const QImage shown = f.surface()->grab().toImage();
    for (int y : {0, 1296, 2592, 5148, 7776, 10296}) {
        QVERIFY(expected.at(y) != 0);
        QCOMPARE(QColor(shown.pixel(kMarginX, rowOf(y))), QColor(expected.at(y)));
    }
    // Where the old picture was almost black, the new one is still light, and the bottom row is
    // almost black again.
    QVERIFY(qGreen(shown.pixel(kMarginX, 344)) > 200);
    QVERIFY(qGreen(shown.pixel(kMarginX, 689)) < 8);
    QCOMPARE(QColor(shown.pixel(kMarginX, 689)), QColor(expected.at(10332)));
    // The same proportion down the window gives about the same colour.
    const QRgb half = shown.pixel(kMarginX, rowOf(2592));
    QVERIFY(std::abs(qBlue(half) - 206) <= 1 && qRed(half) == 255);
}

void TestAppearanceWindow::tallWindowIsPaintedToTheBottom() {
    Form1 f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.setClientSizeTwips(4455, 36000);
    QTRY_COMPARE(f.ScaleHeight(), 36000.0);
    QTRY_COMPARE(f.surface()->image().height(), 2400);
    const QImage& img = f.surface()->image();
    const QRgb face = f.surface()->palette().color(QPalette::Button).rgb();
    const Bands limited(32767);
    const QRgb lastBand = limited.at(32724);
    QVERIFY(lastBand != 0);
    for (int row = 0; row < img.height(); ++row)
        QVERIFY2(img.pixel(kMarginX, row) != face, qPrintable(QString::number(row)));
    QCOMPARE(QColor(img.pixel(kMarginX, 2399)), QColor(lastBand));
    QCOMPARE(QColor(img.pixel(kMarginX, rowOf(1296))), QColor(limited.at(1296)));
}

QTEST_MAIN(TestAppearanceWindow)
#include "test_appearance_window.moc"
