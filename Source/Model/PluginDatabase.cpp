#include "Model/PluginDatabase.h"
#include "Model/Enumeration.h"
#include "Model/XmlText.h"

#include <algorithm>
#include <cmath>
#include <charconv>

namespace
{
    const char* const rootTag = "VELMORA_DATABASE";
    const char* const programTag = "PROGRAM";
    const char* const programTexts[] = { "ID", "Name", "Bank", "Category", "SubType", "Mode" };

    // True when a save writes back everything the element holds: only program children,
    // each without children and with no attribute but its texts and parameters.
    bool holdsOnlyPrograms (const juce::XmlElement& root)
    {
        if (root.getNumAttributes() > 0)
            return false;

        for (auto* child : root.getChildIterator())
        {
            if (child->getTagName() != programTag || child->getNumChildElements() > 0)
                return false;

            for (int i = 0; i < child->getNumAttributes(); ++i)
            {
                const auto name = child->getAttributeName (i);

                const auto isText = std::any_of (std::begin (programTexts), std::end (programTexts),
                                                 [&name] (const char* text) { return name == text; });

                if (! isText && Enumeration::findIndex (name) == ParameterIndex::none)
                    return false;
            }
        }

        return true;
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
    const juce::CriticalSection unshared;
    load (unshared, {});
}

void PluginDatabase::load (const juce::CriticalSection& swapLock, const std::function<void()>& afterSwap)
{
    const auto file = getDatabaseFile();
    loadProblem.clear();
    keepFileBeforeWriting = false;

    if (! file.existsAsFile())
    {
        std::unique_ptr<juce::XmlElement> root;
        {
            const juce::ScopedLock lock (swapLock);
            root = createXml();
        }
        write (*root);
        return;
    }

    const auto fail = [this] (const char* problem)
    {
        loadProblem = problem;
        keepFileBeforeWriting = true;
    };

    juce::MemoryBlock bytes;

    if (! file.loadFileAsData (bytes))
        return fail ("cannot be read");

    const auto decoded = XmlText::decode (bytes.getData(), bytes.getSize());
    const auto document = XmlReader::read (decoded.text);

    if (document.element == nullptr)
        return fail ("is not XML");

    const auto& root = *document.element;

    if (! root.hasTagName (rootTag))
        return fail ("is not a program database");

    if (! decoded.exact)
        fail ("holds bytes that are not UTF-8 or UTF-16 text");
    else if (! document.complete)
        fail ("is not well-formed XML throughout");
    else if (! holdsOnlyPrograms (root))
        fail ("holds content other than programs");

    juce::OwnedArray<PluginProgram> loaded;
    readPrograms (root, loaded);

    {
        const juce::ScopedLock lock (swapLock);
        programs.swapWith (loaded);

        if (afterSwap)
            afterSwap();
    }

    // loaded now holds the old programs, deleted here, outside the lock.
}

void PluginDatabase::readPrograms (const juce::XmlElement& root, juce::OwnedArray<PluginProgram>& list)
{
    for (auto* child : root.getChildIterator())
    {
        if (child->getTagName() == programTag)
        {
            auto* program = list.add (new PluginProgram());
            readProgramAttributes (*child, *program, "ERROR", "Empty");
        }
    }
}

void PluginDatabase::save()
{
    write (*createXml());
}

std::unique_ptr<juce::XmlElement> PluginDatabase::createXml() const
{
    auto root = std::make_unique<juce::XmlElement> (rootTag);

    // Prepended from the last: appending walks the whole list each time.
    for (int i = programs.size(); --i >= 0;)
    {
        auto* element = new juce::XmlElement (programTag);
        writeProgramAttributes (*programs.getUnchecked (i), *element);
        root->prependChildElement (element);
    }

    return root;
}

void PluginDatabase::write (const juce::XmlElement& root)
{
    const auto file = getDatabaseFile();
    keptCopy = juce::File();

    if (keepFileBeforeWriting && file.existsAsFile() && ! keepCopyOfFile (file))
        return;

    keepFileBeforeWriting = false;

    // A first run on a fresh account may find no application-data directory yet.
    file.getParentDirectory().createDirectory();

    juce::XmlElement::TextFormat format;
    format.lineWrapLength = 60;
    root.writeTo (file, format);
}

bool PluginDatabase::keepCopyOfFile (const juce::File& file)
{
    const auto name = file.getFullPathName() + ".unreadable-" + juce::Time::getCurrentTime().formatted ("%Y%m%d-%H%M%S");
    juce::File copy (name);

    for (int number = 2; copy.exists(); ++number)
        copy = juce::File (name + "-" + juce::String (number));

    juce::MemoryBlock original, copied;

    if (! file.loadFileAsData (original) || ! copy.replaceWithData (original.getData(), original.getSize()))
        return false;

    // replaceWithData makes no file for no bytes; an empty original gets an empty copy.
    if (original.isEmpty() && ! copy.create())
        return false;

    if (! copy.loadFileAsData (copied) || copied != original)
    {
        copy.deleteFile();
        return false;
    }

    keptCopy = copy;
    return true;
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
