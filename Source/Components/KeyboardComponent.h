#pragma once

#include <juce_audio_utils/juce_audio_utils.h>

// The on-screen keyboard: seven octaves from C1 to C8 (middle C is C4, note 60), every key
// whole, the keys as wide as the component allows. No scroll buttons cover the first or last
// key. Keys played here go through the keyboard state into the synthesiser like incoming MIDI.
class KeyboardComponent : public juce::MidiKeyboardComponent,
                          public juce::SettableTooltipClient
{
public:
    static constexpr int lowestNote = 24, highestNote = 108;     // C1 ... C8

    explicit KeyboardComponent (juce::MidiKeyboardState& state);

    void resized() override;

    // The number of white keys from the lowest to the highest note.
    static int countWhiteKeys() noexcept;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KeyboardComponent)
};
