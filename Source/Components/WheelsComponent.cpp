#include "Components/WheelsComponent.h"
#include "Components/PluginEditor.h"
#include "Components/Skin.h"

WheelsComponent::WheelsComponent (QuenbyAudioProcessorEditor* editorToUse)
    : editor (editorToUse)
{
}

void WheelsComponent::showSynthValues (int synthPitchValue, int synthModValue)
{
    if (! followSynth || (synthPitchValue == pitchValue && synthModValue == modValue))
        return;

    pitchValue = synthPitchValue;
    modValue = synthModValue;
    repaint();
}

juce::Rectangle<float> WheelsComponent::getPitchWheelArea() const
{
    return { 0.0f, 0.0f, (float) getWidth() / 2.5f, (float) getHeight() };
}

juce::Rectangle<float> WheelsComponent::getModWheelArea() const
{
    const auto wheelWidth = (float) getWidth() / 2.5f;
    return { 1.5f * wheelWidth, 0.0f, wheelWidth, (float) getHeight() };
}

void WheelsComponent::sendPitchWheel (int value)
{
    if (editor != nullptr)
        editor->getProcessor().synthAudioSource->setPitchWheel (value);
}

void WheelsComponent::sendModWheel (int value)
{
    if (editor != nullptr)
        editor->getProcessor().synthAudioSource->setModWheel (value);
}

juce::String WheelsComponent::getTooltip()
{
    if (getModWheelArea().contains (getMouseXYRelative().toFloat()))
        return "Mod wheel: drag it up to bring in the LFO (the voice page's LFO Wheel says how much); it stays where you leave it";

    return "Pitch wheel: drag up or down to bend the notes; it springs back when you let go";
}

void WheelsComponent::mouseDown (const juce::MouseEvent& e)
{
    dragMode = notDragging;

    if (getPitchWheelArea().contains (e.position))
    {
        dragMode = draggingPitch;
        followSynth = false;
    }
    else if (getModWheelArea().contains (e.position))
    {
        dragMode = draggingMod;
        modValueAtDragStart = modValue;
        followSynth = false;
    }
}

void WheelsComponent::mouseDrag (const juce::MouseEvent& e)
{
    if (dragMode == draggingPitch)
    {
        // 64 pixels up bends fully up, 64 down fully down.
        pitchValue = juce::jlimit (0, 16384, (64 - e.getDistanceFromDragStartY()) * 128);
        repaint();
        sendPitchWheel (pitchValue);
    }
    else if (dragMode == draggingMod && getHeight() > 0)
    {
        // Absolute: the top is 127, the bottom 0.
        modValue = juce::jlimit (0, 127, 127 - (int) (127.0f / (float) getHeight() * e.position.y));
        repaint();
        sendModWheel (modValue);
    }
}

// The pitch wheel springs back to the centre. Only a pitch drag sends the centre to the
// synthesiser, so touching the modulation wheel leaves a bend held on a hardware wheel.
void WheelsComponent::mouseUp (const juce::MouseEvent&)
{
    if (dragMode == draggingPitch)
    {
        pitchValue = pitchCentre;
        sendPitchWheel (pitchValue);
    }

    repaint();
    dragMode = notDragging;
    modValueAtDragStart = 0;
    followSynth = true;
}

void WheelsComponent::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::white);
    g.fillAll (Skin::getPageBackgroundColour());

    const auto pitchArea = getPitchWheelArea(), modArea = getModWheelArea();

    g.setColour (juce::Colours::black);
    g.fillRect (pitchArea);
    g.fillRect (modArea);

    drawWheel (g, pitchArea.getX(), pitchArea.getWidth(), pitchArea.getHeight(), (float) pitchValue / 16384.0f);
    drawWheel (g, modArea.getX(), modArea.getWidth(), modArea.getHeight(), (float) modValue / 127.0f);
}

// A knob of a fifth of the height slides in the black slot, 2 pixels in from its edges;
// position 1 is the top.
void WheelsComponent::drawWheel (juce::Graphics& g, float x, float width, float height, float position)
{
    const juce::Colour grey40 (0xff282828), grey50 (0xff323232), grey100 (0xff646464);
    const auto knobHeight = height / 5.0f;
    const auto travel = (1.0f - position) * (height - knobHeight);

    const juce::Rectangle<float> upper (x + 2.0f, 2.0f, width - 4.0f, travel);
    auto knob = juce::Rectangle<float> (x + 2.0f, travel + 2.0f, width - 4.0f, knobHeight);
    const juce::Rectangle<float> lower (x + 2.0f, travel + knobHeight, width - 4.0f, (height - knobHeight) * position - 2.0f);

    if (travel + 2.0f + knobHeight > height - 4.0f)
        knob.setHeight (height - (travel + 2.0f) - 2.0f);

    const auto fillWithGradient = [&g] (juce::Rectangle<float> area, juce::Colour top, juce::Colour bottom)
    {
        if (area.isEmpty())
            return;

        g.setGradientFill (juce::ColourGradient (top, 0.0f, area.getY(), bottom, 0.0f, area.getBottom(), false));
        g.fillRect (area);
    };

    fillWithGradient (upper, grey40, grey100);
    fillWithGradient (knob, grey40, grey100);
    fillWithGradient (lower, grey40, grey50);
}
