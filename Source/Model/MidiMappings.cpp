#include "Model/MidiMappings.h"
#include "Model/Enumeration.h"
#include "Model/ParameterTable.h"

namespace
{
    const char* const controllerAttribute = "CC";
    const char* const parameterAttribute = "Parameter";

    // A whole number of at most maxDigits digits, or -1.
    int readWholeNumber (const juce::String& text, int maxDigits)
    {
        const auto trimmed = text.trim();

        if (trimmed.isEmpty() || trimmed.length() > maxDigits || ! trimmed.containsOnly ("0123456789"))
            return -1;

        return trimmed.getIntValue();
    }
}

bool MidiMappings::isLearnable (int controller) noexcept
{
    constexpr int bankSelect = 0, modulationWheel = 1, bankSelectFine = 32, sustain = 64, sostenuto = 66;
    constexpr int firstChannelModeMessage = 120;

    return controller >= 0 && controller < firstChannelModeMessage
        && controller != bankSelect && controller != modulationWheel && controller != bankSelectFine
        && controller != sustain && controller != sostenuto;
}

bool MidiMappings::isMappable (int parameterIndex) noexcept
{
    return ParameterIndex::isValid (parameterIndex) && ParameterTable::get (parameterIndex).hasEditorControl;
}

void MidiMappings::setChannel (int newChannel) noexcept
{
    if (isChannel (newChannel))
        channel = newChannel;
}

juce::String MidiMappings::channelText (int channelNumber)
{
    return channelNumber == omni ? juce::String ("Omni") : juce::String (channelNumber);
}

int MidiMappings::getParameter (int controller) const noexcept
{
    return juce::isPositiveAndBelow (controller, numControllers) ? parameterOfController[(size_t) controller] : none;
}

int MidiMappings::getController (int parameterIndex) const noexcept
{
    if (! ParameterIndex::isValid (parameterIndex))
        return none;

    for (int controller = 0; controller < numControllers; ++controller)
        if (parameterOfController[(size_t) controller] == parameterIndex)
            return controller;

    return none;
}

bool MidiMappings::bind (int controller, int parameterIndex) noexcept
{
    if (! isLearnable (controller) || ! isMappable (parameterIndex))
        return false;

    forgetParameter (parameterIndex);
    parameterOfController[(size_t) controller] = parameterIndex;
    return true;
}

void MidiMappings::forgetParameter (int parameterIndex) noexcept
{
    for (auto& parameter : parameterOfController)
        if (parameter == parameterIndex)
            parameter = none;
}

bool MidiMappings::operator== (const MidiMappings& other) const noexcept
{
    return channel == other.channel && parameterOfController == other.parameterOfController;
}

bool MidiMappings::isHeldBy (const juce::XmlElement& element)
{
    return element.hasAttribute (channelAttribute) || element.getChildByName (mappingTag) != nullptr;
}

void MidiMappings::readFrom (const juce::XmlElement& element, juce::StringArray& problems)
{
    *this = {};

    if (element.hasAttribute (channelAttribute))
    {
        const auto text = element.getStringAttribute (channelAttribute).trim();
        const auto number = readWholeNumber (text, 2);

        if (text.equalsIgnoreCase (channelText (omni)))
            channel = omni;
        else if (number >= 1 && isChannel (number))
            channel = number;
        else
            problems.add ("has a MIDI channel of \"" + text.substring (0, 20) + "\", not Omni or 1 ... 16");
    }

    int numIgnored = 0;
    juce::String firstIgnored;

    for (const auto* mapping : element.getChildWithTagNameIterator (mappingTag))
    {
        const auto controllerText = mapping->getStringAttribute (controllerAttribute);
        const auto parameterName = mapping->getStringAttribute (parameterAttribute);
        const auto controller = readWholeNumber (controllerText, 3);
        const auto parameterIndex = Enumeration::findIndex (parameterName);

        if (getParameter (controller) == none && getController (parameterIndex) == none && bind (controller, parameterIndex))
            continue;

        if (numIgnored++ == 0)
            firstIgnored = "CC \"" + controllerText.substring (0, 20) + "\" for \"" + parameterName.substring (0, 40) + "\"";
    }

    if (numIgnored > 0)
        problems.add ("ignores " + juce::String (numIgnored) + " controller mapping" + (numIgnored > 1 ? "s" : "")
                      + " (the first: " + firstIgnored + "): controllers are 2 ... 119 but 32, 64 and 66,"
                      + " each controller and parameter at most once");
}

void MidiMappings::writeTo (juce::XmlElement& element) const
{
    element.setAttribute (channelAttribute, channelText (channel));
    element.deleteAllChildElementsWithTagName (mappingTag);

    for (int controller = 0; controller < numControllers; ++controller)
    {
        const auto parameterIndex = parameterOfController[(size_t) controller];

        if (parameterIndex == none)
            continue;

        auto* mapping = element.createNewChildElement (mappingTag);
        mapping->setAttribute (controllerAttribute, controller);
        mapping->setAttribute (parameterAttribute, Enumeration::getName (parameterIndex));
    }
}
