#include "Model/PluginDatabase.h"
#include "Model/Enumeration.h"
#include "Model/XmlText.h"

#include <cmath>
#include <charconv>

namespace
{
    const char* const rootTag = "VELMORA_DATABASE";
    const char* const programTag = "PROGRAM";
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
    const juce::CriticalSection unshared;
    load (unshared, {});
}

void PluginDatabase::load (const juce::CriticalSection& swapLock, const std::function<void()>& afterSwap)
{
    const auto file = getDatabaseFile();

    if (! file.existsAsFile())
    {
        std::unique_ptr<juce::XmlElement> root;
        {
            const juce::ScopedLock lock (swapLock);
            root = createXml();
        }
        writeToFile (*root);
        return;
    }

    juce::MemoryBlock bytes;

    if (! file.loadFileAsData (bytes))
        return;

    const auto root = XmlText::parse (bytes.getData(), bytes.getSize());

    if (root == nullptr || ! root->hasTagName (rootTag))
        return;

    juce::OwnedArray<PluginProgram> loaded;

    for (auto* child : root->getChildIterator())
    {
        if (child->getTagName() == programTag)
        {
            auto* program = loaded.add (new PluginProgram());
            readProgramAttributes (*child, *program, "ERROR", "Empty");
        }
    }

    {
        const juce::ScopedLock lock (swapLock);
        programs.swapWith (loaded);

        if (afterSwap)
            afterSwap();
    }

    // loaded now holds the old programs, deleted here, outside the lock.
}

void PluginDatabase::save() const
{
    writeToFile (*createXml());
}

std::unique_ptr<juce::XmlElement> PluginDatabase::createXml() const
{
    auto root = std::make_unique<juce::XmlElement> (rootTag);

    for (auto* program : programs)
        writeProgramAttributes (*program, *root->createNewChildElement (programTag));

    return root;
}

void PluginDatabase::writeToFile (const juce::XmlElement& root)
{
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

std::unique_ptr<PluginProgram> PluginDatabase::removeProgram (int index)
{
    if (! juce::isPositiveAndBelow (index, programs.size()))
        return nullptr;

    return std::unique_ptr<PluginProgram> (programs.removeAndReturn (index));
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

void PluginDatabase::readProgramAttributes (const juce::XmlElement& element, PluginProgram& program,
                                            const juce::String& missingId, const juce::String& missingText)
{
    program.setId (element.getStringAttribute ("ID", missingId));
    program.setName (element.getStringAttribute ("Name", missingText));
    program.setBank (element.getStringAttribute ("Bank", missingText));
    program.setCategory (element.getStringAttribute ("Category", missingText));
    program.setSubType (element.getStringAttribute ("SubType", missingText));
    program.setMode (element.getStringAttribute ("Mode", missingText));

    for (int index = 0; index < program.getNumParameters(); ++index)
    {
        const auto name = Enumeration::getName (index);

        if (element.hasAttribute (name))
            program.getParameter (index)->setValue (textToValue (element.getStringAttribute (name)));
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

    if (! std::isfinite (value))
        return 0.0f;

    // JUCE's parser drops the sign of zero; keep it so "-0" comes back bit for bit.
    if (value == 0.0f && text.trimStart().startsWithChar ('-'))
        return -0.0f;

    return value;
}
