// The gradient painter on a recording surface (and on a picture box where pixels matter): band
// colours and edges, the argument rules, the 16-bit arithmetic and its failures, and the fitted
// view that lets a tall window be painted whole.

#include "FittedSurface.h"
#include "Gradient.h"
#include "PictureBox.h"
#include "Twips.h"

#include <QTest>
#include <vector>

namespace {

struct Band {
    int flags;
    double x1, y1, x2, y2;
    QRgb colour;
};

// A surface that keeps every Line call; each member can be made to fail.
class RecordingSurface : public Surface {
  public:
    double scaleWidth = 4455, scaleHeight = 5175;
    bool autoRedraw = false;
    bool autoRedrawWorks = true, scaleWidthWorks = true, scaleHeightWorks = true, lineWorks = true;
    std::vector<Band> bands;
    int lineCalls = 0;

    bool getAutoRedraw(bool& on) const override {
        on = autoRedraw;
        return autoRedrawWorks;
    }
    bool setAutoRedraw(bool on) override {
        if (autoRedrawWorks)
            autoRedraw = on;
        return autoRedrawWorks;
    }
    bool getScaleWidth(double& v) const override {
        if (scaleWidthWorks)
            v = scaleWidth;
        return scaleWidthWorks;
    }
    bool getScaleHeight(double& v) const override {
        if (scaleHeightWorks)
            v = scaleHeight;
        return scaleHeightWorks;
    }
    bool Line(int flags, double x1, double y1, double x2, double y2, QRgb colour) override {
        ++lineCalls;
        if (!lineWorks)
            return false;
        bands.push_back({flags, x1, y1, x2, y2, colour});
        return true;
    }

    // The band drawn for position y (its top edge is y - 1), or nullptr.
    const Band* bandAt(int y) const {
        for (const Band& b : bands)
            if (b.y1 == y - 1)
                return &b;
        return nullptr;
    }
    QList<int> positions() const {
        QList<int> p;
        for (const Band& b : bands)
            p << static_cast<int>(b.y1) + 1;
        return p;
    }
};

// The twelve numbers, defaulting to what the main window passes at its design size.
struct Args {
    qint16 red = 426, green = 512, blue = 275, stop = 0, pitch = 36, start = 0, stopLine = 5175,
           mod = 1, autoRedraw = -1, moreR = 1, moreG = 1, moreB = 1;
};

void paint(Surface& s, Args& a) {
    DrawGradient(s, a.red, a.green, a.blue, a.stop, a.pitch, a.start, a.stopLine, a.mod,
                 a.autoRedraw, a.moreR, a.moreG, a.moreB);
}

// A case for the table of painted bands: arguments and the surface's inner size and members.
struct Case {
    Args args;
    double scaleHeight = 5175;
    bool lineWorks = true, scaleWidthWorks = true, scaleHeightWorks = true;
};

} // namespace

Q_DECLARE_METATYPE(Case)

class TestAppearanceGradient : public QObject {
    Q_OBJECT
  private slots:
    void designHeightGives144BandsAcrossTheWholeWidth();
    void bandColoursAtDesignHeight_data();
    void bandColoursAtDesignHeight();
    void divisorsAreClampedAndWrittenBack_data();
    void divisorsAreClampedAndWrittenBack();
    void persistentImageArgument_data();
    void persistentImageArgument();
    void levelsRoundHalvesToEven_data();
    void levelsRoundHalvesToEven();
    void stopEqualToStartKeepsChannelConstant_data();
    void stopEqualToStartKeepsChannelConstant();
    void whichBandsArePainted_data();
    void whichBandsArePainted();
    void halfHeightBandsLeaveStripesOfThePreviousPicture();
    void fittedViewPassesThroughWithinTheLimit();
    void fittedViewCoversATallSurfaceWhole();
    void fittedPositions_data();
    void fittedPositions();
};

