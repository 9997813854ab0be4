#pragma once

#include "Components/SectionPanel.h"

class Tuning;

// The tuning panel of the voice page: the scale's description (or "Equal temperament"), a
// button that opens a file chooser for a Scala scale (.scl) or keyboard mapping (.kbm), and
// one that returns to equal temperament. The main component loads what is chosen and says
// on the display why a file was refused. Message thread.
class TuningComponent : public SectionPanel,
                        private juce::Button::Listener
{
public:
    explicit TuningComponent (QuenbyAudioProcessorEditor* editor);
    ~TuningComponent() override;

    // Shows the description of a tuning.
    void showTuning (const Tuning& tuning);

    void resized() override;

    juce::TextButton textButtonLoad { "Load..." };
    juce::TextButton textButtonEqual { "Equal" };

private:
    void buttonClicked (juce::Button*) override;

    std::unique_ptr<juce::FileChooser> fileChooser;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TuningComponent)
};
