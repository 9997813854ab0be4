#include "Model/UserSettings.h"
#include "Model/XmlText.h"

#include <algorithm>

namespace
{
    const char* const zoomAttribute = "Zoom";
    const char* const factoryVersionAttribute = "FactoryVersion";

    // The settings element of a file's bytes, or why there is none.
    std::unique_ptr<juce::XmlElement> readElement (const void* data, size_t size, juce::String& problem)
    {
        auto document = XmlText::parse (data, size);

        if (document.element == nullptr)
        {
            problem = "is not XML";
            return {};
        }

        if (document.element->getTagName() != UserSettings::rootTag)
        {
            problem = "is not a settings file";
            return {};
        }

        if (! document.complete)
            problem = "is not well-formed XML throughout";

        return std::move (document.element);
    }
}

bool UserSettings::isZoomStep (int percent) noexcept
{
    return std::find (std::begin (zoomSteps), std::end (zoomSteps), percent) != std::end (zoomSteps);
}

juce::File UserSettings::getDefaultFile()
{
    return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory).getChildFile ("Quenby/Settings.xml");
}

UserSettings::Loaded UserSettings::read (const void* data, size_t size)
{
    Loaded loaded;
    const auto element = readElement (data, size, loaded.problem);

    if (element != nullptr)
    {
        juce::StringArray problems (loaded.problem);
        loaded.settings.readFrom (*element, problems);
        problems.removeEmptyStrings();
        loaded.problem = problems.joinIntoString ("; ");
    }

    return loaded;
}

UserSettings::Loaded UserSettings::load (const juce::File& file)
{
    if (! file.existsAsFile())
        return {};

    Loaded loaded;
    juce::MemoryBlock bytes;

    if (file.getSize() > largestFileSize)
        loaded.problem = "is too large";
    else if (! file.loadFileAsData (bytes))
        loaded.problem = "cannot be read";
    else
        loaded = read (bytes.getData(), bytes.getSize());

    if (loaded.problem.isNotEmpty())
        loaded.problem = file.getFileName() + " " + loaded.problem;

    return loaded;
}

void UserSettings::readFrom (const juce::XmlElement& element, juce::StringArray& problems)
{
    if (element.hasAttribute (zoomAttribute))
    {
        const auto text = element.getStringAttribute (zoomAttribute).trim();
        const auto percent = text.getIntValue();

        if (text.containsOnly ("0123456789") && text.length() <= 3 && isZoomStep (percent))
            zoomPercent = percent;
        else
            problems.add ("has a zoom of \"" + text.substring (0, 20) + "\", not one of 75, 100, ... 200");
    }

    midi.readFrom (element, problems);
    if (element.hasAttribute (factoryVersionAttribute))
    {
        const auto text = element.getStringAttribute (factoryVersionAttribute).trim();

        if (text.containsOnly ("0123456789") && text.isNotEmpty() && text.length() <= 9)
            factoryVersion = text.getIntValue();
        else
            problems.add ("has a factory version of \"" + text.substring (0, 20) + "\", not a whole number");
    }
}

void UserSettings::writeTo (juce::XmlElement& element) const
{
    element.setAttribute (zoomAttribute, zoomPercent);
    midi.writeTo (element);

    if (factoryVersion > 0)
        element.setAttribute (factoryVersionAttribute, factoryVersion);
}

bool UserSettings::save (const juce::File& file) const
{
    std::unique_ptr<juce::XmlElement> element;

    if (file.existsAsFile() && file.getSize() <= largestFileSize)
    {
        juce::MemoryBlock bytes;
        juce::String problem;

        if (file.loadFileAsData (bytes))
            element = readElement (bytes.getData(), bytes.getSize(), problem);
    }

    if (element == nullptr)
        element = std::make_unique<juce::XmlElement> (rootTag);

    writeTo (*element);
    file.getParentDirectory().createDirectory();

    // Through a temporary file that replaces the old one, so a reader never sees half a file.
    return element->writeTo (file);
}
