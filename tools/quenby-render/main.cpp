#include "EngineBenchmarkCase.h"
#include "OfflineRenderer.h"
#include "RenderListings.h"
#include "Model/FactoryBank.h"

#include <juce_events/juce_events.h>

#include <iostream>

#include <unistd.h>

namespace
{
    // A progress bar on standard error, shown only once a render has taken about a second,
    // and only to a person: when standard error is not a terminal (a script, a log, a test)
    // the output stays as it is without one.
    class ProgressBar
    {
    public:
        void update (double proportion)
        {
            const auto now = juce::Time::getMillisecondCounterHiRes();

            if (! toTerminal || now - startTime < 1000.0 || now - lastDrawn < 100.0)
                return;

            lastDrawn = now;
            shown = true;
            const int width = 40;
            const auto filled = (int) (proportion * width);
            std::cerr << "\r[" << std::string ((size_t) filled, '#') << std::string ((size_t) (width - filled), ' ')
                      << "] " << (int) (proportion * 100.0) << "%" << std::flush;
        }

        void finish()
        {
            if (shown)
                std::cerr << "\r" << std::string (50, ' ') << "\r" << std::flush;
        }

    private:
        const bool toTerminal = ::isatty (STDERR_FILENO) != 0;
        const double startTime = juce::Time::getMillisecondCounterHiRes();
        double lastDrawn = 0.0;
        bool shown = false;
    };

    // --bench [CASE] [VOICES] [--seconds S] [--block N] [--lanes SET]: the real-time factors and block
    // times of the benchmark cases (all of them by default), one core, 3 s of audio each
    // after a second of warm-up.
    int runBenchmark (const juce::StringArray& arguments)
    {
        juce::String onlyCase;
        int onlyVoices = 0;
        double seconds = 3.0;

        int blockSize = 0;
        juce::String lanes;

        for (int i = arguments.indexOf ("--bench") + 1; i < arguments.size(); ++i)
        {
            if (arguments[i] == "--seconds" && i + 1 < arguments.size())
                seconds = juce::jlimit (0.01, 3600.0, arguments[++i].getDoubleValue());
            else if (arguments[i] == "--block" && i + 1 < arguments.size())
                blockSize = juce::jlimit (1, 8192, arguments[++i].getIntValue());
            else if (arguments[i] == "--lanes" && i + 1 < arguments.size())
                lanes = arguments[++i];
            else if (arguments[i].containsOnly ("0123456789"))
                onlyVoices = arguments[i].getIntValue();
            else
                onlyCase = arguments[i];
        }

        const juce::ScopedJuceInitialiser_GUI juceInitialiser;
        std::cout << "CPU: " << EngineBenchmarkCase::getCpuModel() << "; 48000 Hz, "
                  << (blockSize > 0 ? juce::String (blockSize) : juce::String ("512 (storm: 64)")) << "-sample blocks" << std::endl;   // before any error line

        for (const auto kind : EngineBenchmarkCase::allKinds)
        {
            const juce::String name (EngineBenchmarkCase::getName (kind));
            const bool idle = kind == EngineBenchmarkCase::Kind::idle;
            const bool storm = kind == EngineBenchmarkCase::Kind::storm;

            if (onlyCase.isNotEmpty() && onlyCase != name)
                continue;

            for (const int voices : { 8, 32, 64, 128 })
            {
                if (((idle || storm) && voices != 8) || (onlyVoices > 0 && ! idle && ! storm && voices != onlyVoices))
                    continue;

                std::unique_ptr<EngineBenchmarkCase> created;

                try
                {
                    created = std::make_unique<EngineBenchmarkCase> (kind, voices, blockSize, lanes);
                }
                catch (const std::invalid_argument& error)
                {
                    std::cerr << "quenby-render: " << error.what() << " (avx512, avx2 or off)" << std::endl;
                    return 1;
                }

                auto& benchmarkCase = *created;
                const auto measured = benchmarkCase.measure (seconds);
                const auto factor = measured.realTimeFactor;
                const auto voiceText = idle ? juce::String ("no notes") : storm ? juce::String ("128 notes") : juce::String (voices).paddedLeft (' ', 3) + " voices";
                const auto blockMicroseconds = 1.0e6 * benchmarkCase.getBlockSize() / EngineBenchmarkCase::sampleRate;

                std::cout << name.paddedRight (' ', 9) << voiceText.paddedRight (' ', 11) << juce::String (factor, 1).paddedLeft (' ', 8)
                          << "x real time (" << juce::String (100.0 / factor, 3) << " % of a core); blocks of "
                          << benchmarkCase.getBlockSize() << ": median " << juce::String (measured.medianBlockMicroseconds, 1)
                          << " us, slowest " << juce::String (measured.slowestBlockMicroseconds, 1) << " us ("
                          << juce::String (100.0 * measured.slowestBlockMicroseconds / blockMicroseconds, 1) << " % of the block's "
                          << juce::roundToInt (blockMicroseconds) << " us); voice lanes: " << benchmarkCase.getLanes() << std::endl;
            }
        }

        return 0;
    }
}

int main (int argc, char* argv[])
{
    juce::StringArray arguments;

    for (int i = 1; i < argc; ++i)
        arguments.add (juce::CharPointer_UTF8 (argv[i]));

    if (arguments.contains ("--help") || arguments.contains ("-h"))
    {
        std::cout << RenderOptions::getUsage();
        return 0;
    }

    if (arguments.contains ("--version"))
    {
        std::cout << "quenby-render " << QUENBY_VERSION << std::endl;
        return 0;
    }

    if (arguments.contains ("--bench"))
        return runBenchmark (arguments);

    juce::String error;
    const auto options = RenderOptions::parse (arguments, error);

    if (! options.has_value())
    {
        std::cerr << "quenby-render: " << error << " (quenby-render --help lists the options)" << std::endl;
        return 2;
    }

    const juce::ScopedJuceInitialiser_GUI juceInitialiser;

    if (options->listsOnly())
    {
        if (options->listParameters)
            std::cout << RenderListings::listParameters();

        if (options->listPrograms)
        {
            PluginDatabase database;
            FactoryBank::loadAtStart (database);

            for (const auto& warning : OfflineRenderer::describeDatabase (database))
                std::cerr << "quenby-render: warning: " << warning << std::endl;

            std::cout << RenderListings::listPrograms (database);
        }

        return 0;
    }

    OfflineRenderer renderer (*options);

    const auto printWarnings = [&renderer]
    {
        for (const auto& warning : renderer.getWarnings())
            std::cerr << "quenby-render: warning: " << warning << std::endl;
    };

    if (! options->rendersAudio())
    {
        const bool saved = renderer.saveStateOnly (error);
        printWarnings();

        if (! saved)
        {
            std::cerr << "quenby-render: " << error << std::endl;
            return 1;
        }

        std::cout << options->saveStateFile.getFullPathName() << ": state saved" << std::endl;
        return 0;
    }

    OfflineRenderer::Result result;
    ProgressBar progressBar;

    const bool rendered = renderer.render (result, error, [&] (double proportion) { progressBar.update (proportion); });
    progressBar.finish();
    printWarnings();

    if (! rendered)
    {
        std::cerr << "quenby-render: " << error << std::endl;
        return 1;
    }

    std::cout << OfflineRenderer::describe (result, options->outputFile) << std::endl;
    return 0;
}
