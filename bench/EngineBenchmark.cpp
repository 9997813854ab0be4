// Real-time factors of the processor: audio seconds rendered per CPU second, at 48 kHz
// in 512-sample blocks, with a fixed number of voices kept sounding. The cases are those
// of quenby-render --bench (EngineBenchmarkCase).
#include "BenchmarkMain.h"
#include "EngineBenchmarkCase.h"

#include <benchmark/benchmark.h>

#include <juce_events/juce_events.h>

namespace
{
    void renderCase (benchmark::State& benchState, EngineBenchmarkCase::Kind kind)
    {
        const auto voices = (int) benchState.range (0);
        EngineBenchmarkCase benchmarkCase (kind, voices);

        for (auto _ : benchState)
        {
            benchmarkCase.renderBlock();
            benchmark::DoNotOptimize (benchmarkCase.firstSample());
        }

        const double blockSeconds = benchmarkCase.getBlockSize() / EngineBenchmarkCase::sampleRate;
        benchState.counters["realtime_x"] = benchmark::Counter (blockSeconds, benchmark::Counter::kIsIterationInvariantRate);
        benchState.counters["voices"] = kind == EngineBenchmarkCase::Kind::idle ? 0 : kind == EngineBenchmarkCase::Kind::storm ? 128 : voices;
    }

    void Light (benchmark::State& state)      { renderCase (state, EngineBenchmarkCase::Kind::light); }
    void Standard (benchmark::State& state)   { renderCase (state, EngineBenchmarkCase::Kind::standard); }
    void Heavy (benchmark::State& state)      { renderCase (state, EngineBenchmarkCase::Kind::heavy); }
    void Idle (benchmark::State& state)       { renderCase (state, EngineBenchmarkCase::Kind::idle); }
    void Vibrato (benchmark::State& state)    { renderCase (state, EngineBenchmarkCase::Kind::vibrato); }
    void Wobble (benchmark::State& state)     { renderCase (state, EngineBenchmarkCase::Kind::wobble); }
    void Storm (benchmark::State& state)      { renderCase (state, EngineBenchmarkCase::Kind::storm); }
}

BENCHMARK (Light)->Arg (8)->Arg (32)->Arg (128)->Unit (benchmark::kMicrosecond);
BENCHMARK (Standard)->Arg (8)->Arg (32)->Arg (64)->Arg (128)->Unit (benchmark::kMicrosecond);
BENCHMARK (Heavy)->Arg (8)->Arg (32)->Arg (128)->Unit (benchmark::kMicrosecond);
BENCHMARK (Idle)->Arg (0)->Unit (benchmark::kMicrosecond);
BENCHMARK (Vibrato)->Arg (64)->Unit (benchmark::kMicrosecond);
BENCHMARK (Wobble)->Arg (64)->Unit (benchmark::kMicrosecond);
BENCHMARK (Storm)->Arg (0)->Unit (benchmark::kMicrosecond);

int main (int argc, char** argv)
{
    return runBenchmarks (argc, argv);
}