void TestAppearanceGradient::designHeightGives144BandsAcrossTheWholeWidth() {
    RecordingSurface s;
    Args a;
    paint(s, a);
    QCOMPARE(s.bands.size(), size_t(144));
    for (size_t i = 0; i < s.bands.size(); ++i) {
        const Band& b = s.bands[i];
        const double y = 36.0 * static_cast<double>(i);
        QCOMPARE(b.flags, 38);
        QCOMPARE(b.x1, -1.0);
        QCOMPARE(b.y1, y - 1);
        QCOMPARE(b.x2, 4455.0);
        QCOMPARE(b.y2, y + 36);
    }
    QCOMPARE(s.bands.back().y1 + 1, 5148.0);
    QVERIFY(s.autoRedraw);
}

void TestAppearanceGradient::bandColoursAtDesignHeight_data() {
    QTest::addColumn<int>("y");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("top band is white") << 0 << qRgb(255, 255, 255);
    QTest::newRow("y 1296 pale yellow") << 1296 << qRgb(255, 255, 206);
    QTest::newRow("y 2592 yellow-green") << 2592 << qRgb(213, 255, 137);
    QTest::newRow("y 3888 olive") << 3888 << qRgb(106, 127, 68);
    QTest::newRow("last band y 5148 almost black") << 5148 << qRgb(2, 3, 1);
}

void TestAppearanceGradient::bandColoursAtDesignHeight() {
    QFETCH(int, y);
    QFETCH(QRgb, colour);
    RecordingSurface s;
    Args a;
    paint(s, a);
    const Band* b = s.bandAt(y);
    QVERIFY(b);
    QCOMPARE(QColor(b->colour), QColor(colour));
}

void TestAppearanceGradient::divisorsAreClampedAndWrittenBack_data() {
    QTest::addColumn<int>("moreR");
    QTest::addColumn<int>("moreG");
    QTest::addColumn<int>("moreB");
    QTest::addColumn<int>("clampedR");
    QTest::addColumn<int>("clampedG");
    QTest::addColumn<int>("clampedB");
    QTest::addColumn<int>("y");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("MoreR 0 paints as 1")
        << 0 << 1 << 1 << 1 << 1 << 1 << 3888 << qRgb(106, 127, 68);
    QTest::newRow("MoreR -32768 paints as 1")
        << -32768 << 1 << 1 << 1 << 1 << 1 << 3888 << qRgb(106, 127, 68);
    QTest::newRow("MoreG 25 paints as 20, top")
        << 1 << 25 << 1 << 1 << 20 << 1 << 0 << qRgb(255, 512 / 20, 255);
    QTest::newRow("MoreG 25 paints as 20, y 3888")
        << 1 << 25 << 1 << 1 << 20 << 1 << 3888 << qRgb(106, 127 / 20, 68);
    QTest::newRow("MoreB 2 halves blue, top")
        << 1 << 1 << 2 << 1 << 1 << 2 << 0 << qRgb(255, 255, 275 / 2);
    QTest::newRow("MoreB 2 halves blue, y 1296")
        << 1 << 1 << 2 << 1 << 1 << 2 << 1296 << qRgb(255, 255, 103);
    QTest::newRow("MoreB 2 halves blue, y 3888")
        << 1 << 1 << 2 << 1 << 1 << 2 << 3888 << qRgb(106, 127, 34);
    QTest::newRow("MoreR 20 stays 20")
        << 20 << 1 << 1 << 20 << 1 << 1 << 0 << qRgb(426 / 20, 255, 255);
}

void TestAppearanceGradient::divisorsAreClampedAndWrittenBack() {
    QFETCH(int, moreR);
    QFETCH(int, moreG);
    QFETCH(int, moreB);
    QFETCH(int, clampedR);
    QFETCH(int, clampedG);
    QFETCH(int, clampedB);
    QFETCH(int, y);
    QFETCH(QRgb, colour);
    RecordingSurface s;
    Args a;
    a.moreR = static_cast<qint16>(moreR);
    a.moreG = static_cast<qint16>(moreG);
    a.moreB = static_cast<qint16>(moreB);
    paint(s, a);
    QCOMPARE(a.moreR, qint16(clampedR));
    QCOMPARE(a.moreG, qint16(clampedG));
    QCOMPARE(a.moreB, qint16(clampedB));
    const Band* b = s.bandAt(y);
    QVERIFY(b);
    QCOMPARE(QColor(b->colour), QColor(colour));
}

