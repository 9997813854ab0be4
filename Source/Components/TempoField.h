#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The tempo label of the top bar: "BPM    " and the tempo. Where no host reports a tempo
// (the standalone app) it is also a field: a vertical drag changes the tempo, a whole beat
// per minute for every two pixels (a tenth with Shift), and a double-click opens it for
// typing. Message thread.
class TempoField : public juce::Label
{
public:
    static constexpr double lowestTempo = 20.0, highestTempo = 300.0;

    TempoField();

    // Whether the musician may set the tempo here, and what hears of a new one.
    void setAdjustable (bool shouldBeAdjustable);
    std::function<void (double)> onTempoChosen;

    // Shows a tempo, unless the field is being typed in.
    void showTempo (double bpm);

    // The tempo a text names ("128", "128.5", "BPM 90"), within the field's range; none
    // for a text without a number.
    static std::optional<double> readTempo (const juce::String& text);

    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;

protected:
    void editorShown (juce::TextEditor*) override;
    void textWasEdited() override;

private:
    void choose (double bpm);

    bool adjustable = false;
    double tempo = 120.0, tempoAtDragStart = 120.0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TempoField)
};
