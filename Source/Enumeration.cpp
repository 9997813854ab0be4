#include "Enumeration.h"

namespace
{
    const char* const parameterNames[Enumeration::numParameters] =
    {
        "Osc1Active", "Osc1WaveType", "Osc1Gain", "Osc1Detune", "Osc1Pan", "Osc1Offset",
        "Osc1PitchRange", "Osc1PitchEnvRange", "Osc1PitchEnvDown",
        "Osc2Active", "Osc2WaveType", "Osc2Gain", "Osc2Detune", "Osc2Pan", "Osc2Offset",
        "Osc2PitchRange", "Osc2PitchEnvRange", "Osc2PitchEnvDown",
        "Filter1Active", "Filter1Type", "Filter1Cutoff", "Filter1Resonance",
        "Lfo1Active", "Lfo1WaveType", "Lfo1Speed", "Lfo1Mode", "Lfo1Sync", "Lfo1Target", "Lfo1Mix",
        "Delay1Active", "Delay1Sync", "Delay1Mix", "Delay1Time", "Delay1Feedback", "Delay1Swing",
        "Reverb1Active", "Reverb1Mix", "Reverb1Damping", "Reverb1Feedback",
        "EnvAmpOsc1Attack", "EnvAmpOsc1Decay", "EnvAmpOsc1Sustain", "EnvAmpOsc1Release",
        "EnvAmpOsc2Attack", "EnvAmpOsc2Decay", "EnvAmpOsc2Sustain", "EnvAmpOsc2Release",
        "EnvPitchOsc1Active", "EnvPitchOsc1Attack", "EnvPitchOsc1Decay", "EnvPitchOsc1Sustain", "EnvPitchOsc1Release",
        "EnvPitchOsc2Active", "EnvPitchOsc2Attack", "EnvPitchOsc2Decay", "EnvPitchOsc2Sustain", "EnvPitchOsc2Release",
        "EnvFilter1Active", "EnvFilter1Attack", "EnvFilter1Decay", "EnvFilter1Sustain", "EnvFilter1Release",
        "EnvLfo1Active", "EnvLfo1Attack", "EnvLfo1Decay", "EnvLfo1Sustain", "EnvLfo1Release",
        "MasterVolume", "MidiLearn", "Glide", "CurrentPlayMode"
    };
}

// Filled exactly once, on the first lookup from whichever thread comes first: the C++
// runtime serialises the initialisation of a function-local static.
const juce::HashMap<int, juce::String>& Enumeration::getTable()
{
    struct NameTable
    {
        NameTable()
        {
            for (int index = 0; index < numParameters; ++index)
                names.set (index, parameterNames[index]);
        }

        juce::HashMap<int, juce::String> names;
    };

    static const NameTable table;
    return table.names;
}

juce::String Enumeration::getName (int index)
{
    const auto& table = getTable();

    if (table.contains (index))
        return table[index];

    return "Undefined";
}

int Enumeration::getNumEntries()
{
    return getTable().size();
}
