#include "Controls/PluginControl.h"
#include "Components/MainComponent.h"
#include "Components/PluginEditor.h"
#include "Model/ParameterConversion.h"
#include "Model/ParameterTable.h"
#include "Model/PluginParameter.h"
#include "Processor/MidiInput.h"
#include "Processor/HostParameter.h"

bool PluginControl::isBound() const noexcept
{
    return editor != nullptr && ParameterIndex::isValid (parameterIndex);
}

HostParameter* PluginControl::getHostParameter() const
{
    return isBound() ? editor->getProcessor().getHostParameter (parameterIndex) : nullptr;
}

void PluginControl::writeValue (float value)
{
    auto* parameter = getHostParameter();

    if (parameter == nullptr)
        return;

    const bool ownGesture = ! inGesture;

    if (ownGesture)
        parameter->beginChangeGesture();

    parameter->setFromEditor (value);

    if (ownGesture)
        parameter->endChangeGesture();
}

void PluginControl::beginGesture()
{
    if (auto* parameter = getHostParameter(); parameter != nullptr && ! inGesture)
    {
        inGesture = true;
        parameter->beginChangeGesture();
    }
}

void PluginControl::endGesture()
{
    if (! inGesture)
        return;

    inGesture = false;

    if (auto* parameter = getHostParameter())
        parameter->endChangeGesture();
}

void PluginControl::showOnDisplay() const
{
    if (! isBound())
        return;

    DisplayComponent::hoveredParameter = parameterIndex;
    refreshDisplay();
}

void PluginControl::clearFromDisplay() const
{
    if (editor == nullptr)
        return;

    DisplayComponent::hoveredParameter = ParameterIndex::none;
    refreshDisplay();
}

void PluginControl::refreshDisplay() const
{
    if (editor != nullptr)
        editor->getMainComponent().displayComponent->updateLabels();
}

juce::String PluginControl::getValueText (float storedValue) const
{
    if (! isBound())
        return {};

    return ParameterConversion::toText (parameterIndex, storedValue, editor->getProcessor().getEditPath().getTextContext());
}

void PluginControl::resetToDefault()
{
    if (isBound())
        showAndWrite (PluginParameter::getDefaultValue (parameterIndex));
}

std::function<void()> PluginControl::whileAlive (std::function<void (PluginControl&)> action)
{
    return [safe = juce::Component::SafePointer<juce::Component> (&asComponent()), this, action]
    {
        if (safe != nullptr)
            action (*this);
    };
}

juce::PopupMenu PluginControl::createContextMenu()
{
    juce::PopupMenu menu;

    if (! isBound())
        return menu;

    addOwnMenuItems (menu);
    addMidiMenuItems (menu);
    menu.addItem ("Reset to default", whileAlive ([] (PluginControl& control) { control.resetToDefault(); }));
    return menu;
}

void PluginControl::addMidiMenuItems (juce::PopupMenu& menu)
{
    if (! MidiMappings::isMappable (parameterIndex))
        return;

    const auto& input = editor->getProcessor().getMidiInput();

    if (input.getLearningParameter() == parameterIndex)
        menu.addItem ("Cancel MIDI learn", whileAlive ([] (PluginControl& control) { control.editor->getMainComponent().cancelMidiLearn(); }));
    else
        menu.addItem ("MIDI learn", whileAlive ([] (PluginControl& control) { control.editor->getMainComponent().startMidiLearn (control.parameterIndex); }));

    if (const auto controller = input.getController (parameterIndex); controller != MidiInput::none)
        menu.addItem ("Forget CC " + juce::String (controller),
                      whileAlive ([] (PluginControl& control) { control.editor->getMainComponent().forgetMidiController (control.parameterIndex); }));
}

void PluginControl::showContextMenu()
{
    auto menu = createContextMenu();

    if (menu.getNumItems() > 0)
        menu.showMenuAsync (juce::PopupMenu::Options().withTargetComponent (&asComponent()));
}
