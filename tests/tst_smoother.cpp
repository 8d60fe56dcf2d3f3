// The smoothing engine against values worked out by hand from the B-spline formulas.
#include "cursor/Smoother.h"

#include <QTest>

#include <algorithm>
#include <random>
#include <vector>

namespace
{
struct Placed {
    float left;
    float top;
};

void record(void *context, float left, float top)
{
    static_cast<std::vector<Placed> *>(context)->push_back({left, top});
}

// The page x of a placement: the box stands 2 pixels right of its step point.
int stepX(const Placed &p)
{
    return int(p.left) - 2;
}
} // namespace

class TestSmoother : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void roundsHalvesToEven_data();
    void roundsHalvesToEven();
    void levelOneExample();
    void levelTenHasTwentySteps();
    void stepTableHalvesToEven();
    void flatHistoryKeepsCursorStill();
    void snapAtEndOfSegmentLandsOnIndexZero();
    void startOfMovementRestartsSegment();
    void farPointerAddsStepNearOneDoesNot();
    void randomTracesStayInsideTheirSamples();
};

void TestSmoother::roundsHalvesToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("3.5") << 3.5 << 4;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("2.4999") << 2.4999 << 2;
    QTest::newRow("2.5001") << 2.5001 << 3;
    QTest::newRow("-3.7") << -3.7 << -4;
}

void TestSmoother::roundsHalvesToEven()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(Smoother::RoundHalfEven(value), expected);
}

void TestSmoother::levelOneExample()
{
    Smoother s;
    std::vector<Placed> placed;
    s.setPlaceCallback(record, &placed);
    s.SmoothLevel = 1;
    s.PageTop = 65;
    // Samples (0,0), (10,0), (20,0), oldest to newest: 20 enters through BuildStepTable.
    s.HistX[1] = 0;
    s.HistX[0] = 10;
    s.HistY[0] = s.HistY[1] = s.HistY[2] = 0;
    s.CurX = 20;
    s.CurY = 0;
    s.BuildStepTable();
    QCOMPARE((std::vector<int>{s.HistX[0], s.HistX[1], s.HistX[2]}), (std::vector<int>{20, 10, 0}));
    QCOMPARE(s.StepX[0], 15);
    QCOMPARE(s.StepX[1], 10);
    QCOMPARE(s.StepX[2], 5);
    QCOMPARE(s.StepCounter, 0);

    s.GlideStep();
    s.GlideStep();
    QCOMPARE(placed.size(), size_t(2));
    QCOMPARE(stepX(placed[0]), 5);
    QCOMPARE(stepX(placed[1]), 10);
    // Top is step y - 1 + PageTop.
    QCOMPARE(placed[0].top, 64.0f);
    QCOMPARE(s.StepCounter, 2);

    // The next step samples the pointer again: a new segment starting where the last one ended.
    s.CurX = 30;
    s.GlideStep();
    QCOMPARE(s.HistX[0], 30);
    QCOMPARE(s.StepX[2], 15);
    QCOMPARE(stepX(placed[2]), 15);
}

void TestSmoother::levelTenHasTwentySteps()
{
    Smoother s;
    std::vector<Placed> placed;
    s.setPlaceCallback(record, &placed);
    s.SmoothLevel = 10;
    s.HistX[1] = 0;
    s.HistX[0] = 100;
    s.CurX = 200;
    s.BuildStepTable();
    // t = i / 20: x = 100 * (t(1-t) + 0.5) + 200 * (1-t)^2 / 2 + 0 * t^2 / 2 = 150 - 100 t.
    for (int i = 0; i <= 20; ++i) {
        QCOMPARE(s.StepX[i], 150 - 5 * i);
    }
    for (int i = 0; i < 20; ++i) {
        s.GlideStep();
    }
    QCOMPARE(placed.size(), size_t(20));
    for (int i = 0; i < 20; ++i) {
        QCOMPARE(stepX(placed[size_t(i)]), s.StepX[20 - i]);
    }
    QCOMPARE(s.StepCounter, 20);
}

void TestSmoother::stepTableHalvesToEven()
{
    Smoother s;
    s.SmoothLevel = 1;
    // Index 0 is the midpoint of the two newest samples: (2 + 3) / 2 = 2.5 -> 2.
    s.HistX[0] = 2;
    s.HistY[0] = 4;
    s.CurX = 3;
    s.CurY = 3;
    s.BuildStepTable();
    QCOMPARE(s.StepX[0], 2);
    // (3 + 4) / 2 = 3.5 -> 4.
    QCOMPARE(s.StepY[0], 4);
}

void TestSmoother::flatHistoryKeepsCursorStill()
{
    Smoother s;
    std::vector<Placed> placed;
    s.setPlaceCallback(record, &placed);
    s.SmoothLevel = 3;
    s.CurX = 40;
    s.CurY = 50;
    s.SnapCursor();
    for (int i = 0; i < 30; ++i) {
        s.GlideStep();
    }
    for (const Placed &p : placed) {
        QCOMPARE(p.left, 42.0f);
        QCOMPARE(p.top, 49.0f);
    }
    for (int i = 0; i < Smoother::StepTableSize; ++i) {
        QCOMPARE(s.StepX[i], 40);
        QCOMPARE(s.StepY[i], 50);
    }
    QCOMPARE(s.WasMoving, Smoother::False);
}

