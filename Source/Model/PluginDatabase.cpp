#include "Model/PluginDatabase.h"
#include "Model/Enumeration.h"
#include "Model/XmlText.h"

#include <algorithm>
#include <bitset>
#include <charconv>
#include <cmath>
#include <string_view>
#include <unordered_map>

namespace
{
    const char* const rootTag = "VELMORA_DATABASE";
    const char* const programTag = "PROGRAM";

    // The attributes of a program element in the order a save writes them: the six texts,
    // then the parameters by name.
    enum TextField { idField, nameField, bankField, categoryField, subTypeField, modeField, numTextFields };
    const char* const textFieldNames[numTextFields] = { "ID", "Name", "Bank", "Category", "SubType", "Mode" };
    constexpr int numFields = numTextFields + PluginProgram::numParameters;

    // The field an attribute name stands for (a text, or numTextFields + a parameter
    // index), or -1. Names are compared exactly, as JUCE's attribute look-ups compare them.
    int findField (std::string_view name)
    {
        static const auto fields = []
        {
            std::unordered_map<std::string_view, int> map;

            for (int field = 0; field < numTextFields; ++field)
                map.emplace (textFieldNames[field], field);

            for (int index = 0; index < PluginProgram::numParameters; ++index)
                map.emplace (ParameterTable::get (index).name, numTextFields + index);

            return map;
        }();

        const auto found = fields.find (name);
        return found != fields.end() ? found->second : -1;
    }

    std::string_view fieldName (int field)
    {
        return field < numTextFields ? textFieldNames[field] : ParameterTable::get (field - numTextFields).name;
    }

    void setText (PluginProgram& program, int field, const juce::String& text)
    {
        switch (field)
        {
            case idField:        program.setId (text); break;
            case nameField:      program.setName (text); break;
            case bankField:      program.setBank (text); break;
            case categoryField:  program.setCategory (text); break;
            case subTypeField:   program.setSubType (text); break;
            case modeField:      program.setMode (text); break;
            default:             break;
        }
    }

    float readValue (std::string_view utf8);

    // Sets a field from its attribute's text, in UTF-8.
    void setField (PluginProgram& program, int field, std::string_view value)
    {
        if (field < numTextFields)
            setText (program, field, juce::String::fromUTF8 (value.data(), (int) value.size()));
        else
            program.getParameter (field - numTextFields)->setValue (readValue (value));
    }

    // The fallbacks of the texts an element did not hold, and the defaults of the parameters
    // added after the first 71 that it did not hold: an element written before they existed
    // means the sound they have at their defaults, whatever the program held before.
    void setMissingFields (PluginProgram& program, const std::bitset<numFields>& seen,
                           const juce::String& missingId, const juce::String& missingText)
    {
        for (int field = 0; field < numTextFields; ++field)
            if (! seen[(size_t) field])
                setText (program, field, field == idField ? missingId : missingText);

        for (int index = ParameterIndex::numOriginal; index < PluginProgram::numParameters; ++index)
            if (! seen[(size_t) (numTextFields + index)])
                program.getParameter (index)->setValue (PluginParameter::getDefaultValue (index));
    }

    std::string_view viewOf (XmlReader::Pointer start, XmlReader::Pointer end)
    {
        return { start.getAddress(), (size_t) (end.getAddress() - start.getAddress()) };
    }

    // Builds programs from the root's children as the reader hands them over, and notes
    // whatever a save would not write back.
    class ProgramCollector : public XmlReader::ChildHandler
    {
    public:
        explicit ProgramCollector (juce::OwnedArray<PluginProgram>& programsToFill) : programs (programsToFill) {}

        void beginElement (XmlReader::Pointer tagStart, XmlReader::Pointer tagEnd) override
        {
            seen.reset();
            otherNames.clear();
            lastField = -1;

            if (viewOf (tagStart, tagEnd) == programTag)
                current = PluginProgram::createBlank();
            else
                holdsOther = true;
        }

