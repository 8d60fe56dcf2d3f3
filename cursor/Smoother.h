#pragma once

#include <cstdint>

// The drawn cursor's path engine: pointer history, quadratic B-spline step table and the glide.
// Pure C++ so that it can be tested to the pixel and benchmarked without a window.
class Smoother
{
public:
    // 16-bit flags of the original engine: true is -1, false is 0.
    using Flag = std::int16_t;
    static constexpr Flag True = -1;
    static constexpr Flag False = 0;

    static constexpr int HistorySize = 3;
    static constexpr int StepTableSize = 21; // indices 0..2N, N at most 10
    static constexpr int MaxLevel = 10;

    // Called whenever the drawn cursor is placed: client pixels of the browser window.
    using PlaceFn = void (*)(void *context, float left, float top);

    std::int32_t SmoothLevel = 0;
    std::int32_t StepCounter = 0;
    std::int32_t CurX = 100;
    std::int32_t CurY = 100;
    std::int32_t HistX[HistorySize] = {1, 1, 1};
    std::int32_t HistY[HistorySize] = {1, 1, 1};
    std::int32_t StepX[StepTableSize] = {};
    std::int32_t StepY[StepTableSize] = {};
    std::int32_t PageTop = 0;
    Flag WasMoving = False;

    // Where the drawn cursor stands now (its stored layout position until first placed).
    float PicLeft = 568.0f;
    float PicTop = 80.0f;

    void setPlaceCallback(PlaceFn fn, void *context)
    {
        place_ = fn;
        placeContext_ = context;
    }

    void BuildStepTable();
    void GlideStep();
    void SnapCursor();
    // The mouse filter's update for a real pointer event at (CurX, CurY): with the button held,
    // a pointer more than 20 pixels from the newest sample adds a step; with it up, a snap.
    void FollowPointer(bool buttonDown);

    // Nearest integer, halves to the even neighbour, independent of the FPU rounding mode.
    static std::int32_t RoundHalfEven(double value);

private:
    int steps() const;
    void placeAt(int k);

    PlaceFn place_ = nullptr;
    void *placeContext_ = nullptr;
};
