// How long the checks, the number conversions and the reader take per call.
#include "core/design.h"
#include "core/get_number.h"
#include "core/lbend_check.h"
#include "core/number_text.h"
#include "core/uloop_check.h"
#include "files/input_file.h"

#include <benchmark/benchmark.h>

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