        bool addAttribute (XmlReader::Pointer nameStart, XmlReader::Pointer nameEnd, std::string_view value) override
        {
            const auto name = viewOf (nameStart, nameEnd);

            // A saved file lists the fields in order: the one after the last is tried first.
            const auto expected = lastField + 1;
            const auto field = expected < numFields && name == fieldName (expected) ? expected : findField (name);
            lastField = field;

            if (field < 0)
            {
                holdsOther = true;

                if (std::find (otherNames.begin(), otherNames.end(), name) != otherNames.end())
                    return false;

                otherNames.push_back (name);
                return true;
            }

            if (seen[(size_t) field])
                return false;

            seen.set ((size_t) field);

            if (current != nullptr)
                setField (*current, field, value);

            return true;
        }

        void endElement (bool hasContent) override
        {
            holdsOther = holdsOther || hasContent;

            if (current != nullptr)
            {
                setMissingFields (*current, seen, "ERROR", "Empty");
                programs.add (current.release());
            }
        }

        void addText() override
        {
            holdsOther = true;
        }

        // True when a save writes back everything the root's children held.
        bool holdsOnlyPrograms() const noexcept      { return ! holdsOther; }

    private:
        juce::OwnedArray<PluginProgram>& programs;
        std::unique_ptr<PluginProgram> current;
        std::bitset<numFields> seen;
        std::vector<std::string_view> otherNames;    // point into the text being read
        int lastField = -1;
        bool holdsOther = false;
    };

    // JUCE's reading of a number that is a plain decimal (digits with at most one point,
    // after an optional minus): the digits that its parser hands to strtod, which keeps 18
    // significant ones (counting zeros after the point), read by from_chars, which rounds
    // exactly as strtod does. Anything else is left to JUCE's parser itself.
    std::optional<double> readPlainDecimal (std::string_view text)
    {
        constexpr int maxSignificantDigits = 18;

        if (text.empty() || text.size() > 400)
            return {};

        char buffer[32];
        size_t length = 0;
        size_t i = 0;

        if (text[0] == '-')
        {
            buffer[length++] = '-';
            ++i;
        }

        int numSigFigs = 0, extraExponent = 0;
        bool decimalPointFound = false, leadingZeros = false;

        for (; i < text.size(); ++i)
        {
            const auto c = text[i];

            if (c >= '0' && c <= '9')
            {
                if (numSigFigs >= maxSignificantDigits)
                {
                    extraExponent += decimalPointFound ? 0 : 1;
                    continue;
                }

                if (! decimalPointFound && numSigFigs == 0 && c == '0')
                {
                    leadingZeros = true;
                    continue;
                }

                buffer[length++] = c;
                ++numSigFigs;
            }
            else if (c == '.' && ! decimalPointFound)
            {
                buffer[length++] = '.';
                decimalPointFound = true;
            }
            else
            {
                return {};
            }
        }

        if (! leadingZeros && numSigFigs == 0)
            return 0.0;

        if (extraExponent > 0)
            length += (size_t) std::snprintf (buffer + length, sizeof (buffer) - length, "e%03d", extraExponent);

        double value = 0.0;
        const auto result = std::from_chars (buffer, buffer + length, value);

        // What strtod gives for a text without digits ("", "-", "." ...).
        if (result.ec != std::errc() || result.ptr != buffer + length)
            return 0.0;

        return value;
    }

