#include "DatabaseFileHelpers.h"
#include "TestHelpers.h"
#include "editor/EditorFixture.h"
#include "Model/ParameterTable.h"

#include <atomic>
#include <chrono>
#include <thread>

using namespace testing_helpers;

using Concurrency = DatabaseFileTest;

// Host parameter sets and state restores, database reloads and saves, and rendering on
// three threads at once, the rendering under the callback lock as JUCE's wrappers call it.
// Build with -DQUENBY_TSAN=ON to have ThreadSanitizer watch it.
TEST_F (Concurrency, HostCallsDatabaseReloadsAndRenderingRunTogether)
{
    ProcessorFixture fixture;
    auto& processor = fixture.processor;
    processor.saveDatabase();

    juce::MemoryBlock chunk;
    processor.getStateInformation (chunk);

    // Gains, detune, pan, LFO, delay and reverb on and their times and sizes, volume, play mode.
    using namespace ParameterIndex;
    const int hostIndices[] = { Osc1Gain, Osc1Detune, Osc1Pan, Osc2Gain, Lfo1Active, Lfo1Speed, Delay1Active, Delay1Time,
                                Reverb1Active, Reverb1Feedback, MasterVolume, CurrentPlayMode };
    std::atomic<bool> stop { false };
    std::atomic<int> hostRounds { 0 }, reloads { 0 }, blocks { 0 };
    std::atomic<bool> outputFinite { true };

    std::thread host ([&]
    {
        juce::Random random (1);

        while (! stop)
        {
            for (const auto index : hostIndices)
                processor.setParameter (index, index == CurrentPlayMode ? (float) random.nextInt (2) : random.nextFloat());

            processor.getParameters()[2]->setValue (random.nextFloat());
            processor.getParameter (ParameterIndex::MasterVolume);

            juce::MemoryBlock saved;
            processor.getStateInformation (saved);
            processor.setStateInformation (chunk.getData(), (int) chunk.getSize());
            ++hostRounds;
        }
    });

    std::thread editor ([&]
    {
        while (! stop)
        {
            processor.reloadDatabase();

            if (reloads % 4 == 0)
                processor.saveDatabase();

            ++reloads;
        }
    });

    std::thread audio ([&]
    {
        juce::AudioBuffer<float> buffer (2, fixture.blockSize);
        juce::MidiBuffer midi;

        for (int block = 0; ! stop; ++block)
        {
            midi.clear();

            if (block % 8 == 0)
                midi.addEvent (juce::MidiMessage::noteOn (1, 48 + block % 24, 0.8f), 0);
            else if (block % 8 == 5)
                midi.addEvent (juce::MidiMessage::noteOff (1, 48 + (block - 5) % 24), 0);

            {
                const juce::ScopedLock lock (processor.getCallbackLock());
                processor.processBlock (buffer, midi);
            }

            for (int channel = 0; channel < 2; ++channel)
                for (int i = 0; i < buffer.getNumSamples(); ++i)
                    if (! std::isfinite (buffer.getSample (channel, i)))
                        outputFinite = false;

            ++blocks;
        }
    });

    std::this_thread::sleep_for (std::chrono::seconds (3));
    stop = true;
    host.join();
    editor.join();
    audio.join();

    EXPECT_GT (hostRounds.load(), 0);
    EXPECT_GT (reloads.load(), 0);
    EXPECT_GT (blocks.load(), 0);
    EXPECT_TRUE (outputFinite.load());

    // The current program is one of the database's, holding the chunk's identifier.
    ASSERT_GE (processor.state->getCurrentProgramIndex(), 0);
    EXPECT_NE (processor.state->database->findProgram (processor.state->getCurrentProgram()->getId()), nullptr);
}

