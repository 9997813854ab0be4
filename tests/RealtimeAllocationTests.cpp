#include "TestHelpers.h"

#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>

// This test binary replaces the global operator new and delete to count the calls made
// by one thread while it is marked as the audio thread. Other threads (the one switching
// programs) may allocate freely; the audio thread must not, once warmed up.
namespace
{
    thread_local bool countingThisThread = false;
    std::atomic<long> allocationsCounted { 0 };
    std::atomic<long> deallocationsCounted { 0 };

    void* allocate (std::size_t size, std::size_t alignment = 0)
    {
        if (countingThisThread)
            ++allocationsCounted;

        void* memory = nullptr;

        if (alignment > alignof (std::max_align_t))
            memory = std::aligned_alloc (alignment, (size + alignment - 1) / alignment * alignment);
        else
            memory = std::malloc (size == 0 ? 1 : size);

        return memory;
    }

    void release (void* memory) noexcept
    {
        if (memory != nullptr && countingThisThread)
            ++deallocationsCounted;

        std::free (memory);
    }

    void* allocateOrThrow (std::size_t size, std::size_t alignment = 0)
    {
        if (auto* memory = allocate (size, alignment))
            return memory;

        throw std::bad_alloc();
    }

    // Counts what the calling thread allocates and frees while the object lives.
    struct AudioThreadScope
    {
        AudioThreadScope()   { countingThisThread = true; }
        ~AudioThreadScope()  { countingThisThread = false; }
    };
}

void* operator new (std::size_t size)                                          { return allocateOrThrow (size); }
void* operator new[] (std::size_t size)                                        { return allocateOrThrow (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept          { return allocate (size); }
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept        { return allocate (size); }
void* operator new (std::size_t size, std::align_val_t alignment)              { return allocateOrThrow (size, (std::size_t) alignment); }
void* operator new[] (std::size_t size, std::align_val_t alignment)            { return allocateOrThrow (size, (std::size_t) alignment); }
void operator delete (void* memory) noexcept                                   { release (memory); }
void operator delete[] (void* memory) noexcept                                 { release (memory); }
void operator delete (void* memory, std::size_t) noexcept                      { release (memory); }
void operator delete[] (void* memory, std::size_t) noexcept                    { release (memory); }
void operator delete (void* memory, std::align_val_t) noexcept                 { release (memory); }
void operator delete[] (void* memory, std::align_val_t) noexcept               { release (memory); }
void operator delete (void* memory, std::size_t, std::align_val_t) noexcept    { release (memory); }
void operator delete[] (void* memory, std::size_t, std::align_val_t) noexcept  { release (memory); }

using namespace testing_helpers;

class RealtimeAllocation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        allocationsCounted = 0;
        deallocationsCounted = 0;
    }

    // A program with both oscillators, the filter and its envelope, the LFO (free, on the
    // amplitude) with its envelope, the delay and the reverb on, and a long release so that
    // many voices sound at once and new notes steal voices.
    static PluginProgram* createEverythingOnProgram (QuenbyAudioProcessor& processor, float waveType)
    {
        auto* program = processor.state->database->createProgram();
        using namespace ParameterIndex;
        const std::pair<ParameterIndex::Index, float> values[] = {
            { Osc1Active, 1.0f }, { Osc2Active, 1.0f }, { Osc1WaveType, waveType }, { Osc2WaveType, 3.0f },
            { Filter1Active, 1.0f }, { EnvFilter1Active, 1.0f }, { Filter1Type, 1.0f },
            { Lfo1Active, 1.0f }, { Lfo1Mode, 0.0f }, { Lfo1Target, 0.0f }, { Lfo1Mix, 0.5f }, { EnvLfo1Active, 1.0f },
            { Delay1Active, 1.0f }, { Reverb1Active, 1.0f },
            { EnvPitchOsc1Active, 1.0f }, { EnvAmpOsc1Release, 0.45f }, { EnvAmpOsc2Release, 0.45f }
        };

        for (const auto& [index, value] : values)
            program->getParameter (index)->setValue (value);

        return program;
    }

    // The same pattern of notes, wheel moves and block sizes in the warm-up and in the
    // measured part: chords and storms that make the synthesiser steal voices, single
    // notes, releases.
    static void fillBlockMidi (juce::MidiBuffer& midi, int block)
    {
        midi.clear();

        if (block % 16 == 0)
            for (int note = 0; note < 40; ++note)
                midi.addEvent (juce::MidiMessage::noteOn (1 + note % 3, 20 + (block / 16 * 7 + note * 3) % 90, 0.7f), note % 64);

        // A storm: every note at once, and more notes than voices, so that voices are stolen.
        if (block % 64 == 40)
            for (int note = 0; note < 160; ++note)
                midi.addEvent (juce::MidiMessage::noteOn (1 + note / 128, note % 128, 0.6f), 0);

        if (block % 3 == 0)
            midi.addEvent (juce::MidiMessage::noteOn (1, 60 + block % 12, 0.9f), 100);

        if (block % 3 == 1)
            midi.addEvent (juce::MidiMessage::noteOff (1, 60 + (block - 1) % 12), 10);

        if (block % 5 == 0)
            midi.addEvent (juce::MidiMessage::pitchWheel (1, (block * 997) % 16384), 200);

        if (block % 7 == 0)
            midi.addEvent (juce::MidiMessage::controllerEvent (1, 1, block % 128), 300);

        // A controller flood: a learned knob turned fast, an unlearned one, pressure and
        // program changes (left for the message thread).
        for (int i = 0; i < 48; ++i)
            midi.addEvent (juce::MidiMessage::controllerEvent (1, i % 2 == 0 ? 74 : 75, (block + i) % 128), i * 10);

        midi.addEvent (juce::MidiMessage::channelPressureChange (1, block % 128), 20);

        if (block % 9 == 0)
            midi.addEvent (juce::MidiMessage::programChange (1, block % 3), 30);
    }

    static int blockSizeFor (int block)
    {
        static const int sizes[] = { 512, 512, 256, 1, 511, 64, 512, 0 };
        return sizes[block % 8];
    }
};

