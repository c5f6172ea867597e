// How long the checks, the number conversions and the reader take per call.
#include "core/design.h"
#include "core/get_number.h"
#include "core/lbend_check.h"
#include "core/number_text.h"
#include "core/powers.h"
#include "core/uloop_check.h"
#include "files/input_file.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

using namespace dilatany;

void BM_ULoopCheck(benchmark::State &state)
{
    ULoopInputs in{159, 4.5f, 200, 1000, 1500, 700, 60, 0.00012f, 1150, 27, 90, 10};
    for (auto _ : state) {
        benchmark::DoNotOptimize(in);
        benchmark::DoNotOptimize(ULoopCheck(in));
    }
}
BENCHMARK(BM_ULoopCheck);

void BM_LBendCheck(benchmark::State &state)
{
    LBendInputs in{159, 4.5f, 200, 15, 5, 0.00012f, 1150, 27, 90, 10};
    for (auto _ : state) {
        benchmark::DoNotOptimize(in);
        benchmark::DoNotOptimize(LBendCheck(in));
    }
}
BENCHMARK(BM_LBendCheck);

// Realistic sections and loops: pipes of 20 to 1000 mm with walls of 2 to
// 15 % of the diameter, bends of 0.5 to 5 diameters, lengths, materials and
// temperatures as designers type them.
struct Realistic {
    std::vector<ULoopInputs> uloops;
    std::vector<LBendInputs> lbends;
};

const Realistic &RealisticInputs()
{
    static const Realistic sets = [] {
        Realistic r;
        std::mt19937_64 rng(2026);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        auto between = [&](double lo, double hi) { return static_cast<float>(lo + unit(rng) * (hi - lo)); };
        for (int n = 0; n < 4096; ++n) {
            const float D = between(20, 1000);
            const float s = D * between(0.02, 0.15);
            const float R = D * between(0.5, 5);
            const bool steel = rng() % 2 == 0;
            const float alpha = steel ? 0.000012f : 0.00012f;
            const float E = steel ? 210000.0f : 1150.0f;
            const float f = steel ? 235.0f : 27.0f;
            r.uloops.push_back({D, s, R, between(200, 5000), between(500, 5000), between(300, 5000), between(10, 200),
                                alpha, E, f, between(40, 130), between(-10, 25)});
            r.lbends.push_back({D, s, R, between(1, 40), between(1, 40), alpha, E, f, between(40, 130),
                                between(-10, 25)});
        }
        return r;
    }();
    return sets;
}

// The precise power's share of the checks, as a counter.
void CountPrecisePowers(benchmark::State &state, std::uint64_t before)
{
    state.counters["precise_per_check"] = benchmark::Counter(
        static_cast<double>(PrecisePowerCalls() - before) / static_cast<double>(state.iterations()));
}

void BM_ULoopCheckRealistic(benchmark::State &state)
{
    const std::vector<ULoopInputs> &inputs = RealisticInputs().uloops;
    const std::uint64_t before = PrecisePowerCalls();
    std::size_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(ULoopCheck(inputs[n++ % inputs.size()]));
    CountPrecisePowers(state, before);
}
BENCHMARK(BM_ULoopCheckRealistic);

void BM_LBendCheckRealistic(benchmark::State &state)
{
    const std::vector<LBendInputs> &inputs = RealisticInputs().lbends;
    const std::uint64_t before = PrecisePowerCalls();
    std::size_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(LBendCheck(inputs[n++ % inputs.size()]));
    CountPrecisePowers(state, before);
}
BENCHMARK(BM_LBendCheckRealistic);

// The precise power alone (libquadmath's powq), for comparison.
void BM_PrecisePower(benchmark::State &state)
{
    double lambda = 0.15081535;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lambda);
        benchmark::DoNotOptimize(PrecisePower(lambda, -2.0 / 3.0));
    }
}
BENCHMARK(BM_PrecisePower);

void BM_GetNumber(benchmark::State &state)
{
    const std::string_view texts[] = {"0.00012", "1150", "4.5", "1,2E-05", "abc"};
    std::size_t n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetNumber(texts[n++ % 5]));
    }
}
BENCHMARK(BM_GetNumber);

void BM_NumberText(benchmark::State &state)
{
    float v = 5.3253942f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(v);
        benchmark::DoNotOptimize(NumberText(v, 2));
    }
}
BENCHMARK(BM_NumberText);

void BM_ParseDefaultFile(benchmark::State &state)
{
    const std::string bytes = std::get<std::string>(files::EncodeInputData(DefaultTexts(Shape::ULoop)));
    for (auto _ : state)
        benchmark::DoNotOptimize(files::ParseInputData(bytes, Shape::ULoop, "u.dat"));
}
BENCHMARK(BM_ParseDefaultFile);

void BM_ReadDefaultFile(benchmark::State &state)
{
    const std::string path = DILATANY_EXAMPLES "/u-default.dat";
    for (auto _ : state)
        benchmark::DoNotOptimize(files::ReadInputFile(path, Shape::ULoop, path));
}
BENCHMARK(BM_ReadDefaultFile);

// The solver's promise: 20 000 grid values of one input in at most 10 ms of
// computing. L2 of the default U-loop over 0 .. 199 990 mm in steps of 10.
void BM_Solve20000(benchmark::State &state)
{
    const InputTexts texts = DefaultTexts(Shape::ULoop);
    const InputField &field = *design::FindInput(Shape::ULoop, "L2");
    const design::Grid grid = std::get<design::Grid>(design::MakeGrid("0", "199990", "10"));
    for (auto _ : state)
        benchmark::DoNotOptimize(design::PassingRuns(texts, field, grid, std::nullopt));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(grid.size()));
}
BENCHMARK(BM_Solve20000)->Unit(benchmark::kMillisecond);

void BM_SolveLBend20000(benchmark::State &state)
{
    const InputTexts texts = DefaultTexts(Shape::LBend);
    const InputField &field = *design::FindInput(Shape::LBend, "L2");
    const design::Grid grid = std::get<design::Grid>(design::MakeGrid("0.001", "20", "0.001"));
    for (auto _ : state)
        benchmark::DoNotOptimize(design::PassingRuns(texts, field, grid, std::nullopt));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(grid.size()));
}
BENCHMARK(BM_SolveLBend20000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