void TestAppearanceGradient::persistentImageArgument_data() {
    QTest::addColumn<int>("argument");
    QTest::addColumn<bool>("before");
    QTest::addColumn<bool>("after");
    QTest::newRow("-1 switches it on") << -1 << false << true;
    QTest::newRow("0 switches it off") << 0 << true << false;
    QTest::newRow("5 leaves it on") << 5 << true << true;
    QTest::newRow("5 leaves it off") << 5 << false << false;
    QTest::newRow("1 leaves it off") << 1 << false << false;
}

void TestAppearanceGradient::persistentImageArgument() {
    QFETCH(int, argument);
    QFETCH(bool, before);
    QFETCH(bool, after);
    RecordingSurface s;
    s.autoRedraw = before;
    Args a;
    a.autoRedraw = static_cast<qint16>(argument);
    paint(s, a);
    QCOMPARE(s.autoRedraw, after);
    QCOMPARE(a.autoRedraw, qint16(argument));
    QCOMPARE(s.bands.size(), size_t(144));
}

void TestAppearanceGradient::levelsRoundHalvesToEven_data() {
    // Pitch 1 on a surface 2 high: the step is (stop - start) / 2, so the second band's level
    // is start - 0.5.
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("painted");
    QTest::newRow("254.5 paints 254") << 255 << 254;
    QTest::newRow("255.5 paints 255") << 256 << 255;
    QTest::newRow("253.5 paints 254") << 254 << 254;
    QTest::newRow("1.5 paints 2") << 2 << 2;
    QTest::newRow("0.5 paints 0") << 1 << 0;
}

void TestAppearanceGradient::levelsRoundHalvesToEven() {
    QFETCH(int, start);
    QFETCH(int, painted);
    RecordingSurface s;
    s.scaleHeight = 2;
    Args a;
    a.red = static_cast<qint16>(start);
    a.stop = static_cast<qint16>(start - 1);
    a.pitch = 1;
    a.stopLine = 2;
    paint(s, a);
    QCOMPARE(s.bands.size(), size_t(3));
    QCOMPARE(qRed(s.bandAt(0)->colour), std::min(start, 255));
    QCOMPARE(qRed(s.bandAt(1)->colour), painted);
}

void TestAppearanceGradient::stopEqualToStartKeepsChannelConstant_data() {
    QTest::addColumn<int>("channel"); // 0 red, 1 green, 2 blue
    QTest::newRow("red") << 0;
    QTest::newRow("green") << 1;
    QTest::newRow("blue") << 2;
}

void TestAppearanceGradient::stopEqualToStartKeepsChannelConstant() {
    QFETCH(int, channel);
    RecordingSurface s;
    Args a;
    a.red = 200;
    a.green = 150;
    a.blue = 100;
    a.stop = channel == 0 ? a.red : channel == 1 ? a.green : a.blue;
    paint(s, a);
    auto level = [](QRgb c, int ch) { return ch == 0 ? qRed(c) : ch == 1 ? qGreen(c) : qBlue(c); };
    QCOMPARE(s.bands.size(), size_t(144));
    for (const Band& b : s.bands)
        QCOMPARE(level(b.colour, channel), int(a.stop));
    // The other channels do move toward the stop level.
    const int other = (channel + 1) % 3;
    QVERIFY(level(s.bands.front().colour, other) != level(s.bands.back().colour, other));
}

