#pragma once

#include "Model/ParameterTable.h"

#include <juce_events/juce_events.h>

#include <array>
#include <bitset>

class QuenbyAudioProcessor;

// Does on the message thread what MIDI asked for on the audio thread (see MidiInput): a
// program change makes that program current through the program manager; a controller
// caught while learning is bound and kept in the user's settings; and every parameter a
// controller moved is told to the host as the window's changes are, inside a change
// gesture that begins with the first move and ends once the controller has rested for
// gestureEndMilliseconds, so a host can record the movement as automation. The host's
// listeners include an open window, which so shows the new value.
//
// A timer runs it every intervalMilliseconds while a message loop runs; the renderer, which
// runs none, calls dispatch between blocks.
class MidiDispatcher : private juce::Timer
{
public:
    static constexpr int intervalMilliseconds = 20;
    static constexpr double gestureEndMilliseconds = 300.0;

    explicit MidiDispatcher (QuenbyAudioProcessor& processor);

    // Ends the gestures still open.
    ~MidiDispatcher() override;

    void dispatch (double nowMilliseconds = juce::Time::getMillisecondCounterHiRes());

private:
    void timerCallback() override;
    void endGesture (int parameterIndex);

    QuenbyAudioProcessor& processor;
    std::array<double, ParameterIndex::count> lastMove {};
    std::bitset<ParameterIndex::count> gestureOpen;

    JUCE_DECLARE_NON_COPYABLE (MidiDispatcher)
};
