#include "FuzzEnvironment.h"
#include "Model/PluginDatabase.h"
#include "Model/XmlText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

// Any bytes as the database file. Loading must not crash and must never give a program a
// value that is not finite; a file that did not load completely is copied byte for byte
// before the save that replaces it, and only once; what was saved loads completely and
// gives the same programs back.
//
// The project's XML reader is also compared with JUCE's: on every decoded text that JUCE's
// reader reads within a second and without a fault, both must find the same programs.
// JUCE's reader runs in a child process, since on some texts it loops for ever or reads
// past its input. Left out of the comparison are texts with a document type (JUCE expands
// its entities, the project's reader never does), texts that could nest elements deeper
// than the project's reader allows, and results in which JUCE's reader made text that is
// not valid Unicode (the project's reader writes U+FFFD there).
namespace
{
    FuzzEnvironment environment;

    void checkFinite (const PluginDatabase& database)
    {
        for (int p = 0; p < database.getNumPrograms(); ++p)
        {
            const auto* program = database.getProgram (p);

            for (int i = 0; i < program->getNumParameters(); ++i)
                if (! std::isfinite (program->getParameter (i)->getValue()))
                    __builtin_trap();
        }
    }

    bool isValidText (const juce::String& text)
    {
        return XmlText::decode (text.toRawUTF8(), text.getNumBytesAsUTF8()).exact;
    }

    // The programs a database element holds, as text; "skip" when a text is not valid Unicode.
    std::string describePrograms (const juce::XmlElement* root)
    {
        if (root == nullptr)
            return "no element";

        if (! root->hasTagName ("VELMORA_DATABASE"))
            return "root " + root->getTagName().toStdString();

        juce::OwnedArray<PluginProgram> programs;
        PluginDatabase::readPrograms (*root, programs);
        juce::String description;

        for (const auto* program : programs)
        {
            for (const auto& text : { program->getId(), program->getName(), program->getBank(),
                                      program->getCategory(), program->getSubType(), program->getMode() })
            {
                if (! isValidText (text))
                    return "skip";

                description << text.length() << ":" << text << " ";
            }

            for (int i = 0; i < program->getNumParameters(); ++i)
            {
                const auto value = program->getParameter (i)->getValue();
                uint32_t bits;
                std::memcpy (&bits, &value, sizeof (bits));
                description << juce::String::toHexString ((int) bits) << " ";
            }

            description << "\n";
        }

        return description.toStdString();
    }

    std::optional<std::string> describeJuceReading (const juce::String& text)
    {
        int pipeEnds[2];

        if (::pipe (pipeEnds) != 0)
            return {};

        const auto child = ::fork();

        if (child < 0)
        {
            ::close (pipeEnds[0]);
            ::close (pipeEnds[1]);
            return {};
        }

        if (child == 0)
        {
            // A fault report of JUCE's reader is not a finding here.
            const auto devNull = ::open ("/dev/null", O_WRONLY);
            ::dup2 (devNull, STDERR_FILENO);
            ::close (pipeEnds[0]);

            const auto description = describePrograms (juce::parseXML (text).get());

            for (size_t written = 0; written < description.size();)
            {
                const auto n = ::write (pipeEnds[1], description.data() + written, description.size() - written);

                if (n <= 0)
                    ::_exit (1);

                written += (size_t) n;
            }

            ::_exit (0);
        }

        ::close (pipeEnds[1]);
        std::string description;
        bool finished = false;
        const auto deadline = juce::Time::getMillisecondCounter() + 1000;

        for (;;)
        {
            const auto now = juce::Time::getMillisecondCounter();
            pollfd input { pipeEnds[0], POLLIN, 0 };

            if (now >= deadline || ::poll (&input, 1, (int) (deadline - now)) <= 0)
                break;

            char buffer[4096];
            const auto n = ::read (pipeEnds[0], buffer, sizeof (buffer));

            if (n <= 0)
            {
                finished = n == 0;
                break;
            }

            description.append (buffer, (size_t) n);
        }

        ::close (pipeEnds[0]);

        if (! finished)
            ::kill (child, SIGKILL);

        int status = 0;
        ::waitpid (child, &status, 0);

        if (! finished || ! WIFEXITED (status) || WEXITSTATUS (status) != 0 || description == "skip")
            return {};

        return description;
    }

    void compareWithJuce (const uint8_t* data, size_t size)
    {
        const auto text = XmlText::decode (data, size).text;

        if (text.contains ("<!DOCTYPE") || text.retainCharacters ("<").length() > XmlReader::maximumDepth)
            return;

        const auto juceDescription = describeJuceReading (text);

        if (! juceDescription.has_value())
            return;

        const auto ownDescription = describePrograms (XmlReader::read (text).element.get());

        if (ownDescription != *juceDescription)
        {
            std::fprintf (stderr, "JUCE's reader finds:\n%s\nthe project's reader finds:\n%s\n",
                          juceDescription->c_str(), ownDescription.c_str());
            __builtin_trap();
        }
    }

    juce::Array<juce::File> keptCopies (const juce::File& folder)
    {
        return folder.findChildFiles (juce::File::findFiles, false, "VelmoraDatabase.xml.unreadable-*");
    }

    void expectSamePrograms (const PluginDatabase& a, const PluginDatabase& b)
    {
        if (a.getNumPrograms() != b.getNumPrograms())
            __builtin_trap();

        for (int p = 0; p < a.getNumPrograms(); ++p)
        {
            const auto* x = a.getProgram (p);
            const auto* y = b.getProgram (p);

            for (int column = 0; column < 5; ++column)
                if (x->getColumnText (column) != y->getColumnText (column))
                    __builtin_trap();

            if (x->getId() != y->getId())
                __builtin_trap();

            for (int i = 0; i < x->getNumParameters(); ++i)
                if (x->getParameter (i)->getValue() != y->getParameter (i)->getValue())
                    __builtin_trap();
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    const auto file = PluginDatabase::getDatabaseFile();
    const auto folder = file.getParentDirectory();
    folder.deleteRecursively();
    folder.createDirectory();

    // replaceWithData makes no file for no bytes.
    if (! (size == 0 ? file.create().wasOk() : file.replaceWithData (data, size)))
        return 0;

    PluginDatabase database;
    database.load();
    checkFinite (database);
    compareWithJuce (data, size);

    const bool keepsCopy = database.getLoadProblem().isNotEmpty();
    database.save();
    database.save();

    const auto copies = keptCopies (folder);

    if (copies.size() != (keepsCopy ? 1 : 0))
        __builtin_trap();

    if (keepsCopy)
    {
        juce::MemoryBlock copied;

        if (! copies[0].loadFileAsData (copied) || copied != juce::MemoryBlock (data, size))
            __builtin_trap();
    }

    PluginDatabase reloaded;
    reloaded.load();

    if (reloaded.getLoadProblem().isNotEmpty())
        __builtin_trap();

    expectSamePrograms (database, reloaded);
    return 0;
}
