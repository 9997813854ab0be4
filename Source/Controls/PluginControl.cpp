#include "Controls/PluginControl.h"
#include "Components/MainComponent.h"
#include "Components/PluginEditor.h"
#include "Model/ParameterTable.h"

bool PluginControl::isBound() const noexcept
{
    return editor != nullptr && ParameterIndex::isValid (parameterIndex);
}

void PluginControl::writeValue (float value) const
{
    if (isBound())
        editor->getProcessor().getEditPath().set (parameterIndex, value, ParameterEditPath::Writer::editor);
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
