#include "AuditionPhrase.h"

namespace
{
    void addNote (juce::MidiMessageSequence& sequence, int note, double startBeats, double lengthBeats, float velocity)
    {
        // Released a little before the next beat, as a player lifts the key.
        const auto start = startBeats * AuditionPhrase::secondsPerBeat;
        const auto end = (startBeats + lengthBeats) * AuditionPhrase::secondsPerBeat - 0.02;
        sequence.addEvent (juce::MidiMessage::noteOn (1, note, velocity), start);
        sequence.addEvent (juce::MidiMessage::noteOff (1, note), end);
    }
}

juce::StringArray AuditionPhrase::getNames()
{
    return { "audition", "held16" };
}

juce::MidiMessageSequence AuditionPhrase::get (const juce::String& name)
{
    if (name == "audition")
        return audition();

    if (name == "held16")
        return heldNotes (16, 4.0);

    return {};
}

juce::MidiMessageSequence AuditionPhrase::audition()
{
    juce::MidiMessageSequence sequence;

    // A low C for two beats, then a rest.
    addNote (sequence, lowNote, 0.0, 2.0, 0.8f);

    // A major seventh chord on C3 for four beats, then a rest.
    for (const int note : { 48, 52, 55, 59 })
        addNote (sequence, note, 3.0, 4.0, 0.7f);

    // A melody in eighths and quarters, its last note held for three beats.
    const double melody[][3] = { { 60, 8.0, 0.5 }, { 62, 8.5, 0.5 }, { 64, 9.0, 0.5 }, { 67, 9.5, 0.5 },
                                 { 69, 10.0, 1.0 }, { 67, 11.0, 1.0 }, { 72, 12.0, 3.0 } };

    for (const auto& note : melody)
        addNote (sequence, (int) note[0], note[1], note[2], (int) note[0] == 72 ? 0.85f : 0.75f);

    // The wheel rises over the held note's first half and falls over its second, in the
    // steps of a keyboard's wheel.
    constexpr int steps = 32;
    const auto sweepStart = 12.0 * secondsPerBeat;
    const auto sweepLength = 3.0 * secondsPerBeat - 0.1;

    for (int step = 0; step <= 2 * steps; ++step)
    {
        const auto value = juce::roundToInt (127.0 * (step <= steps ? step : 2 * steps - step) / steps);
        sequence.addEvent (juce::MidiMessage::controllerEvent (1, 1, value), sweepStart + sweepLength * step / (2 * steps));
    }

    sequence.sort();
    sequence.updateMatchedPairs();
    return sequence;
}

juce::MidiMessageSequence AuditionPhrase::heldNotes (int numNotes, double seconds)
{
    juce::MidiMessageSequence sequence;

    // Spread over four octaves from C2, as two hands hold a wide chord.
    for (int i = 0; i < numNotes; ++i)
    {
        const auto note = 36 + (i * 48) / juce::jmax (1, numNotes);
        sequence.addEvent (juce::MidiMessage::noteOn (1, note, 0.8f), 0.0);
        sequence.addEvent (juce::MidiMessage::noteOff (1, note), seconds);
    }

    sequence.sort();
    sequence.updateMatchedPairs();
    return sequence;
}
