#include "TestHelpers.h"

using testing_helpers::ProcessorFixture;
using testing_helpers::peakOf;

namespace
{
    class FixedPlayHead : public juce::AudioPlayHead
    {
    public:
        juce::Optional<PositionInfo> getPosition() const override
        {
            PositionInfo info;
            info.setBpm (bpm);
            info.setTimeSignature (TimeSignature { 3, 4 });
            info.setIsPlaying (true);
            return info;
        }

        double bpm = 90.0;
    };
}

TEST (Processor, ShowsTheHostAnInstrumentWithNoProgramsAndNoTail)
{
    ProcessorFixture f;
    auto& p = f.processor;
    EXPECT_EQ (p.getName(), "Quenby");
    EXPECT_TRUE (p.acceptsMidi());
    EXPECT_FALSE (p.producesMidi());
    EXPECT_FALSE (p.silenceInProducesSilenceOut());
    EXPECT_EQ (p.getTailLengthSeconds(), 0.0);
    EXPECT_EQ (p.getNumPrograms(), 0);
    EXPECT_EQ (p.getInputChannelName (0), "1");
    EXPECT_EQ (p.getOutputChannelName (1), "2");
    EXPECT_TRUE (p.hasEditor());

    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::mono());
    layout.outputBuses.add (juce::AudioChannelSet::mono());
    EXPECT_TRUE (p.checkBusesLayoutSupported (layout));

    layout.outputBuses.getReference (0) = juce::AudioChannelSet::stereo();
    EXPECT_FALSE (p.checkBusesLayoutSupported (layout));   // only {1, 1} and {2, 2}
}

TEST (Processor, DiscardsInputAudioAndEmptiesTheMidiBuffer)
{
    ProcessorFixture f;
    juce::AudioBuffer<float> buffer (2, 512);

    for (int c = 0; c < 2; ++c)
        juce::FloatVectorOperations::fill (buffer.getWritePointer (c), 1.0f, 512);

    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::controllerEvent (1, 7, 100), 10);
    f.processor.processBlock (buffer, midi);

    EXPECT_EQ (peakOf (buffer, 0), 0.0f);
    EXPECT_EQ (peakOf (buffer, 1), 0.0f);
    EXPECT_TRUE (midi.isEmpty());
}

TEST (Processor, RecordsThePlayHeadOrItsDefaults)
{
    ProcessorFixture f;
    f.render (512);

    auto position = f.processor.state->getPositionInfo();
    EXPECT_EQ (position.bpm, 120.0);
    EXPECT_EQ (position.timeSigNumerator, 4);
    EXPECT_EQ (position.timeSigDenominator, 4);
    EXPECT_EQ (position.timeInSamples, 0);
    EXPECT_EQ (position.ppqPosition, 0.0);
    EXPECT_FALSE (position.isPlaying);

    FixedPlayHead playHead;
    f.processor.setPlayHead (&playHead);
    f.render (512);
    position = f.processor.state->getPositionInfo();
    EXPECT_EQ (position.bpm, 90.0);
    EXPECT_EQ (position.timeSigNumerator, 3);
    EXPECT_TRUE (position.isPlaying);

    f.processor.setPlayHead (nullptr);
    f.render (512);
    EXPECT_EQ (f.processor.state->getPositionInfo().bpm, 120.0);

    // Without a tempo from the host, the default tempo.
    f.processor.setTempoWithoutHost (100.0);
    f.render (512);
    EXPECT_EQ (f.processor.state->getPositionInfo().bpm, 100.0);
}

// A synced delay of a beat and a synced LFO of a quarter note, in the block where the host
// reports the new tempo.
TEST (Processor, FollowsATempoChangeInTheBlockTheHostReportsIt)
{
    ProcessorFixture f;
    f.set ("Delay1Active", 1.0f);
    f.set ("Delay1Time", 0.5f);
    f.set ("Lfo1Active", 1.0f);
    f.set ("Lfo1Sync", 1.0f);
    f.set ("Lfo1Speed", 0.62f);

    testing_helpers::TestPlayHead playHead;
    f.play (playHead);

    for (const double bpm : { 120.0, 90.0, 140.0 })
    {
        playHead.bpm = bpm;
        f.render (f.blockSize);
        EXPECT_EQ (f.processor.getDelay().getDelaySamples(), 4 * (int) (60.0 / bpm * f.sampleRate * 0.25)) << bpm;
        EXPECT_DOUBLE_EQ (f.processor.synthAudioSource->getGlobalLfo().getRate(), bpm / 60.0) << bpm;
    }
}