void TestAppearanceGradient::whichBandsArePainted_data() {
    QTest::addColumn<Case>("c");
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<QList<int>>("reds"); // empty: not checked

    Case c;
    c.args.start = 100;
    c.args.stopLine = 50;
    QTest::newRow("start above stop paints nothing") << c << QList<int>{} << QList<int>{};

    c = Case();
    c.args.start = 100;
    c.args.stopLine = 0;
    c.args.pitch = -36;
    QTest::newRow("negative pitch runs upward") << c << QList<int>{100, 64, 28} << QList<int>{};

    c = Case();
    c.args.pitch = 0;
    QTest::newRow("pitch 0 paints nothing and ends") << c << QList<int>{} << QList<int>{};

    c = Case();
    c.args.mod = 0;
    QTest::newRow("ModLine 0 paints no band") << c << QList<int>{} << QList<int>{};

    c = Case();
    c.scaleHeight = 0;
    c.args.stopLine = 100;
    QTest::newRow("H 0 paints only the first band, at the start levels")
        << c << QList<int>{0} << QList<int>{255};

    c = Case();
    c.scaleHeight = 0;
    c.args.stopLine = 100;
    c.args.red = 100;
    c.args.stop = 100;
    QTest::newRow("H 0 with a level that does not move") << c << QList<int>{0} << QList<int>{100};

    c = Case();
    c.scaleHeight = 40000;
    c.args.stopLine = 100;
    QTest::newRow("surface height beyond 16 bits counts as 0")
        << c << QList<int>{0} << QList<int>{255};

    c = Case();
    c.scaleHeightWorks = false;
    c.args.stopLine = 100;
    QTest::newRow("surface without ScaleHeight counts as 0")
        << c << QList<int>{0} << QList<int>{255};

    c = Case();
    c.args.red = 200;
    c.args.pitch = 200;
    c.args.stopLine = 800;
    QTest::newRow("product overflow keeps red at its start")
        << c << QList<int>{0, 200, 400, 600, 800} << QList<int>{200, 200, 200, 200, 200};

    c = Case();
    c.args.red = 100;
    c.args.stop = -32700;
    c.args.green = 0;
    c.args.blue = 0;
    c.args.stopLine = 108;
    QTest::newRow("difference overflow keeps red at its start")
        << c << QList<int>{0, 36, 72, 108} << QList<int>{100, 100, 100, 100};

    c = Case();
    c.args.red = 10;
    c.args.stop = -100;
    c.args.green = 0;
    c.args.blue = 0;
    c.scaleHeight = 72;
    c.args.stopLine = 144;
    QTest::newRow("negative levels paint as 0")
        << c << QList<int>{0, 36, 72, 108, 144} << QList<int>{10, 0, 0, 0, 0};

    // Step 767 * 40 / 1: the second band's red is 62680, beyond 16 bits.
    c = Case();
    c.args.red = 32000;
    c.args.stop = 32767;
    c.args.pitch = 40;
    c.args.stopLine = 80;
    c.scaleHeight = 1;
    QTest::newRow("colour beyond 16 bits skips the band") << c << QList<int>{0} << QList<int>{255};
    c.args.moreR = 2;
    QTest::newRow("halved, the same colour fits") << c << QList<int>{0, 40} << QList<int>{255, 255};

    c = Case();
    c.args.start = -32768;
    c.args.stopLine = -32700;
    QTest::newRow("top edge overflow skips the band") << c << QList<int>{-32732} << QList<int>{};

    c = Case();
    c.args.start = 32700;
    c.args.stopLine = 32767;
    QTest::newRow("lower edge overflow skips the band, y overflow ends the loop")
        << c << QList<int>{32700} << QList<int>{};

    c = Case();
    c.args.stopLine = 32767;
    c.args.pitch = 30000;
    QTest::newRow("y overflow ends the loop") << c << QList<int>{0} << QList<int>{};

    c = Case();
    c.lineWorks = false;
    QTest::newRow("surface without Line gets no bands") << c << QList<int>{} << QList<int>{};
}

void TestAppearanceGradient::whichBandsArePainted() {
    QFETCH(Case, c);
    QFETCH(QList<int>, positions);
    QFETCH(QList<int>, reds);
    RecordingSurface s;
    s.scaleHeight = c.scaleHeight;
    s.lineWorks = c.lineWorks;
    s.scaleHeightWorks = c.scaleHeightWorks;
    paint(s, c.args);
    QCOMPARE(s.positions(), positions);
    for (qsizetype i = 0; i < reds.size(); ++i)
        QCOMPARE(qRed(s.bands[static_cast<size_t>(i)].colour), reds[i]);
    if (!c.lineWorks) // every band was still tried
        QCOMPARE(s.lineCalls, 144);
}

