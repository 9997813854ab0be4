#pragma once

#include "Processor/PluginProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>

class MainComponent;

// The plug-in's window: a fixed 820 x 640 component whose only child is the main component.
class QuenbyAudioProcessorEditor : public juce::AudioProcessorEditor,
                                   private juce::AudioProcessorListener
{
public:
    static constexpr int width = 820;
    static constexpr int height = 640;

    explicit QuenbyAudioProcessorEditor (QuenbyAudioProcessor&);
    ~QuenbyAudioProcessorEditor() override;

    QuenbyAudioProcessor& getProcessor() noexcept      { return quenbyProcessor; }
    MainComponent& getMainComponent() noexcept         { return *mainComponent; }

private:
    QuenbyAudioProcessor& quenbyProcessor;
    std::unique_ptr<MainComponent> mainComponent;

    // Hosts may report a parameter change on any thread, the audio thread included; off the
    // message thread the main component's timer picks the change up within 100 ms.
    void audioProcessorParameterChanged (juce::AudioProcessor*, int parameterIndex, float newValue) override;
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuenbyAudioProcessorEditor)
};