// The counter itself: it sees allocations and frees on the marked thread only.
TEST_F (RealtimeAllocation, CounterSeesAllocationsOfTheMarkedThreadOnly)
{
    {
        const AudioThreadScope audioThread;
        auto* values = new std::vector<float> (100);
        delete values;
    }

    std::thread other ([] { std::vector<float> values (100); });
    other.join();

    EXPECT_EQ (allocationsCounted.load(), 2);
    EXPECT_EQ (deallocationsCounted.load(), 2);
}

TEST_F (RealtimeAllocation, SteadyStateProcessingAllocatesNothing)
{
    ProcessorFixture fixture (48000.0, 512);
    auto& processor = fixture.processor;
    PluginProgram* programs[] = { createEverythingOnProgram (processor, 0.0f), createEverythingOnProgram (processor, 1.0f),
                                  createEverythingOnProgram (processor, 2.0f) };

    // The second glides with the free LFO on the pitch, following the tempo, and a swung
    // free delay; the third has each voice's LFO on the filter, following the tempo.
    using namespace ParameterIndex;
    const std::pair<ParameterIndex::Index, float> glideAndPitch[] = {
        { CurrentPlayMode, (float) PlayMode::glide }, { Glide, 0.5f }, { Lfo1Target, (float) LfoTarget::pitch },
        { Lfo1WaveType, (float) LfoWave::pump }, { Lfo1Sync, 1.0f }, { Delay1Sync, 0.0f }, { Delay1Swing, 0.7f }
    };
    const std::pair<ParameterIndex::Index, float> filterTarget[] = {
        { Lfo1Target, (float) LfoTarget::filter }, { Lfo1Mode, (float) LfoMode::retrigger }, { Lfo1WaveType, (float) LfoWave::sawUp },
        { Lfo1Sync, 1.0f }
    };

    for (const auto& [index, value] : glideAndPitch)
        programs[1]->getParameter (index)->setValue (value);

    for (const auto& [index, value] : filterTarget)
        programs[2]->getParameter (index)->setValue (value);

    processor.switchToProgram (programs[0]);
    ASSERT_TRUE (processor.getMidiInput().bind (74, ParameterIndex::Filter1Cutoff));

    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;
    midi.ensureSize (16384);   // as hosts' wrappers do: room for every event of a block

    // A host whose tempo changes at every block: the synced delays and LFOs follow it.
    TestPlayHead playHead;
    fixture.play (playHead);

    // Called as JUCE's wrappers call it, under the callback lock.
    const auto processOneBlock = [&] (int block)
    {
        fillBlockMidi (midi, block);
        buffer.setSize (2, blockSizeFor (block), false, false, true);
        playHead.bpm = 30.0 + (block * 37) % 250;
        playHead.position += 512;

        const AudioThreadScope audioThread;
        const juce::ScopedLock lock (processor.getCallbackLock());
        processor.processBlock (buffer, midi);
    };

    constexpr int warmUpBlocks = 256;
    constexpr int measuredBlocks = 1200;

    for (int block = 0; block < warmUpBlocks; ++block)
        processOneBlock (block);

    EXPECT_EQ (fixture.settings().Reverb1Active, true);
    allocationsCounted = 0;
    deallocationsCounted = 0;

    // The editor on another thread: program switches, edits, and the panic button.
    std::atomic<bool> stop { false };
    std::atomic<int> switches { 0 };
    std::thread editor ([&]
    {
        for (int i = 0; ! stop; ++i)
        {
            processor.switchToProgram (programs[i % 3]);
            programs[i % 3]->getParameter (ParameterIndex::Osc1Gain)->setValue ((float) (i % 100) / 100.0f);
            processor.synthAudioSource->parametersChanged();

            if (i % 50 == 49)
                processor.stopAllNotes();

            ++switches;
            std::this_thread::sleep_for (std::chrono::microseconds (200));
        }
    });

    float peak = 0.0f;

    for (int block = warmUpBlocks; block < warmUpBlocks + measuredBlocks; ++block)
    {
        processOneBlock (block);
        peak = juce::jmax (peak, buffer.getMagnitude (0, buffer.getNumSamples()));
    }

    stop = true;
    editor.join();

    EXPECT_GT (switches.load(), 10);
    EXPECT_GT (peak, 0.0f);
    EXPECT_EQ (allocationsCounted.load(), 0);
    EXPECT_EQ (deallocationsCounted.load(), 0);
}

