#pragma once

#include "EngineBenchmarkCase.h"

#include <benchmark/benchmark.h>

#include <juce_events/juce_events.h>

#include <cstdlib>

// What every benchmark program's main does: HOME and XDG_CONFIG_HOME point at a temporary
// folder while it runs (the processor reads and writes its program database there, never
// in the user's), the machine's CPU is named, and the benchmarks run with JUCE set up.
inline int runBenchmarks (int argc, char** argv)
{
    const auto home = juce::File::createTempFile ("quenby-bench-home");
    home.createDirectory();
    ::setenv ("XDG_CONFIG_HOME", home.getChildFile (".config").getFullPathName().toRawUTF8(), 1);
    ::setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);   // JUCE finds ~/.config through HOME

    benchmark::AddCustomContext ("cpu_model", EngineBenchmarkCase::getCpuModel().toStdString());
    benchmark::Initialize (&argc, argv);

    {
        const juce::ScopedJuceInitialiser_GUI juceInitialiser;
        benchmark::RunSpecifiedBenchmarks();
    }

    benchmark::Shutdown();
    home.deleteRecursively();
    return 0;
}
