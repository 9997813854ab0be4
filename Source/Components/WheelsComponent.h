#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class QuenbyAudioProcessorEditor;

// The pitch wheel and the modulation wheel left of the on-screen keyboard. They mirror the
// synthesiser's wheel values; dragging either moves the synthesiser's wheel as a MIDI
// keyboard's would: the pitch wheel springs back when let go, the modulation wheel stays
// where it was left. Their labels, "Pitch" and "Mod", stand just below them. Message thread.
class WheelsComponent : public juce::Component,
                        public juce::TooltipClient
{
public:
    explicit WheelsComponent (QuenbyAudioProcessorEditor* editor);

    // The editor's timer passes the synthesiser's values; ignored while the user drags.
    void showSynthValues (int synthPitchValue, int synthModValue);

    juce::Rectangle<float> getPitchWheelArea() const;
    juce::Rectangle<float> getModWheelArea() const;

    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;

    // Says what the wheel under the mouse does.
    juce::String getTooltip() override;

    static constexpr int pitchCentre = 8192;
    enum DragMode { notDragging = 0, draggingPitch = 1, draggingMod = 2 };

    int pitchValue = pitchCentre;   // 0 ... 16384
    int modValue = 0;               // 0 ... 127, controller 1's values
    int modValueAtDragStart = 0;
    int dragMode = notDragging;
    bool followSynth = true;        // while true the editor's timer shows the synthesiser's values

private:
    QuenbyAudioProcessorEditor* editor;

    void sendPitchWheel (int value);
    void sendModWheel (int value);
    static void drawWheel (juce::Graphics&, float x, float width, float height, float position);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WheelsComponent)
};
