#include "PluginDatabase.h"
#include "Enumeration.h"

#include <cmath>
#include <charconv>

namespace
{
    const char* const rootTag = "VELMORA_DATABASE";
    const char* const programTag = "PROGRAM";

    std::unique_ptr<PluginProgram> readProgram (const juce::XmlElement& element)
    {
        auto program = std::make_unique<PluginProgram>();
        program->setId (element.getStringAttribute ("ID", "ERROR"));
        program->setName (element.getStringAttribute ("Name", "Empty"));
        program->setBank (element.getStringAttribute ("Bank", "Empty"));
        program->setCategory (element.getStringAttribute ("Category", "Empty"));
        program->setSubType (element.getStringAttribute ("SubType", "Empty"));
        program->setMode (element.getStringAttribute ("Mode", "Empty"));

        for (int index = 0; index < program->getNumParameters(); ++index)
        {
            const auto name = Enumeration::getName (index);

            if (element.hasAttribute (name))
                program->getParameter (index)->setValue (PluginDatabase::textToValue (element.getStringAttribute (name)));
        }

        return program;
    }
}

PluginDatabase::PluginDatabase()
{
    programs.add (new PluginProgram())->setName ("Initial Program");
}

juce::File PluginDatabase::getDatabaseFile()
{
    const auto directory = juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory);
    return juce::File (directory.getFullPathName() + "/VelmoraDatabase.xml");
}

void PluginDatabase::load()
{
    const auto file = getDatabaseFile();

    if (! file.existsAsFile())
    {
        save();
        return;
    }

    const auto root = juce::XmlDocument::parse (file);

    if (root == nullptr || ! root->hasTagName (rootTag))
        return;

    juce::OwnedArray<PluginProgram> loaded;

    for (auto* child : root->getChildIterator())
        if (child->getTagName() == programTag)
            loaded.add (readProgram (*child).release());

    replacePrograms (loaded);
}

void PluginDatabase::replacePrograms (juce::OwnedArray<PluginProgram>& newPrograms)
{
    programs.swapWith (newPrograms);
    newPrograms.clear();
}

void PluginDatabase::save() const
{
    juce::XmlElement root (rootTag);

    for (auto* program : programs)
        writeProgramAttributes (*program, *root.createNewChildElement (programTag));

    const auto file = getDatabaseFile();

    // A first run on a fresh account may find no application-data directory yet.
    file.getParentDirectory().createDirectory();

    juce::XmlElement::TextFormat format;
    format.lineWrapLength = 60;
    root.writeTo (file, format);
}

PluginProgram* PluginDatabase::createProgram()
{
    auto* program = new PluginProgram();
    program->setName ("Empty" + juce::String (programs.size()));
    program->setBank ("Factory");
    program->setCategory ("No category");
    program->setSubType ("No subtype");
    program->setMode ("No mode");
    return programs.add (program);
}

PluginProgram* PluginDatabase::findProgram (const juce::String& id) const
{
    for (auto* program : programs)
        if (program->getId() == id)
            return program;

    return nullptr;
}

void PluginDatabase::writeProgramAttributes (const PluginProgram& program, juce::XmlElement& element)
{
    element.setAttribute ("ID", program.getId());
    element.setAttribute ("Name", program.getName());
    element.setAttribute ("Bank", program.getBank());
    element.setAttribute ("Category", program.getCategory());
    element.setAttribute ("SubType", program.getSubType());
    element.setAttribute ("Mode", program.getMode());

    for (int index = 0; index < program.getNumParameters(); ++index)
    {
        const auto* parameter = program.getParameter (index);
        element.setAttribute (parameter->getName(), valueToText (parameter->getValue()));
    }
}

juce::String PluginDatabase::valueToText (float value)
{
    // Locale-independent, like "%.20g" in the C locale.
    char text[48];
    const auto result = std::to_chars (text, text + sizeof (text), (double) value, std::chars_format::general, 20);
    return juce::String (text, (size_t) (result.ptr - text));
}

float PluginDatabase::textToValue (const juce::String& text)
{
    const auto value = (float) text.getDoubleValue();
    return std::isfinite (value) ? value : 0.0f;
}
