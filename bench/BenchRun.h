#pragma once
// What every benchmark shares: a candidate and its reference timed alternately, run by run
// (candidate, reference, candidate, ...), so that load that comes and goes on a busy machine
// hits both; medians, bests and the ratio of medians; the machine's load and the vector
// extensions in use, printed with the figures; and the goal, met or not.
#include "platform/system/MemoryReuse.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Milliseconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Milliseconds one call of `work` takes.
inline double TimeMs(const std::function<void()>& work)
{
    const auto t0 = Clock::now();
    work();
    return Milliseconds(t0, Clock::now());
}

struct Timings {
    std::vector<double> ms;
    double median() const
    {
        if (ms.empty()) return 0.0;
        std::vector<double> v = ms;
        std::sort(v.begin(), v.end());
        const std::size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
    }
    double best() const { return ms.empty() ? 0.0 : *std::min_element(ms.begin(), ms.end()); }
};

struct Comparison {
    Timings candidate;
    Timings reference;
    double ratio() const { return reference.median() > 0 ? candidate.median() / reference.median() : 0.0; }
    double bestRatio() const { return reference.best() > 0 ? candidate.best() / reference.best() : 0.0; }
};

// A timed step: `prepare` (not timed, may be empty) and then `run` (timed). A run may time
// itself instead: `timed` returns its own milliseconds when set.
struct Step {
    std::function<void()> prepare;
    std::function<void()> run;
    std::function<double()> timed;
    double once() const
    {
        if (prepare) prepare();
        return timed ? timed() : TimeMs(run);
    }
};

// `runs` rounds of candidate then reference.
inline Comparison Alternate(int runs, const Step& candidate, const Step& reference)
{
    Comparison c;
    for (int r = 0; r < runs; ++r) {
        c.candidate.ms.push_back(candidate.once());
        c.reference.ms.push_back(reference.once());
    }
    return c;
}

// Several steps in turn, round after round; one Timings per step.
inline std::vector<Timings> Rotate(int runs, const std::vector<Step>& steps)
{
    std::vector<Timings> t(steps.size());
    for (int r = 0; r < runs; ++r)
        for (std::size_t i = 0; i < steps.size(); ++i) t[i].ms.push_back(steps[i].once());
    return t;
}

// The one-minute load average, as /proc/loadavg gives it.
inline std::string Load()
{
    std::ifstream in("/proc/loadavg");
    std::string one;
    in >> one;
    return one.empty() ? "?" : one;
}

// The vector extensions this processor offers KIVRA's kernels.
inline std::string VectorExtensions()
{
    std::string s;
    __builtin_cpu_init();
    if (__builtin_cpu_supports("sse2")) s += "SSE2";
    if (__builtin_cpu_supports("avx2")) s += " AVX2";
    if (__builtin_cpu_supports("fma")) s += " FMA";
    if (__builtin_cpu_supports("avx512f")) s += " AVX-512F";
    return s;
}

// Printed first: what is measured, the machine's load and extensions.
inline void Begin(const char* what)
{
    KeepPictureMemoryForReuse();   // as the program does at start
    std::printf("%s\n  load before %s; vector extensions: %s\n", what, Load().c_str(), VectorExtensions().c_str());
}

// Printed last.
inline void End() { std::printf("  load after %s\n", Load().c_str()); }

// "label  candidate ms (best) | reference ms (best) | ratio x (goal: at most G) met"
inline bool PrintComparison(const char* label, const Comparison& c, const char* referenceLabel, double goal)
{
    const bool met = c.ratio() <= goal;
    std::printf("  %-44s %9.2f ms (best %.2f)\n", label, c.candidate.median(), c.candidate.best());
    std::printf("  %-44s %9.2f ms (best %.2f)\n", referenceLabel, c.reference.median(), c.reference.best());
    std::printf("  ratio of medians %.2f, of bests %.2f (goal: at most %.2f) %s\n", c.ratio(), c.bestRatio(),
                goal, met ? "met" : "NOT MET");
    return met;
}

} // namespace bench
