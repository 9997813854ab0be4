#include "TestHelpers.h"
#include "Processor/HostParameter.h"

#include <functional>

using namespace testing_helpers;

namespace
{
    using juce::MidiMessage;

    // What a host hears of the parameters: every value and every gesture.
    struct HostListener : public juce::AudioProcessorListener
    {
        void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float) override     { ++changes[index]; }
        void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override          {}
        void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override { ++gestures[index]; }

        std::map<int, int> changes, gestures;
    };

    struct MidiCase
    {
        const char* what;
        int channel;                         // the instance listens on: 0 for Omni
        std::vector<MidiMessage> messages;   // one block, in this order
        std::function<void (ProcessorFixture&, HostListener&)> expect;
    };

    float valueOf (ProcessorFixture& fixture, int index)
    {
        return fixture.processor.state->getCurrentProgram()->getParameter (index)->getValue();
    }

    int currentIndex (ProcessorFixture& fixture)
    {
        return fixture.processor.state->getCurrentProgramIndex();
    }
}

// Each case: a fresh instance with CC 74 on the cutoff, CC 20 on the filter type and CC 21
// on the filter switch, five programs in the list, listening on the case's channel; one
// block of the case's messages, then what the message thread does with them.
TEST (MidiInput, ControllersProgramChangesChannelsAndPressureDoWhatAMusicianExpects)
{
    using namespace ParameterIndex;
    const auto cc = [] (int channel, int number, int value) { return MidiMessage::controllerEvent (channel, number, value); };

    const MidiCase cases[] = {
        { "a learned controller moves its knob over the whole range", 0, { cc (1, 74, 127) },
          [] (auto& f, auto& host) { EXPECT_EQ (valueOf (f, Filter1Cutoff), 1.0f); EXPECT_EQ (host.changes[Filter1Cutoff], 1); EXPECT_EQ (host.gestures[Filter1Cutoff], 1); } },
        { "the block's last value counts", 0, { cc (1, 74, 127), cc (1, 74, 0) },
          [] (auto& f, auto&) { EXPECT_EQ (valueOf (f, Filter1Cutoff), 0.0f); } },
        { "a choice moves by steps", 0, { cc (1, 20, 64) },
          [] (auto& f, auto&) { EXPECT_EQ (valueOf (f, Filter1Type), 1.0f); } },
        { "a switch turns on at the top", 0, { cc (1, 21, 127) },
          [] (auto& f, auto&) { EXPECT_EQ (valueOf (f, Filter1Active), 1.0f); } },
        { "an unlearned controller moves nothing", 0, { cc (1, 75, 127) },
          [] (auto& f, auto& host) { EXPECT_EQ (valueOf (f, Filter1Cutoff), 0.3f); EXPECT_TRUE (host.changes.empty()); } },
        { "another channel's controller and note are ignored", 2, { cc (1, 74, 127), MidiMessage::noteOn (1, 60, 1.0f) },
          [] (auto& f, auto&) { EXPECT_EQ (valueOf (f, Filter1Cutoff), 0.3f); EXPECT_EQ (f.countActiveVoices(), 0); } },
        { "the chosen channel's are played", 2, { cc (2, 74, 0), MidiMessage::noteOn (2, 60, 1.0f) },
          [] (auto& f, auto&) { EXPECT_EQ (valueOf (f, Filter1Cutoff), 0.0f); EXPECT_EQ (f.countActiveVoices(), 1); } },
        { "a program change selects in list order, the note sounding on", 0, { MidiMessage::noteOn (1, 60, 1.0f), MidiMessage::programChange (1, 3) },
          [] (auto& f, auto&) { EXPECT_EQ (currentIndex (f), 3); EXPECT_EQ (f.countActiveVoices(), 1); } },
        { "a program change beyond the list is ignored", 0, { MidiMessage::programChange (1, 5) },
          [] (auto& f, auto&) { EXPECT_EQ (currentIndex (f), 1); } },
        { "bank select 0 keeps the first block", 0, { cc (1, 0, 0), cc (1, 32, 0), MidiMessage::programChange (1, 2) },
          [] (auto& f, auto&) { EXPECT_EQ (currentIndex (f), 2); } },
        { "bank 1 is programs 128 on", 0, { cc (1, 32, 1), MidiMessage::programChange (1, 0) },
          [] (auto& f, auto&) { EXPECT_EQ (currentIndex (f), 1); } },
        { "another channel's program change is ignored", 2, { MidiMessage::programChange (1, 3) },
          [] (auto& f, auto&) { EXPECT_EQ (currentIndex (f), 1); } },
        { "pressure brings the modulation in", 0, { MidiMessage::channelPressureChange (1, 100) },
          [] (auto& f, auto&) { EXPECT_DOUBLE_EQ (f.processor.synthAudioSource->getSynth().getModulationAmount(), 100.0 / 127.0); } },
        { "the higher of wheel and pressure wins", 0, { cc (1, 1, 120), MidiMessage::channelPressureChange (1, 30) },
          [] (auto& f, auto&) { EXPECT_DOUBLE_EQ (f.processor.synthAudioSource->getSynth().getModulationAmount(), 120.0 / 127.0); } },
        { "controllers light the lamp's counter", 0, { cc (1, 74, 1), cc (1, 75, 1), MidiMessage::noteOn (1, 60, 1.0f) },
          [] (auto& f, auto&) { EXPECT_EQ (f.processor.getMidiInput().getActivity(), 2u); } },
    };

    for (const auto& testCase : cases)
    {
        SCOPED_TRACE (testCase.what);
        ProcessorFixture fixture;
        auto& processor = fixture.processor;

        while (processor.state->database->getNumPrograms() < 5)
            processor.state->database->createProgram();

        auto& input = processor.getMidiInput();
        ASSERT_TRUE (input.bind (74, Filter1Cutoff) && input.bind (20, Filter1Type) && input.bind (21, Filter1Active));
        input.setChannel (testCase.channel);

        HostListener host;
        processor.addListener (&host);

        juce::MidiBuffer midi;

        for (const auto& message : testCase.messages)
            midi.addEvent (message, 0);

        fixture.render (64, midi);
        processor.handleMidiRequests();
        testCase.expect (fixture, host);
        processor.removeListener (&host);
    }
}