// The open editor's timer, full refreshes and pitch-wheel drags on the message thread, while
// a host thread sets parameters and the audio thread renders notes and bends: the editor
// reads only what the other threads publish for it.
TEST_F (Concurrency, EditorTimerRunsWhileTheHostSetsParametersAndTheAudioThreadRenders)
{
    ProcessorFixture fixture;
    auto& processor = fixture.processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
    auto& mainComponent = dynamic_cast<QuenbyAudioProcessorEditor&> (*editor).getMainComponent();

    const juce::ScopedValueSetter<bool> debugMode (DisplayComponent::debugMode, true);
    const juce::ScopedValueSetter<int> hovered (DisplayComponent::hoveredParameter, ParameterIndex::Osc1Gain);
    std::atomic<bool> stop { false };
    std::atomic<int> hostRounds { 0 }, blocks { 0 };

    std::thread host ([&]
    {
        juce::Random random (2);

        for (; ! stop; ++hostRounds)
            for (const auto index : { ParameterIndex::Osc1Gain, ParameterIndex::Filter1Cutoff, ParameterIndex::MasterVolume })
                processor.setParameter (index, random.nextFloat());
    });

    std::thread audio ([&]
    {
        juce::AudioBuffer<float> buffer (2, fixture.blockSize);
        juce::MidiBuffer midi;

        for (int block = 0; ! stop; ++block, ++blocks)
        {
            const int note = 48 + (block / 2) % 24;
            midi.clear();
            midi.addEvent (block % 2 == 0 ? juce::MidiMessage::noteOn (1, note, 0.8f) : juce::MidiMessage::noteOff (1, note), 0);

            const juce::ScopedLock lock (processor.getCallbackLock());
            processor.processBlock (buffer, midi);
        }
    });

    auto& wheels = *mainComponent.wheelComponent;
    const juce::Point<float> pitchWheel { 6.0f, 50.0f };
    const auto until = juce::Time::getMillisecondCounter() + 2000;

    for (int round = 0; juce::Time::getMillisecondCounter() < until; ++round)
    {
        pumpMessages (5);                  // the timer ticks, and also more often than it would:
        mainComponent.timerCallback();

        if (round % 10 == 0)
        {
            mainComponent.updateAll();
            SyntheticMouse::press (wheels, pitchWheel);
            SyntheticMouse::dragTo (wheels, pitchWheel, pitchWheel.translated (0.0f, -20.0f));
            SyntheticMouse::release (wheels, pitchWheel, pitchWheel.translated (0.0f, -20.0f));
        }
    }

    stop = true;
    host.join();
    audio.join();

    EXPECT_GT (hostRounds.load(), 0);
    EXPECT_GT (blocks.load(), 0);
    EXPECT_TRUE (mainComponent.labelBpm->getText().startsWith ("BPM"));
}

// The window's program buttons on the message thread while a host thread sets parameters,
// saves and restores state, and the audio thread renders: every list and text change meets
// the host's calls under the callback lock, and a deleted program is gone before it is freed.
TEST_F (Concurrency, WindowProgramButtonsRunWhileTheHostSetsParametersAndRestoresState)
{
    ProcessorFixture fixture;
    auto& processor = fixture.processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
    auto& main = dynamic_cast<QuenbyAudioProcessorEditor&> (*editor).getMainComponent();
    auto& database = *processor.state->database;
    ASSERT_EQ (database.getNumPrograms(), 2);
    const auto firstId = database.getProgram (0)->getId(), secondId = database.getProgram (1)->getId();

    // The first program, which Delete refuses, and one the database does not know yet.
    juce::MemoryBlock firstChunk, unknownChunk;
    processor.switchToProgram (database.getProgram (0));
    processor.getStateInformation (firstChunk);
    processor.state->getCurrentProgram()->setId ("from-the-host");
    processor.getStateInformation (unknownChunk);
    processor.state->getCurrentProgram()->setId (firstId);

    std::atomic<bool> stop { false };
    std::atomic<int> hostRounds { 0 }, blocks { 0 };

    std::thread host ([&]
    {
        juce::Random random (3);

        for (; ! stop; ++hostRounds)
        {
            processor.setParameter (random.nextInt (ParameterIndex::count), random.nextFloat());
            const auto& chunk = hostRounds % 2 == 0 ? firstChunk : unknownChunk;
            processor.setStateInformation (chunk.getData(), (int) chunk.getSize());
            juce::MemoryBlock saved;
            processor.getStateInformation (saved);
        }
    });

    std::thread audio ([&]
    {
        juce::AudioBuffer<float> buffer (2, fixture.blockSize);
        juce::MidiBuffer midi;

        for (int block = 0; ! stop; ++block, ++blocks)
        {
            midi.clear();
            midi.addEvent (juce::MidiMessage::noteOn (1, 48 + block % 24, 0.8f), 0);
            const juce::ScopedLock lock (processor.getCallbackLock());
            processor.processBlock (buffer, midi);
        }
    });

    int rounds = 0;

    for (const auto until = juce::Time::getMillisecondCounter() + 2000; juce::Time::getMillisecondCounter() < until; ++rounds)
    {
        for (auto* button : { main.textButtonNew.get(), main.textButtonCopy.get(), main.textButtonReset.get(),
                              main.textButtonDelete.get(), main.textButtonDelete.get() })
            main.buttonClicked (button);

        main.timerCallback();

        if (rounds % 20 == 0)
            main.buttonClicked (main.textButtonSave.get());
    }

    stop = true;
    host.join();
    audio.join();

    EXPECT_GT (rounds, 0);
    EXPECT_GT (hostRounds.load(), 0);
    EXPECT_GT (blocks.load(), 0);

    // Nothing the buttons did not delete is lost; every program has its own identifier.
    ASSERT_GE (processor.state->getCurrentProgramIndex(), 0);
    EXPECT_EQ (database.getProgram (0)->getId(), firstId);
    EXPECT_EQ (database.getProgram (1)->getId(), secondId);
    juce::StringArray ids;

    for (int i = 0; i < database.getNumPrograms(); ++i)
        EXPECT_TRUE (ids.addIfNotAlreadyThere (database.getProgram (i)->getId())) << i;

    processor.saveDatabase();
    EXPECT_EQ (QuenbyAudioProcessor().state->database->getNumPrograms(), database.getNumPrograms());
}
