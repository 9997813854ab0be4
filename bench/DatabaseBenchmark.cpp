// The program database at 1 000, 10 000 and 50 000 programs: loading the file, listing it
// as --list-programs does, saving it, and the browser's search as the musician types.
//
//   quenby_database_bench [Google Benchmark options]
//   quenby_database_bench --write-database N FOLDER   writes FOLDER/.config/VelmoraDatabase.xml
//                                                      with N programs, for bench/database-scaling.sh
#include "BenchmarkMain.h"
#include "EngineBenchmarkCase.h"
#include "Model/PluginDatabase.h"
#include "Model/ProgramListView.h"
#include "RenderListings.h"

#include <benchmark/benchmark.h>

#include <juce_events/juce_events.h>

namespace
{
    // Programs as musicians keep them: values in the editor's steps, a few banks and
    // categories, names with numbers.
    void fillDatabase (PluginDatabase& database, int numPrograms)
    {
        const char* const banks[] = { "User", "Factory", "Pads", "Basses", "Leads" };
        const char* const categories[] = { "Pad", "Bass", "Lead", "Pluck", "Keys", "FX" };
        juce::Random random (numPrograms);

        while (database.getNumPrograms() < numPrograms)
        {
            auto* program = database.createProgram();
            const auto n = database.getNumPrograms();
            program->setTexts ({ { juce::String (categories[n % 6]) + " " + juce::String (n), banks[n % 5], categories[n % 6],
                                   n % 2 == 0 ? "Warm" : "Bright", n % 3 == 0 ? "Mono" : "Poly" } });

            for (int i = 0; i < program->getNumParameters(); ++i)
                program->getParameter (i)->setValue ((float) random.nextInt (101) / 100.0f);
        }
    }

    juce::File databaseFolder()
    {
        return PluginDatabase::getDatabaseFile().getParentDirectory();
    }

    void writeDatabase (int numPrograms)
    {
        databaseFolder().createDirectory();
        PluginDatabase database;
        fillDatabase (database, numPrograms);
        database.save();
    }

    void setFileCounters (benchmark::State& state)
    {
        state.counters["programs"] = (double) state.range (0);
        state.counters["file_MB"] = (double) PluginDatabase::getDatabaseFile().getSize() / 1.0e6;
    }

    void Load (benchmark::State& state)
    {
        writeDatabase ((int) state.range (0));

        for (auto _ : state)
        {
            PluginDatabase database;
            database.load();
            benchmark::DoNotOptimize (database.getNumPrograms());
        }

        setFileCounters (state);
    }

    void List (benchmark::State& state)
    {
        writeDatabase ((int) state.range (0));
        PluginDatabase database;
        database.load();

        for (auto _ : state)
            benchmark::DoNotOptimize (RenderListings::listPrograms (database).length());

        setFileCounters (state);
    }

    void Save (benchmark::State& state)
    {
        PluginDatabase database;
        fillDatabase (database, (int) state.range (0));

        for (auto _ : state)
            database.save();

        setFileCounters (state);
    }

    // One key press: the search grows by a letter and the rows are filtered again.
    void Search (benchmark::State& state)
    {
        PluginDatabase database;
        fillDatabase (database, (int) state.range (0));

        std::vector<ProgramListView::Entry> entries;

        for (int i = 0; i < database.getNumPrograms(); ++i)
            entries.push_back ({ database.getProgram (i), database.getProgram (i)->getTexts() });

        ProgramListView view;
        view.setEntries (std::move (entries));
        view.setSort (0, true);
        const juce::String typed ("warm pad 1");
        int length = 0;

        for (auto _ : state)
        {
            length = length % typed.length() + 1;
            view.setSearch (typed.substring (0, length));
            benchmark::DoNotOptimize (view.getNumRows());
        }

        state.counters["programs"] = (double) state.range (0);
    }
}

BENCHMARK (Load)->Arg (1000)->Arg (10000)->Arg (50000)->Unit (benchmark::kMillisecond);
BENCHMARK (List)->Arg (1000)->Arg (10000)->Arg (50000)->Unit (benchmark::kMillisecond);
BENCHMARK (Save)->Arg (1000)->Arg (10000)->Arg (50000)->Unit (benchmark::kMillisecond);
BENCHMARK (Search)->Arg (1000)->Arg (10000)->Arg (50000)->Unit (benchmark::kMillisecond);

int main (int argc, char** argv)
{
    // --write-database: a database in another home, for measuring whole processes.
    if (argc == 4 && juce::String (argv[1]) == "--write-database")
    {
        const juce::File home (juce::File::getCurrentWorkingDirectory().getChildFile (argv[3]));
        ::setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);
        ::setenv ("XDG_CONFIG_HOME", home.getChildFile (".config").getFullPathName().toRawUTF8(), 1);
        const juce::ScopedJuceInitialiser_GUI juceInitialiser;
        writeDatabase (juce::String (argv[2]).getIntValue());
        return 0;
    }

    return runBenchmarks (argc, argv);
}
