// Time per call of the smoothing engine's routines, and the allocations they make.
#include "cursor/Smoother.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<long> allocations{0};

void place(void *sink, float left, float top)
{
    *static_cast<volatile float *>(sink) = left + top;
}

template <typename F> double nsPerCall(long calls, F &&f)
{
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < calls; ++i) {
        f(i);
    }
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::nano>(end - start).count() / double(calls);
}
} // namespace

void *operator new(std::size_t size)
{
    ++allocations;
    if (void *p = std::malloc(size ? size : 1)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void *p) noexcept
{
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}

int main()
{
    constexpr long Calls = 20'000'000;
    volatile float sink = 0;
    Smoother s;
    s.setPlaceCallback(place, const_cast<float *>(&sink));
    s.SmoothLevel = 10;
    s.PageTop = 65;

    // Baseline in the same run: the placement callback alone.
    const double baseline =
        nsPerCall(Calls, [&](long i) { place(const_cast<float *>(&sink), float(i), 1.f); });

    long before = allocations;
    const double glide = nsPerCall(Calls, [&](long i) {
        s.CurX = int(i & 1023);
        s.CurY = int((i >> 3) & 511);
        s.GlideStep();
    });
    const long glideAllocations = allocations - before;

    before = allocations;
    const double build = nsPerCall(Calls / 10, [&](long i) {
        s.CurX = int(i & 1023);
        s.BuildStepTable();
    });
    const long buildAllocations = allocations - before;

    before = allocations;
    const double snap = nsPerCall(Calls / 10, [&](long i) {
        s.CurX = int(i & 1023);
        s.SnapCursor();
    });
    const long snapAllocations = allocations - before;

    std::printf("smoothing engine at level 10\n");
    std::printf("  placement callback alone   %7.2f ns/call (baseline)\n", baseline);
    std::printf("  GlideStep                  %7.2f ns/call  %5.1fx baseline  allocations %ld in "
                "%ld calls\n",
                glide, glide / baseline, glideAllocations, Calls);
    std::printf("  BuildStepTable             %7.2f ns/call  %5.1fx baseline  allocations %ld\n",
                build, build / baseline, buildAllocations);
    std::printf("  SnapCursor                 %7.2f ns/call  %5.1fx baseline  allocations %ld\n",
                snap, snap / baseline, snapAllocations);
    return glideAllocations == 0 ? 0 : 1;
}
