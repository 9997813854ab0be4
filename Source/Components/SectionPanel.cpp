#include "Components/SectionPanel.h"
#include "Components/DecibelScaleComponent.h"
#include "Components/LevelMeterComponent.h"
#include "Components/Skin.h"
#include "Controls/ComboBoxControl.h"
#include "Controls/SliderControl.h"
#include "Controls/ToggleButtonControl.h"
#include "Model/ParameterValue.h"

#include <cmath>
#include <cstring>

namespace
{
    using PanelTable::Kind;

    std::unique_ptr<juce::Component> createSlider (const PanelTable::Child& row)
    {
        auto slider = std::make_unique<SliderControl> (row.member);
        slider->setSliderStyle (juce::Slider::Rotary);
        slider->setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
        slider->setRange (0.0, ParameterTable::get (row.parameter).getEditorMaximum(), 0.01);
        return slider;
    }

    std::unique_ptr<juce::Component> createLabel (const PanelTable::Child& row)
    {
        auto label = std::make_unique<juce::Label> (row.member, row.text);
        label->setFont (juce::Font (row.fontHeight, juce::Font::plain));
        label->setJustificationType (juce::Justification::centredLeft);
        label->setEditable (false, false, false);
        label->setInterceptsMouseClicks (false, false);
        return label;
    }

    std::unique_ptr<juce::Component> createComboBox (const PanelTable::Child& row)
    {
        auto comboBox = std::make_unique<ComboBoxControl> (row.member);
        comboBox->setEditableText (false);
        comboBox->setJustificationType (juce::Justification::centredLeft);
        comboBox->setTextWhenNothingSelected ({});
        comboBox->setTextWhenNoChoicesAvailable ("(no choices)");

        const auto& parameter = ParameterTable::get (row.parameter);

        for (int item = 0; item < parameter.numItems; ++item)
            comboBox->addItem (parameter.items[item], item + 1);

        return comboBox;
    }

    std::unique_ptr<juce::Component> createToggle (const PanelTable::Child& row)
    {
        auto toggle = std::make_unique<ToggleButtonControl> (row.member);
        toggle->setButtonText (row.text);
        toggle->setClickingTogglesState (true);
        return toggle;
    }

    std::unique_ptr<juce::Component> createChild (const PanelTable::Child& row)
    {
        // Every control edits a parameter of the table.
        jassert ((row.kind != Kind::slider && row.kind != Kind::comboBox && row.kind != Kind::toggle)
                 || ParameterIndex::isValid (row.parameter));

        switch (row.kind)
        {
            case Kind::group:
            {
                auto group = std::make_unique<juce::GroupComponent> (row.componentName != nullptr ? row.componentName : row.member, row.text);
                group->setInterceptsMouseClicks (false, false);
                return group;
            }

            case Kind::slider:       return createSlider (row);
            case Kind::label:        return createLabel (row);
            case Kind::comboBox:     return createComboBox (row);
            case Kind::toggle:       return createToggle (row);
            case Kind::decibelScale:
            {
                auto scale = std::make_unique<DecibelScaleComponent>();
                scale->setTooltip ("The output level in decibels: 0 is full scale; above it the sound may distort");
                return scale;
            }

            case Kind::levelMeter:
            {
                auto meter = std::make_unique<LevelMeterComponent>();
                meter->setNumChannels (2);
                meter->setTooltip ("The output level of the left and right channel: red above 0 dB");
                return meter;
            }
        }

        jassertfalse;
        return std::make_unique<juce::Component>();
    }
}

SectionPanel::SectionPanel (QuenbyAudioProcessorEditor* editorToUse, const PanelTable::Child* tableToUse, size_t size)
    : editor (editorToUse),
      table (tableToUse),
      numChildren (size)
{
    // The frame comes first, so it lies behind every other child.
    jassert (numChildren > 0 && table[0].kind == Kind::group);

    // A click on the panel's background, its frame or a label reaches the window's menu.
    setInterceptsMouseClicks (false, true);

    for (size_t i = 0; i < numChildren; ++i)
    {
        children.push_back (createChild (table[i]));
        addAndMakeVisible (children.back().get());
    }
}

SectionPanel::~SectionPanel() = default;

juce::Component* SectionPanel::findChild (const char* member) const
{
    for (size_t i = 0; i < numChildren; ++i)
        if (std::strcmp (table[i].member, member) == 0)
            return children[i].get();

    return nullptr;
}

juce::GroupComponent& SectionPanel::getGroup() const
{
    return static_cast<juce::GroupComponent&> (*children.front());
}

std::vector<juce::Component*> SectionPanel::getControls() const
{
    std::vector<juce::Component*> controls;

    for (size_t i = 0; i < numChildren; ++i)
        if (table[i].parameter != ParameterIndex::none)
            controls.push_back (children[i].get());

    return controls;
}

juce::String SectionPanel::tooltipFor (const juce::Component& control, int parameterIndex)
{
    juce::String tooltip = ParameterTable::get (parameterIndex).description;

    if (dynamic_cast<const juce::Slider*> (&control) != nullptr)
        tooltip << "\n" << knobHint;

    return tooltip;
}

void SectionPanel::bind (juce::Component& control, int parameterIndex) const
{
    if (auto* pluginControl = dynamic_cast<PluginControl*> (&control))
    {
        pluginControl->editor = editor;
        pluginControl->parameterIndex = parameterIndex;
    }

    if (auto* client = dynamic_cast<juce::SettableTooltipClient*> (&control); client != nullptr && ParameterIndex::isValid (parameterIndex))
        client->setTooltip (tooltipFor (control, parameterIndex));
}

void SectionPanel::assignParameters (const juce::String& title)
{
    getGroup().setText (title);

    for (size_t i = 0; i < numChildren; ++i)
        if (table[i].parameter != ParameterIndex::none)
            bind (*children[i], table[i].parameter);
}

int SectionPanel::toItemIndex (float value) noexcept
{
    return std::isnan (value) ? -1 : ParameterValue::truncated (value);
}

void SectionPanel::showSliderValue (juce::Slider& slider, float value)
{
    slider.setValue (std::isfinite (value) ? (double) value : slider.getMinimum(), juce::dontSendNotification);
}

void SectionPanel::showValues (const ParameterValues& values)
{
    for (auto* control : getControls())
    {
        const int index = dynamic_cast<PluginControl&> (*control).parameterIndex;

        if (! ParameterIndex::isValid (index))
            continue;

        const float value = values[(size_t) index];

        if (auto* slider = dynamic_cast<juce::Slider*> (control))
            showSliderValue (*slider, value);
        else if (auto* comboBox = dynamic_cast<juce::ComboBox*> (control))
            comboBox->setSelectedItemIndex (toItemIndex (value), juce::dontSendNotification);
        else if (auto* toggle = dynamic_cast<juce::Button*> (control))
            toggle->setToggleState (ParameterValue::isOn (value), juce::dontSendNotification);
    }
}

void SectionPanel::paint (juce::Graphics& g)
{
    g.fillAll (Skin::getPanelBackgroundColour());
}

void SectionPanel::resized()
{
    for (size_t i = 0; i < numChildren; ++i)
    {
        const auto& bounds = table[i].bounds;
        children[i]->setBounds (bounds.x, bounds.y, bounds.width, bounds.height);
    }
}