    // JUCE's escaping of text in an attribute value: every character outside a small
    // printable ASCII set becomes an entity or a character reference.
    void writeEscaped (juce::OutputStream& out, const juce::String& text)
    {
        for (auto t = text.getCharPointer(); ! t.isEmpty();)
        {
            const auto c = (juce::uint32) t.getAndAdvance();

            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                 || (c < 128 && std::strchr (" .,;:-()_+=?!$#@[]/|*%~{}'\\", (int) c) != nullptr))
                out.writeByte ((char) c);
            else if (c == '&')  out << "&amp;";
            else if (c == '"')  out << "&quot;";
            else if (c == '>')  out << "&gt;";
            else if (c == '<')  out << "&lt;";
            else                out << "&#" << (int) c << ';';
        }
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
        Snapshot snapshot;
        {
            const juce::ScopedLock lock (swapLock);
            snapshot = takeSnapshot();
        }
        write (snapshot);
        return;
    }

    auto content = readFile (file);
    loadProblem = content.unreadable.isNotEmpty() ? content.unreadable : content.incomplete;
    keepFileBeforeWriting = loadProblem.isNotEmpty();

    if (content.unreadable.isNotEmpty())
        return;

    {
        const juce::ScopedLock lock (swapLock);
        programs.swapWith (content.programs);

        if (afterSwap)
            afterSwap();
    }

    // content.programs now holds the old programs, deleted here, outside the lock.
}

PluginDatabase::FileContent PluginDatabase::readFile (const juce::File& file)
{
    juce::MemoryBlock bytes;

    if (! file.loadFileAsData (bytes))
    {
        FileContent content;
        content.unreadable = "cannot be read";
        return content;
    }

    return readBytes (std::move (bytes));
}

PluginDatabase::FileContent PluginDatabase::readBytes (juce::MemoryBlock&& bytes)
{
    FileContent content;
    ProgramCollector collector (content.programs);

    // Text that is UTF-8 already is read where it lies, after a zero byte is added; other
    // text is read from its decoded copy, and the bytes are let go first.
    const auto utf8Start = XmlText::findUtf8Text (bytes.getData(), bytes.getSize());
    XmlText::Decoded decoded;

    if (utf8Start.has_value())
    {
        bytes.append ("", 1);
    }
    else
    {
        decoded = XmlText::decode (bytes.getData(), bytes.getSize());
        bytes.reset();
    }

    const auto document = utf8Start.has_value()
                            ? XmlReader::read (XmlReader::Pointer (static_cast<char*> (bytes.getData()) + *utf8Start), &collector)
                            : XmlReader::read (decoded.text, &collector);

    if (document.element == nullptr || ! document.element->hasTagName (rootTag))
    {
        content.unreadable = document.element == nullptr ? "is not XML" : "is not a program database";
        content.programs.clear();
        return content;
    }

    if (! decoded.exact)
        content.incomplete = "holds bytes that are not UTF-8 or UTF-16 text";
    else if (! document.complete)
        content.incomplete = "is not well-formed XML throughout";
    else if (document.element->getNumAttributes() > 0 || ! collector.holdsOnlyPrograms())
        content.incomplete = "holds content other than programs";

    return content;
}

void PluginDatabase::readPrograms (const juce::XmlElement& root, juce::OwnedArray<PluginProgram>& list)
{
    for (auto* child : root.getChildIterator())
    {
        if (child->getTagName() == programTag)
        {
            auto* program = list.add (PluginProgram::createBlank().release());
            readProgramAttributes (*child, *program, "ERROR", "Empty");
        }
    }
}

bool PluginDatabase::save()
{
    return write (takeSnapshot());
}

PluginDatabase::Snapshot PluginDatabase::takeSnapshot() const
{
    Snapshot snapshot;
    snapshot.reserve ((size_t) programs.size());

    for (auto* program : programs)
        snapshot.push_back (PluginProgram::createCopy (*program));

    return snapshot;
}

bool PluginDatabase::write (const Snapshot& snapshot)
{
    const auto file = getDatabaseFile();
    keptCopy = juce::File();

    if (keepFileBeforeWriting && file.existsAsFile() && ! keepCopyOfFile (file))
        return false;

    keepFileBeforeWriting = false;

    // A first run on a fresh account may find no application-data directory yet.
    file.getParentDirectory().createDirectory();

    juce::Array<const PluginProgram*> list;
    list.ensureStorageAllocated ((int) snapshot.size());

    for (const auto& program : snapshot)
        list.add (program.get());

    return writeFile (file, list);
}