// The next controller binds, one that keeps its meaning is refused, a parameter and a
// controller are bound once, and a forgotten controller moves nothing.
TEST (MidiInput, LearningBindsTheNextControllerAndForgettingUnbindsIt)
{
    using namespace ParameterIndex;
    ProcessorFixture fixture;
    auto& input = fixture.processor.getMidiInput();
    const auto send = [&] (int number, int value)
    {
        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::controllerEvent (1, number, value), 0);
        fixture.render (64, midi);
        fixture.processor.handleMidiRequests();
    };

    for (const auto fixed : { 0, 1, 32, 64, 66, 120, 123, 127 })
        EXPECT_FALSE (input.bind (fixed, Filter1Cutoff)) << fixed;

    EXPECT_FALSE (input.bind (74, MidiLearn));

    input.startLearning (Filter1Cutoff);
    send (64, 127);
    EXPECT_EQ (input.takeRefusedController(), 64);
    EXPECT_EQ (input.getLearningParameter(), Filter1Cutoff);

    send (74, 10);
    EXPECT_EQ (input.getLearningParameter(), MidiInput::none);
    EXPECT_EQ (input.getController (Filter1Cutoff), 74);

    // The user's settings keep it for the next instance.
    EXPECT_EQ (QuenbyAudioProcessor().getMidiInput().getController (Filter1Cutoff), 74);

    send (74, 127);
    EXPECT_EQ (valueOf (fixture, Filter1Cutoff), 1.0f);

    // Learning the same controller for another parameter moves it there.
    input.startLearning (Filter1Resonance);
    send (74, 0);
    EXPECT_EQ (input.getController (Filter1Cutoff), MidiInput::none);
    EXPECT_EQ (input.getController (Filter1Resonance), 74);

    input.forget (Filter1Resonance);
    send (74, 127);
    EXPECT_EQ (valueOf (fixture, Filter1Resonance), 0.0f);
    EXPECT_EQ (valueOf (fixture, Filter1Cutoff), 1.0f);
}
