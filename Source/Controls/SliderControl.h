#pragma once

#include "Controls/PluginControl.h"

#include <juce_gui_basics/juce_gui_basics.h>

// A knob bound to a parameter. A vertical or horizontal drag moves it from where it was, the
// same distance for the whole range on every knob (up or right is more), ten times finer
// while Shift is held; a double-click returns it to its default; Ctrl-click sets the middle
// of its range; the mouse wheel steps it. While the mouse is on it or drags it, a bubble
// beside it shows its value. Its right-click menu also offers "Type a value…". A drag is
// one change gesture for the host.
class SliderControl : public juce::Slider,
                      public PluginControl
{
public:
    // The drag, in the knob's own units (pixels at 100 % zoom), that crosses its whole range.
    static constexpr double pixelsForFullRange = 200.0;
    static constexpr double fineFactor = 10.0;

    explicit SliderControl (const juce::String& componentName);
    ~SliderControl() override;

    // Takes what the musician typed in the knob's unit; false, changing nothing, when the text
    // names no value.
    bool applyTypedText (const juce::String& text);

    void mouseEnter (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void mouseDoubleClick (const juce::MouseEvent&) override;
    void valueChanged() override;
    void startedDragging() override;
    void stoppedDragging() override;

protected:
    juce::Component& asComponent() override     { return *this; }
    void addOwnMenuItems (juce::PopupMenu&) override;
    void showAndWrite (float storedValue) override;

private:
    void showBubble();
    void hideBubble();

    // Where the drag counts from: a point and the knob's place on its range then (0 ... 1,
    // not snapped to the knob's steps). Moved to the last point when Shift changes, and to
    // the end when the drag passes it, so the knob never jumps and turns back at once.
    bool dragging = false;
    bool fine = false;
    juce::Point<float> anchor, lastPosition;
    double anchorProportion = 0.0, lastProportion = 0.0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SliderControl)
};
