// Writes the demo song that the README renders: a four-chord progression with a melody,
// eight bars of 4/4 at 100 beats per minute.
#include <juce_audio_basics/juce_audio_basics.h>

#include <iostream>

namespace
{
    constexpr int ticksPerQuarter = 960;

    void addNote (juce::MidiMessageSequence& track, int note, double startBeats, double lengthBeats, float velocity)
    {
        const auto start = startBeats * ticksPerQuarter;
        const auto end = (startBeats + lengthBeats) * ticksPerQuarter - 10.0;
        track.addEvent (juce::MidiMessage::noteOn (1, note, velocity), start);
        track.addEvent (juce::MidiMessage::noteOff (1, note), end);
    }
}

int main (int argc, char* argv[])
{
    if (argc != 2)
    {
        std::cerr << "usage: make-demo-midi output.mid\n";
        return 2;
    }

    juce::MidiMessageSequence conductor, chords, melody;
    conductor.addEvent (juce::MidiMessage::tempoMetaEvent (600000), 0.0);        // 100 bpm
    conductor.addEvent (juce::MidiMessage::timeSignatureMetaEvent (4, 4), 0.0);

    // C, A minor, F, G, twice; each chord held for a bar.
    const int progression[4][4] = { { 48, 60, 64, 67 }, { 45, 57, 60, 64 }, { 41, 57, 60, 65 }, { 43, 55, 59, 62 } };

    for (int bar = 0; bar < 8; ++bar)
        for (const int note : progression[bar % 4])
            addNote (chords, note, bar * 4.0, 4.0, 0.55f);

    // The melody in beats: pitch, start, length.
    const double tune[][3] = {
        { 72, 0, 1 }, { 74, 1, 1 }, { 76, 2, 2 },
        { 76, 4, 1 }, { 74, 5, 0.5 }, { 72, 5.5, 0.5 }, { 69, 6, 2 },
        { 69, 8, 1 }, { 72, 9, 1 }, { 77, 10, 1.5 }, { 76, 11.5, 0.5 },
        { 74, 12, 3 }, { 71, 15, 1 },
        { 72, 16, 1 }, { 76, 17, 1 }, { 79, 18, 2 },
        { 81, 20, 1.5 }, { 79, 21.5, 0.5 }, { 76, 22, 2 },
        { 77, 24, 1 }, { 76, 25, 1 }, { 74, 26, 1 }, { 72, 27, 1 },
        { 74, 28, 2 }, { 71, 30, 1 }, { 72, 31, 1 } };

    for (const auto& note : tune)
        addNote (melody, (int) note[0], note[1], note[2], 0.8f);

    chords.updateMatchedPairs();
    melody.updateMatchedPairs();

    juce::MidiFile file;
    file.setTicksPerQuarterNote (ticksPerQuarter);
    file.addTrack (conductor);
    file.addTrack (chords);
    file.addTrack (melody);

    const juce::File output (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    output.deleteFile();
    juce::FileOutputStream stream (output);

    if (! stream.openedOk() || ! file.writeTo (stream))
    {
        std::cerr << "make-demo-midi: cannot write " << output.getFullPathName() << "\n";
        return 1;
    }

    return 0;
}