void TestAppearanceGradient::halfHeightBandsLeaveStripesOfThePreviousPicture() {
    // On a recording surface: pitch 36, ModLine 2, each band from y - 1 to y + 18.
    RecordingSurface r;
    Args a;
    a.mod = 2;
    paint(r, a);
    QCOMPARE(r.bands.size(), size_t(144));
    for (const Band& b : r.bands)
        QCOMPARE(b.y2 - b.y1, 19.0);

    // On a picture box, with a pitch of 24 pixels: rows between the bands keep the old colour.
    PictureBox box(nullptr, false);
    box.resize(100, 200);
    box.fillBox(0, 0, 1500, 3000, qRgb(0, 0, 255));
    a = Args();
    a.pitch = 360;
    a.stopLine = 3000;
    a.mod = 2;
    paint(box, a);
    const QImage& img = box.image();
    for (int y = 0; y + 270 < 3000; y += 360) {
        const int inBand = twips::toPx(y + 90), inStripe = twips::toPx(y + 270);
        QVERIFY2(img.pixel(50, inBand) != qRgb(0, 0, 255), qPrintable(QString::number(y)));
        QCOMPARE(img.pixel(50, inStripe), qRgb(0, 0, 255));
    }
}

void TestAppearanceGradient::fittedViewPassesThroughWithinTheLimit() {
    RecordingSurface direct, inner;
    FittedSurface fitted(inner);
    Args a, b;
    paint(direct, a);
    paint(fitted, b);
    fitted.fillRest();
    QCOMPARE(inner.bands.size(), direct.bands.size());
    for (size_t i = 0; i < direct.bands.size(); ++i) {
        QCOMPARE(inner.bands[i].y1, direct.bands[i].y1);
        QCOMPARE(inner.bands[i].y2, direct.bands[i].y2);
        QCOMPARE(inner.bands[i].x2, direct.bands[i].x2);
        QCOMPARE(inner.bands[i].colour, direct.bands[i].colour);
    }
}

void TestAppearanceGradient::fittedViewCoversATallSurfaceWhole() {
    RecordingSurface limited, tall;
    limited.scaleHeight = 32767;
    limited.scaleWidth = 32767;
    tall.scaleHeight = 40000;
    tall.scaleWidth = 50000;
    FittedSurface fitted(tall);
    Args a, b;
    a.stopLine = 32767;
    b.stopLine = FittedSurface::fitted(40000);
    paint(limited, a);
    paint(fitted, b);
    QCOMPARE(b.stopLine, qint16(32767));
    // The band at 32760 would end beyond 16 bits, so the one at 32724 is the last.
    QCOMPARE(limited.bands.size(), size_t(32724 / 36 + 1));
    QCOMPARE(tall.bands.size(), limited.bands.size());
    for (size_t i = 0; i < tall.bands.size(); ++i) {
        QCOMPARE(tall.bands[i].colour, limited.bands[i].colour);
        QCOMPARE(tall.bands[i].y1, limited.bands[i].y1);
        QCOMPARE(tall.bands[i].y2, limited.bands[i].y2);
        QCOMPARE(tall.bands[i].x2, 50000.0);
    }
    fitted.fillRest();
    QCOMPARE(tall.bands.size(), limited.bands.size() + 1);
    const Band& rest = tall.bands.back();
    QCOMPARE(rest.flags, 38);
    QCOMPARE(rest.y1, 32760.0);
    QCOMPARE(rest.y2, 40000.0);
    QCOMPARE(rest.x1, -1.0);
    QCOMPARE(rest.x2, 50000.0);
    QCOMPARE(rest.colour, limited.bands.back().colour);
}

void TestAppearanceGradient::fittedPositions_data() {
    QTest::addColumn<double>("size");
    QTest::addColumn<int>("position");
    QTest::newRow("design height") << 5175.0 << 5175;
    QTest::newRow("largest that fits") << 32767.0 << 32767;
    QTest::newRow("beyond 16 bits is limited") << 40000.0 << 32767;
    QTest::newRow("half rounds to even, down") << 2.5 << 2;
    QTest::newRow("half rounds to even, up") << 3.5 << 4;
    QTest::newRow("zero") << 0.0 << 0;
}

void TestAppearanceGradient::fittedPositions() {
    QFETCH(double, size);
    QFETCH(int, position);
    QCOMPARE(FittedSurface::fitted(size), qint16(position));
}

QTEST_MAIN(TestAppearanceGradient)
#include "test_appearance_gradient.moc"
