#include "FuzzEnvironment.h"
#include "Model/Enumeration.h"
#include "Model/PluginDatabase.h"
#include "Model/XmlText.h"
#include "ReferenceReading.h"

#include <sanitizer/common_interface_defs.h>

#include <csignal>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

// Any bytes as the database file. Loading must not crash and must never give a program a
// value that is not finite; a file that did not load completely is copied byte for byte
// before the save that replaces it, and only once; what was saved loads completely and
// gives the same programs back.
//
// The project's reader is also compared with JUCE's: on every decoded text that JUCE's
// reader reads quickly and without a fault, the programs the database reads (streaming,
// with its own number reader) must be those found in JUCE's tree by attribute look-ups and
// JUCE's own number parser. Where JUCE's reader can loop for ever or read past its input
// (a processing instruction after the XML declaration, a hexadecimal character reference)
// it runs in a child process with a time limit, otherwise in this one. Left out of the
// comparison are texts with a document type (JUCE expands its entities, the project's
// reader never does), texts that could nest elements deeper than the project's reader
// allows, and texts with a character reference to a number that is no Unicode character
// (the project's reader writes U+FFFD for it, JUCE's whatever its UTF-8 writer makes of
// the number's bits, which may happen to be a valid character).
namespace
{
    FuzzEnvironment environment;

    // A child that ended must not end the fuzzer through a write to its pipe.
    const auto ignoreBrokenPipes = std::signal (SIGPIPE, SIG_IGN);

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

    juce::String describeProgram (const PluginProgram& program)
    {
        juce::String description;

        for (const auto& text : { program.getId(), program.getName(), program.getBank(),
                                  program.getCategory(), program.getSubType(), program.getMode() })
            description << text.length() << ":" << text << " ";

        for (int i = 0; i < program.getNumParameters(); ++i)
        {
            const auto value = program.getParameter (i)->getValue();
            uint32_t bits;
            std::memcpy (&bits, &value, sizeof (bits));
            description << juce::String::toHexString ((int) bits) << " ";
        }

        return description << "\n";
    }

    // The programs of JUCE's tree, found by attribute look-ups as JUCE offers them.
    std::string describeJuceTree (const juce::XmlElement* root)
    {
        if (root == nullptr)
            return "no element";

        if (! root->hasTagName ("VELMORA_DATABASE"))
            return "other root";

        juce::String description;

        for (auto* child : root->getChildIterator())
        {
            if (child->getTagName() != "PROGRAM")
                continue;

            PluginProgram program;
            testing_helpers::readByLookUps (*child, program);
            description << describeProgram (program);
        }

        return description.toStdString();
    }

    // The programs the database reads from the bytes.
    std::string describeDatabaseReading (const uint8_t* data, size_t size)
    {
        auto content = PluginDatabase::readBytes (juce::MemoryBlock (data, size));

        if (content.unreadable == "is not XML")
            return "no element";

        if (content.unreadable.isNotEmpty())
            return "other root";

        juce::String description;

        for (const auto* program : content.programs)
            description << describeProgram (*program);

        return description.toStdString();
    }

    // Whether a character reference in the text stands for a number that is no Unicode
    // character, read as both readers read one (at most 8 hexadecimal digits, at most 12
    // characters of a decimal one, the number cut to 32 bits).
    bool refersToNoCharacter (const juce::String& text)
    {
        for (auto p = text.getCharPointer(); ! p.isEmpty(); ++p)
        {
            if (p[0] != '&' || p[1] != '#')
                continue;

            auto q = p + 2;
            int64_t code = 0;

            if (*q == 'x' || *q == 'X')
            {
                ++q;

                for (int numDigits = 0; *q != ';'; ++q)
                {
                    const auto digit = juce::CharacterFunctions::getHexDigitValue (*q);

                    if (digit < 0 || ++numDigits > 8)
                        break;

                    code = (code << 4) | digit;
                }
            }
            else if (*q >= '0' && *q <= '9')
            {
                for (int numChars = 0; *q != ';' && ! q.isEmpty() && ++numChars <= 12; ++q)
                    code = code * 10 + ((int64_t) *q - '0');
            }

            const auto character = (uint32_t) (uint64_t) code;

            if (character > 0x10ffff || (character >= 0xd800 && character <= 0xdfff))
                return true;
        }

        return false;
    }

    bool mayHarmJucesReader (const juce::String& text)
    {
        const auto afterDeclaration = text.trimStart().startsWith ("<?xml") ? text.indexOf ("?>") : 0;
        return text.indexOf (afterDeclaration, "<?") >= 0 || text.containsIgnoreCase ("&#x");
    }

