#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <initializer_list>

// The editor's look: dark blue surfaces, white text, light blue knob arcs, flat title
// strips on the section frames and a cyan-on-blue display. Sets the framework's colours
// and redraws the tick box, rotary sliders, group frames and the table header; the static
// palette gives the colours and fonts the editor's own components paint with.
class Skin : public juce::LookAndFeel_V3
{
public:
    Skin();

    void drawTickBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h,
                      bool ticked, bool isEnabled, bool isMouseOver, bool isButtonDown) override;

    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height, float sliderPosition,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;

    void drawGroupComponentOutline (juce::Graphics&, int width, int height, const juce::String& text,
                                    const juce::Justification&, juce::GroupComponent&) override;

    void drawTableHeaderBackground (juce::Graphics&, juce::TableHeaderComponent&) override;
    void drawTableHeaderColumn (juce::Graphics&, juce::TableHeaderComponent&, const juce::String& columnName,
                                int columnId, int width, int height, bool isMouseOver, bool isMouseDown,
                                int columnFlags) override;

    static juce::Colour getBaseColour()                 { return juce::Colour (0xff2a3a57); }
    static juce::Colour getPageBackgroundColour()       { return getBaseColour(); }
    static juce::Colour getMidColour()                  { return juce::Colour (0xff344461); }
    static juce::Colour getPanelBackgroundColour()      { return getMidColour(); }
    static juce::Colour getHighlightColour()            { return juce::Colour (0xffbcc7d8); }
    static juce::Colour getTextColour()                 { return juce::Colour (0xffffffff); }
    static juce::Colour getScaleColour()                { return getTextColour(); }
    static juce::Colour getArcColour()                  { return juce::Colour (0xffadd8e6); }
    static juce::Colour getKnobColour()                 { return juce::Colour (0xff586c90); }
    static juce::Colour getKnobBackgroundColour()       { return juce::Colour (0xff20304d); }
    static juce::Colour getDisplayTextColour()          { return juce::Colour (0xff8fddf0); }
    static juce::Colour getDisplayBackgroundColour()    { return juce::Colour (0xff0008ae); }
    static juce::Colour getMeterLowColour()             { return juce::Colour (0xff1e9dff); }
    static juce::Colour getMeterMidColour()             { return juce::Colour (0xffff9628); }
    static juce::Colour getMeterHighColour()            { return juce::Colour (0xffff4040); }

    // Fixed-pitch, so the display's and the program list's columns stay aligned.
    static juce::Font getDisplayFont();

    // The heavy face of the logo.
    static juce::Font getLogoFont();

    // The framework's default font at 0.7 of its height.
    static juce::Font getSmallFont();

    // The first of the typeface names that is installed on this machine, else the fallback.
    // Without an installed face JUCE would draw one substitute for every name and ignore
    // bold, so each font names a face that the install script provides.
    static juce::String chooseTypeface (std::initializer_list<const char*> preferredNames,
                                        const juce::String& fallbackName);
};
