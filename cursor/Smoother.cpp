#include "cursor/Smoother.h"

#include <cmath>

std::int32_t Smoother::RoundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double result = lower;
    if (fraction > 0.5) {
        result = lower + 1.0;
    } else if (fraction == 0.5) {
        result = std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
    }
    return static_cast<std::int32_t>(result);
}

int Smoother::steps() const
{
    // The level box only ever sets 1..10; keeping 2N inside the table makes every path safe.
    if (SmoothLevel < 1) {
        return 2;
    }
    return SmoothLevel > MaxLevel ? 2 * MaxLevel : 2 * SmoothLevel;
}

void Smoother::BuildStepTable()
{
    HistX[2] = HistX[1];
    HistX[1] = HistX[0];
    HistX[0] = CurX;
    HistY[2] = HistY[1];
    HistY[1] = HistY[0];
    HistY[0] = CurY;

    const int steps = this->steps();
    const int last = RoundHalfEven(steps + 0.1);
    for (int i = 0; i <= last; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double w0 = (1.0 - t) * (1.0 - t) * 0.5;
        const double w1 = t * (1.0 - t) + 0.5;
        const double w2 = t * t * 0.5;
        StepX[i] = RoundHalfEven(HistX[1] * w1 + HistX[0] * w0 + HistX[2] * w2);
        StepY[i] = RoundHalfEven(HistY[1] * w1 + HistY[0] * w0 + HistY[2] * w2);
    }
    StepCounter = 0;
}

void Smoother::GlideStep()
{
    const int steps = this->steps();
    if (StepCounter == steps) {
        BuildStepTable();
    }
    const bool moving = HistX[1] != HistX[2] || HistX[0] != HistX[1] || HistY[0] != HistY[1] ||
                        HistY[1] != HistY[2];
    if (moving) {
        if (WasMoving == False) {
            StepCounter = 0;
        }
        WasMoving = True;
    } else {
        WasMoving = False;
    }
    placeAt(steps - StepCounter);
    ++StepCounter;
}

void Smoother::SnapCursor()
{
    HistX[0] = CurX;
    HistY[0] = CurY;
    for (int i = 0; i < HistorySize; ++i) {
        HistX[i] = HistX[0];
        HistY[i] = HistY[0];
    }
    for (int i = 0; i < StepTableSize; ++i) {
        StepX[i] = HistX[0];
        StepY[i] = HistY[0];
    }
    placeAt(steps() - StepCounter);
}

void Smoother::FollowPointer(bool buttonDown)
{
    if (!buttonDown) {
        SnapCursor();
        return;
    }
    const double dx = double(HistX[0]) - CurX;
    const double dy = double(HistY[0]) - CurY;
    if (std::sqrt(dx * dx + dy * dy) > 20.0) {
        GlideStep();
    }
}

void Smoother::placeAt(int k)
{
    // StepCounter is only ever 0..2N, but a caller that sets it by hand must not reach past the
    // table.
    if (k < 0) {
        k = 0;
    } else if (k >= StepTableSize) {
        k = StepTableSize - 1;
    }
    PicLeft = static_cast<float>(StepX[k] + 2);
    PicTop = static_cast<float>(StepY[k] - 1 + PageTop);
    if (place_) {
        place_(placeContext_, PicLeft, PicTop);
    }
}