    bool writeAll (int fd, const void* data, size_t size)
    {
        for (size_t written = 0; written < size;)
        {
            const auto n = ::write (fd, static_cast<const char*> (data) + written, size - written);

            if (n <= 0)
                return false;

            written += (size_t) n;
        }

        return true;
    }

    bool sendMessage (int fd, const std::string& message)
    {
        const auto length = (uint32_t) message.size();
        return writeAll (fd, &length, sizeof (length)) && writeAll (fd, message.data(), message.size());
    }

    // Reads a message whole; gives up when the deadline (a millisecond counter) passes.
    bool receiveMessage (int fd, std::string& message, uint32_t deadline)
    {
        std::string received;
        uint32_t length = 0;

        for (;;)
        {
            if (received.size() >= sizeof (length))
            {
                std::memcpy (&length, received.data(), sizeof (length));

                if (received.size() == sizeof (length) + length)
                {
                    message = received.substr (sizeof (length));
                    return true;
                }
            }

            const auto now = juce::Time::getMillisecondCounter();
            pollfd input { fd, POLLIN, 0 };

            if (now >= deadline || ::poll (&input, 1, (int) (deadline - now)) <= 0)
                return false;

            char buffer[4096];
            const auto wanted = received.size() < sizeof (length) ? sizeof (length) - received.size()
                                                                   : sizeof (length) + length - received.size();
            const auto n = ::read (fd, buffer, juce::jmin (sizeof (buffer), wanted));

            if (n <= 0)
                return false;

            received.append (buffer, (size_t) n);
        }
    }

    // JUCE's reader in a child process, which reads one text at a time from a pipe and
    // answers with the programs it found. A child that does not answer within 50 ms (JUCE's
    // reader needs about one here; a late answer only leaves a text out) or that dies is
    // ended, and a new one started for the next text.
    class JuceReaderProcess
    {
    public:
        ~JuceReaderProcess()    { stop(); }

        std::optional<std::string> describe (const juce::String& text)
        {
            std::string answer;

            if ((child > 0 || start())
                 && sendMessage (toChild, text.toStdString())
                 && receiveMessage (fromChild, answer, juce::Time::getMillisecondCounter() + 50))
                return answer;

            stop();
            return {};
        }

    private:
        bool start()
        {
            int request[2], answer[2];

            if (::pipe (request) != 0)
                return false;

            if (::pipe (answer) != 0)
            {
                ::close (request[0]);
                ::close (request[1]);
                return false;
            }

            child = ::fork();

            if (child == 0)
            {
                ::close (request[1]);
                ::close (answer[0]);
                serve (request[0], answer[1]);
            }

            ::close (request[0]);
            ::close (answer[1]);
            toChild = request[1];
            fromChild = answer[0];

            if (child < 0)
            {
                stop();
                return false;
            }

            return true;
        }

        [[noreturn]] static void serve (int requests, int answers)
        {
            ::prctl (PR_SET_PDEATHSIG, SIGKILL);

            // A fault of JUCE's reader is no finding: no report, no crash input written.
            __sanitizer_set_death_callback (nullptr);

            for (const auto signal : { SIGSEGV, SIGBUS, SIGABRT, SIGILL, SIGFPE })
                std::signal (signal, SIG_DFL);

            const auto devNull = ::open ("/dev/null", O_WRONLY);
            ::dup2 (devNull, STDERR_FILENO);

            for (std::string text;
                 receiveMessage (requests, text, std::numeric_limits<uint32_t>::max())
                   && sendMessage (answers, describeJuceTree (juce::parseXML (juce::String::fromUTF8 (text.data(), (int) text.size())).get()));)
            {
            }

            ::_exit (0);
        }

        void stop()
        {
            for (auto* fd : { &toChild, &fromChild })
            {
                if (*fd >= 0)
                    ::close (*fd);

                *fd = -1;
            }

            if (child > 0)
            {
                ::kill (child, SIGKILL);
                ::waitpid (child, nullptr, 0);
            }

            child = -1;
        }

        pid_t child = -1;
        int toChild = -1, fromChild = -1;
    };

    std::optional<std::string> describeJuceReading (const juce::String& text)
    {
        static JuceReaderProcess process;

        if (mayHarmJucesReader (text))
            return process.describe (text);

        return describeJuceTree (juce::parseXML (text).get());
    }

    void compareWithJuce (const uint8_t* data, size_t size)
    {
        const auto text = XmlText::decode (data, size).text;

        if (text.contains ("<!DOCTYPE") || text.retainCharacters ("<").length() > XmlReader::maximumDepth
             || refersToNoCharacter (text))
            return;

        const auto juceDescription = describeJuceReading (text);

        if (! juceDescription.has_value())
            return;

        const auto ownDescription = describeDatabaseReading (data, size);

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
