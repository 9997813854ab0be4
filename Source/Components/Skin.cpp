#include "Components/Skin.h"

#include <juce_audio_utils/juce_audio_utils.h>

Skin::Skin()
{
    using namespace juce;

    const auto base = getBaseColour(), highlight = getHighlightColour(), text = getTextColour();

    setColour (TextButton::buttonColourId, base);
    setColour (TextButton::buttonOnColourId, highlight);
    setColour (TextButton::textColourOnId, text);
    setColour (TextButton::textColourOffId, text);
    setColour (Label::textColourId, text);
    setColour (Slider::trackColourId, text);
    setColour (Slider::textBoxOutlineColourId, text);
    setColour (Slider::textBoxTextColourId, text);
    setColour (Slider::textBoxBackgroundColourId, base);
    setColour (Slider::backgroundColourId, base);
    setColour (Slider::rotarySliderFillColourId, getArcColour());
    setColour (Slider::rotarySliderOutlineColourId, getPageBackgroundColour());
    setColour (TextEditor::textColourId, text);
    setColour (TextEditor::outlineColourId, text);
    setColour (TextEditor::backgroundColourId, base);
    setColour (TextEditor::highlightedTextColourId, text);
    setColour (TextEditor::highlightColourId, highlight);
    setColour (CaretComponent::caretColourId, Colours::white);
    setColour (GroupComponent::textColourId, text);
    setColour (GroupComponent::outlineColourId, text);
    setColour (ListBox::textColourId, text);
    setColour (ListBox::outlineColourId, text);
    setColour (ListBox::backgroundColourId, base);
    setColour (ToggleButton::textColourId, text);
    setColour (ComboBox::backgroundColourId, base);
    setColour (ComboBox::textColourId, text);
    setColour (ComboBox::outlineColourId, text);
    setColour (ComboBox::arrowColourId, highlight);
    setColour (PopupMenu::highlightedBackgroundColourId, base);
    setColour (PopupMenu::highlightedTextColourId, text);
    setColour (MidiKeyboardComponent::keyDownOverlayColourId, Colour (0x801e9dff));
    setColour (MidiKeyboardComponent::mouseOverKeyOverlayColourId, Colour (0x80bcc7d8));
    setColour (MidiKeyboardComponent::upDownButtonBackgroundColourId, highlight);
    setColour (MidiKeyboardComponent::upDownButtonArrowColourId, base);
}

juce::String Skin::chooseTypeface (std::initializer_list<const char*> preferredNames, const juce::String& fallbackName)
{
    const auto installed = juce::Font::findAllTypefaceNames();

    for (const auto* name : preferredNames)
        if (installed.contains (name))
            return name;

    return fallbackName;
}

juce::Font Skin::getDisplayFont()
{
    static const auto name = chooseTypeface ({ "Lucida Console", "DejaVu Sans Mono" },
                                             juce::Font::getDefaultMonospacedFontName());
    return juce::Font (name, 11.0f, juce::Font::plain);
}

juce::Font Skin::getLogoFont()
{
    static const auto name = chooseTypeface ({ "Arial Black", "DejaVu Sans" }, juce::Font::getDefaultSansSerifFontName());
    return juce::Font (name, 28.0f, juce::Font::bold);
}

juce::Font Skin::getSmallFont()
{
    const juce::Font defaultFont;
    return defaultFont.withHeight (defaultFont.getHeight() * 0.7f);
}

// The box is designed on a 9 x 9 grid, scaled to the given size and moved to x, y.
void Skin::drawTickBox (juce::Graphics& g, juce::Component&, float x, float y, float w, float h,
                        bool ticked, bool isEnabled, bool, bool isButtonDown)
{
    using namespace juce;

    const auto toBox = AffineTransform::scale (w / 9.0f, h / 9.0f).translated (x, y);
    const Colour lightGrey (0xffd3d3d3);

    Path box;
    box.addRoundedRectangle (0.0f, 2.0f, 6.0f, 6.0f, 1.0f);

    g.setColour (isEnabled ? Colours::white.withAlpha (isButtonDown ? 0.3f : 0.1f) : lightGrey.withAlpha (0.1f));
    g.fillPath (box, toBox);

    g.setColour (Colours::white.withAlpha (0.6f));
    g.strokePath (box, PathStrokeType (0.9f), toBox);

    if (ticked)
    {
        Path tick;
        tick.startNewSubPath (1.5f, 3.0f);
        tick.lineTo (3.0f, 6.0f);
        tick.lineTo (6.0f, 0.0f);

        g.setColour (isEnabled ? Colours::white : lightGrey);
        g.strokePath (tick, PathStrokeType (2.5f), toBox);
    }
}

void Skin::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPosition,
                             float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider)
{
    using namespace juce;

    const auto radius = (float) jmin (width / 2, height / 2);
    const auto centreX = (float) x + (float) width * 0.5f;
    const auto centreY = (float) y + (float) height * 0.5f;
    const auto left = centreX - radius, top = centreY - radius, diameter = radius * 2.0f;
    const auto angle = rotaryStartAngle + sliderPosition * (rotaryEndAngle - rotaryStartAngle);

    g.setColour (getKnobBackgroundColour());
    g.fillEllipse (left, top, diameter, diameter);

    const auto arcColour = slider.isEnabled()
        ? slider.findColour (Slider::rotarySliderFillColourId).withAlpha (slider.isMouseOverOrDragging() ? 1.0f : 0.7f)
        : Colour (0x80808080);

    Path arc;
    arc.addPieSegment (left, top, diameter, diameter, rotaryStartAngle, angle, 0.7f);
    g.setColour (arcColour);
    g.fillPath (arc);

    // The knob covers the inner part of the ring: the arc shows from 0.8 of the radius out.
    g.setGradientFill (ColourGradient (getBaseColour(), 0.0f, 0.0f, getKnobColour(), (float) width, (float) height, true));
    g.fillEllipse (centreX - radius * 0.8f, centreY - radius * 0.8f, radius * 1.6f, radius * 1.6f);

    Path pointer;
    pointer.addLineSegment ({ 0.0f, 0.0f, 0.0f, -radius * 0.7f * 1.1f }, 1.0f);
    g.setColour (arcColour);
    g.fillPath (pointer, AffineTransform::rotation (angle).translated (centreX, centreY));
}

void Skin::drawGroupComponentOutline (juce::Graphics& g, int width, int height, const juce::String& text,
                                      const juce::Justification&, juce::GroupComponent&)
{
    juce::ignoreUnused (height);

    g.setColour (getHighlightColour());
    g.fillRect (0, 0, width, 16);

    g.setColour (getBaseColour());
    g.setFont (juce::Font (12.0f, juce::Font::bold));
    g.drawText (text, 3, 2, width - 6, 12, juce::Justification::centredLeft, true);
}

void Skin::drawTableHeaderBackground (juce::Graphics& g, juce::TableHeaderComponent& header)
{
    const auto area = header.getLocalBounds().toFloat();

    g.setColour (getDisplayTextColour());
    g.drawLine (area.getX(), area.getBottom() - 1.0f, area.getRight(), area.getBottom() - 1.0f, 1.0f);
}

void Skin::drawTableHeaderColumn (juce::Graphics& g, juce::TableHeaderComponent&, const juce::String& columnName,
                                  int, int width, int height, bool, bool, int)
{
    g.setColour (getDisplayTextColour());
    g.setFont (getDisplayFont());
    g.drawFittedText (columnName, 4, 0, juce::jmax (0, width - 8), juce::jmax (0, height),
                      juce::Justification::centredLeft, 1, 0.7f);
}