// What a host may do on the audio thread itself, in 64-sample blocks: switch programs, play
// storms of 128 note-ons in one block, and play more notes than there are voices. The notes
// are held, so every storm (on another channel than the last) steals all the voices.
TEST_F (RealtimeAllocation, StormsStealingAndProgramChangesOnTheAudioThreadAllocateNothing)
{
    ProcessorFixture fixture (48000.0, 64);
    auto& processor = fixture.processor;
    PluginProgram* programs[] = { createEverythingOnProgram (processor, 0.0f), createEverythingOnProgram (processor, 2.0f) };
    processor.switchToProgram (programs[0]);

    juce::AudioBuffer<float> buffer (2, 64);
    juce::MidiBuffer midi;
    midi.ensureSize (8192);
    constexpr int cycle = 32;

    const auto processOneBlock = [&] (int block)
    {
        const auto phase = block % cycle;
        const auto channel = 1 + block / cycle % 2;
        midi.clear();

        if (phase == 0)
            for (int note = 0; note < 128; ++note)
                midi.addEvent (juce::MidiMessage::noteOn (channel, note, 0.8f), note % 64);

        if (phase == 8)
            for (int note = 0; note < 8; ++note)
                midi.addEvent (juce::MidiMessage::noteOn (3, 40 + note * 5, 0.8f), note * 8);

        const AudioThreadScope audioThread;
        const juce::ScopedLock lock (processor.getCallbackLock());

        if (phase == 16)
            processor.switchToProgram (programs[block / cycle % 2]);

        processor.processBlock (buffer, midi);
    };

    constexpr int warmUpBlocks = 2 * cycle;
    constexpr int measuredBlocks = 10 * cycle + 4;   // ends just after a storm on channel 1

    for (int block = 0; block < warmUpBlocks; ++block)
        processOneBlock (block);

    allocationsCounted = 0;
    deallocationsCounted = 0;
    float peak = 0.0f;

    for (int block = warmUpBlocks; block < warmUpBlocks + measuredBlocks; ++block)
    {
        processOneBlock (block);
        peak = juce::jmax (peak, buffer.getMagnitude (0, buffer.getNumSamples()));
    }

    EXPECT_EQ (allocationsCounted.load(), 0);
    EXPECT_EQ (deallocationsCounted.load(), 0);
    EXPECT_GT (peak, 0.0f);
    EXPECT_EQ (processor.state->getCurrentProgram(), programs[1]);

    // Every voice was taken from a held note of the storm before.
    auto& synth = processor.synthAudioSource->getSynth();
    int onLastStormsChannel = 0;

    for (int i = 0; i < synth.getNumVoices(); ++i)
        onLastStormsChannel += synth.getVoice (i)->isPlayingChannel (1) ? 1 : 0;

    EXPECT_EQ (onLastStormsChannel, 128);
}