void PluginDatabase::writePrograms (juce::OutputStream& out, const juce::Array<const PluginProgram*>& list)
{
    // XmlElement::writeTo with its default header and line breaks, no DTD, and a line-wrap
    // length of 60: an attribute starts a new line, indented to the tag's end, once the
    // attributes on the line have taken more than 60 characters.
    const char* const newLine = "\r\n";
    constexpr int lineWrapLength = 60;
    constexpr int attributeIndent = 2 + 7 + 1;    // the element's indent, "PROGRAM", the "<"

    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" << newLine << newLine << "<" << rootTag;

    if (list.isEmpty())
        out << "/>";
    else
        out << ">";

    for (const auto* program : list)
    {
        out << newLine << "  <" << programTag;
        int lineLength = 0;

        const auto writeAttribute = [&] (const char* name, const juce::String& value, bool escape)
        {
            if (lineLength > lineWrapLength)
            {
                out << newLine;
                out.writeRepeatedByte (' ', attributeIndent);
                lineLength = 0;
            }

            const auto start = out.getPosition();
            out << " " << name << "=\"";

            if (escape)
                writeEscaped (out, value);
            else
                out << value;

            out << "\"";
            lineLength += (int) (out.getPosition() - start);
        };

        const juce::String texts[] = { program->getId(), program->getName(), program->getBank(),
                                       program->getCategory(), program->getSubType(), program->getMode() };

        for (int field = 0; field < numTextFields; ++field)
            writeAttribute (textFieldNames[field], texts[field], true);

        for (int index = 0; index < program->getNumParameters(); ++index)
            writeAttribute (ParameterTable::get (index).name, valueToText (program->getParameter (index)->getValue()), false);

        out << "/>";
    }

    if (! list.isEmpty())
        out << newLine << "</" << rootTag << ">";

    out << newLine;
}

bool PluginDatabase::writeFile (const juce::File& file, const juce::Array<const PluginProgram*>& list)
{
    juce::TemporaryFile temporary (file);
    {
        juce::FileOutputStream out (temporary.getFile(), 1 << 16);

        if (! out.openedOk())
            return false;

        writePrograms (out, list);
        out.flush();

        // A write cut short (a full disk) need not show in the stream's status.
        if (! out.getStatus().wasOk() || temporary.getFile().getSize() != out.getPosition())
            return false;
    }

    return temporary.overwriteTargetFileWithTemporary();
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

PluginProgram* PluginDatabase::insertProgram (std::unique_ptr<PluginProgram> program, int index)
{
    return programs.insert (juce::jlimit (0, programs.size(), index), program.release());
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
    std::bitset<numFields> seen;

    for (int i = 0; i < element.getNumAttributes(); ++i)
    {
        const auto name = element.getAttributeName (i);
        const auto field = findField (name.toRawUTF8());

        if (field >= 0 && ! seen[(size_t) field])
        {
            seen.set ((size_t) field);
            const auto value = element.getAttributeValue (i);
            setField (program, field, { value.toRawUTF8(), value.getNumBytesAsUTF8() });
        }
    }

    setMissingFields (program, seen, missingId, missingText);
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
    return readValue ({ text.toRawUTF8(), text.getNumBytesAsUTF8() });
}

namespace
{
    float readValue (std::string_view utf8)
    {
        const auto plain = readPlainDecimal (utf8);
        const auto value = (float) (plain.has_value() ? *plain : juce::String::fromUTF8 (utf8.data(), (int) utf8.size()).getDoubleValue());

        if (! std::isfinite (value))
            return 0.0f;

        // JUCE's parser drops the sign of zero; keep it so "-0" comes back bit for bit.
        if (value == 0.0f && ! utf8.empty())
        {
            const bool negative = utf8[0] == '-'
                                  || (plain == std::nullopt && juce::String::fromUTF8 (utf8.data(), (int) utf8.size()).trimStart().startsWithChar ('-'));

            if (negative)
                return -0.0f;
        }

        return value;
    }
}