void TestSmoother::snapAtEndOfSegmentLandsOnIndexZero()
{
    Smoother s;
    std::vector<Placed> placed;
    s.setPlaceCallback(record, &placed);
    s.SmoothLevel = 5;
    s.PageTop = 65;
    s.StepCounter = 10;
    s.CurX = 7;
    s.CurY = 9;
    s.SnapCursor();
    QCOMPARE(placed.size(), size_t(1));
    QCOMPARE(placed[0].left, 9.0f);
    QCOMPARE(placed[0].top, 73.0f);
    QCOMPARE(s.StepCounter, 10); // a snap never moves the counter
    QCOMPARE(s.HistX[2], 7);
    QCOMPARE(s.StepY[20], 9); // the whole table, whatever the level
}

void TestSmoother::startOfMovementRestartsSegment()
{
    Smoother s;
    std::vector<Placed> placed;
    s.setPlaceCallback(record, &placed);
    s.SmoothLevel = 2;
    s.CurX = 0;
    s.CurY = 0;
    s.SnapCursor();
    s.GlideStep(); // still: WasMoving false
    s.GlideStep();
    QCOMPARE(s.StepCounter, 2);
    s.CurX = 40;
    s.BuildStepTable(); // the pointer moved: history no longer flat
    s.StepCounter = 2;  // mid-segment, as if the hook added a step
    s.GlideStep();
    QCOMPARE(s.WasMoving, Smoother::True);
    QCOMPARE(stepX(placed.back()), s.StepX[4]); // restarted at 2N
    QCOMPARE(s.StepCounter, 1);
    s.GlideStep(); // still moving: no second restart
    QCOMPARE(stepX(placed.back()), s.StepX[3]);
    QCOMPARE(s.StepCounter, 2);
}

void TestSmoother::farPointerAddsStepNearOneDoesNot()
{
    Smoother s;
    s.SmoothLevel = 2;
    s.CurX = 0;
    s.CurY = 0;
    s.StepCounter = 4;
    s.SnapCursor();
    // Exactly 20 pixels from the newest sample (12, 16): no step.
    s.CurX = 12;
    s.CurY = 16;
    s.FollowPointer(true);
    QCOMPARE(s.StepCounter, 4);
    QCOMPARE(s.HistX[0], 0);
    // Just beyond: a step, which here starts a new segment sampling the pointer.
    s.CurY = 17;
    s.FollowPointer(true);
    QCOMPARE(s.HistX[0], 12);
    QCOMPARE(s.HistY[0], 17);
    QCOMPARE(s.StepCounter, 1);
    // With the button up every event snaps, however near.
    s.CurX = 13;
    s.FollowPointer(false);
    QCOMPARE(s.HistX[2], 13);
    QCOMPARE(s.StepX[20], 13);
}

void TestSmoother::randomTracesStayInsideTheirSamples()
{
    std::mt19937 random(20261207);
    for (int level = 1; level <= Smoother::MaxLevel; ++level) {
        Smoother s;
        std::vector<Placed> placed;
        s.setPlaceCallback(record, &placed);
        s.SmoothLevel = level;
        s.PageTop = 65;
        s.StepCounter = 2 * level;
        s.SnapCursor();
        bool buttonDown = false;
        int x = 300, y = 300;
        for (int event = 0; event < 20000; ++event) {
            placed.clear();
            const int kind = int(random() % 10);
            if (kind < 6) { // a real move, sometimes a far one
                const int reach = kind == 0 ? 60 : 8;
                x += int(random() % (2 * reach + 1)) - reach;
                y += int(random() % (2 * reach + 1)) - reach;
                s.CurX = x;
                s.CurY = y;
                s.FollowPointer(buttonDown);
            } else if (kind < 9) {
                s.GlideStep();
            } else if (!buttonDown) {
                s.SnapCursor();
                buttonDown = true;
            } else {
                s.BuildStepTable();
                buttonDown = false;
                s.SnapCursor();
            }
            QVERIFY(s.StepCounter >= 0 && s.StepCounter <= 2 * level);
            const auto [minX, maxX] = std::minmax({s.HistX[0], s.HistX[1], s.HistX[2]});
            const auto [minY, maxY] = std::minmax({s.HistY[0], s.HistY[1], s.HistY[2]});
            for (const Placed &p : placed) {
                const int px = int(p.left) - 2, py = int(p.top) + 1 - s.PageTop;
                if (px < minX || px > maxX || py < minY || py > maxY) {
                    QFAIL(qPrintable(QStringLiteral("level %1 event %2: (%3,%4) outside samples")
                                         .arg(level)
                                         .arg(event)
                                         .arg(px)
                                         .arg(py)));
                }
            }
        }
    }
}

QTEST_APPLESS_MAIN(TestSmoother)
#include "tst_smoother.moc"
