#include "RenderOptionTable.h"

#include <sstream>

namespace
{
    using Group = RenderOption::Group;

    const std::vector<RenderOption> options {
        { "--rate",            "HZ",                 "sample rate of the output, from 8000 to 768000 Hz (default 48000)", Group::rendering },
        { "--block",           "N",                  "samples per processing block, from 1 to 65536, as a host with blocks of a fixed size delivers them (default 512); with --bench, the block size of every case", Group::rendering },
        { "--channels",        "1|2",                "mono or stereo output (default 2)", Group::rendering },
        { "--bits",            "16|24|32",           "sample format of the WAV file; 32 (the default) writes floating-point samples", Group::rendering },
        { "--program",         "NAME",               "play the first program of that name in the program database, or else the factory program of that name (default: a program with the default values)", Group::rendering },
        { "--phrase",          "audition|held16",    "play a built-in phrase instead of a MIDI file, at 100 bpm: audition is the factory bank's audition phrase (a low C, a chord, a melody with a held last note and one sweep of the modulation wheel), held16 sixteen notes held for four seconds; then only the output WAV file is given", Group::rendering },
        { "--program-file",    "FILE",               "play the first program of a program file (.quenby, or a program database); not together with --program", Group::rendering },
        { "--state",           "FILE",               "restore a state chunk saved by a host or by --save-state before rendering", Group::rendering },
        { "--set",             "NAME=VALUE",         "set a parameter of the program by name, stored exactly as given, after --program and --state (repeatable); a value beyond the float range is stored as 0", Group::rendering },
        { "--at",              "SECONDS NAME=VALUE", "change a parameter at that time of the song, before the block in which the time falls (repeatable); the render goes on to a change after the last MIDI event", Group::rendering },
        { "--scl",             "FILE",               "play in the tuning of a Scala scale file (.scl) instead of equal temperament, replacing the tuning of a --state file; with --save-state the chunk keeps it", Group::rendering },
        { "--kbm",             "FILE",               "map the keys to the scale with a Scala keyboard mapping file (.kbm): which key plays which degree, and the reference key and its frequency; without --scl the scale is twelve equal steps", Group::rendering },
        { "--cc",              "NUMBER=NAME",        "bind a MIDI controller (2 to 119, but 32, 64 and 66) to a parameter by name, after --state, so the MIDI file's controller moves it over its whole range (repeatable)", Group::rendering },
        { "--save-state",      "FILE",               "write the state chunk (the one a host keeps in its project) after --program, --state and --set; with no MIDI and WAV file, only that is done", Group::rendering },
        { "--bpm",             "BPM",                "the tempo the play head reports, above 0 and up to 1000 (default: the MIDI file's first tempo, else 120)", Group::rendering },
        { "--tail",            "SECONDS",            "longest rendering after the last MIDI event, from 0 to 3600 (default 30); the render ends sooner once the output has been silent for half a second", Group::rendering },

        { "--list-parameters", "",                   "print every parameter (index, name, default with its meaning, the values it takes) and do nothing else", Group::listing },
        { "--list-programs",   "",                   "print the name, bank and category of every program in the program database and do nothing else", Group::listing },

        { "--bench",           "[CASE] [VOICES]",    "measure the engine instead of rendering: the real-time factor and the block times of every benchmark case (light, standard, heavy, idle, vibrato, wobble, storm) with 8, 32, 64 and 128 voices, or of the case and number of voices given", Group::benchmark },
        { "--seconds",         "S",                  "with --bench: seconds of audio measured in each case (default 3)", Group::benchmark },
        { "--lanes",           "avx512|avx2|off",    "with --bench: the voice lanes measured (default: the widest the processor runs); off renders the voices one at a time", Group::benchmark },

        { "--help",            "",                   "print this help and exit", Group::information, "-h" },
        { "--version",         "",                   "print the version and exit", Group::information },
    };

    const std::vector<const char*> synopses {
        "[options] input.mid output.wav",
        "[options] --phrase audition|held16 output.wav",
        "[--program NAME] [--state FILE] [--set NAME=VALUE ...] [--cc NUMBER=NAME ...] [--scl FILE] [--kbm FILE] --save-state FILE",
        "--list-parameters | --list-programs",
        "--bench [CASE] [VOICES] [--seconds S] [--block N] [--lanes avx512|avx2|off]",
        "--help | --version",
    };

    const Group groups[] = { Group::rendering, Group::listing, Group::benchmark, Group::information };

    std::string getOptionAndArgument (const RenderOption& option)
    {
        std::string text = *option.shortName != 0 ? std::string (option.shortName) + ", " + option.name : option.name;
        return option.takesValue() ? text + " " + option.argument : text;
    }

    // Words filled into lines that end before the width, starting at the indent's column,
    // every line after the first indented.
    std::string wrap (const std::string& text, size_t indent, size_t width)
    {
        std::istringstream words (text);
        std::string result, word;
        size_t column = indent;

        while (words >> word)
        {
            if (column > indent && column + 1 + word.size() > width)
            {
                result += "\n" + std::string (indent, ' ');
                column = indent;
            }
            else if (column > indent)
            {
                result += " ";
                ++column;
            }

            result += word;
            column += word.size();
        }

        return result;
    }

    // Text set in roff: backslashes and hyphens escaped (a plain "-" may print as a dash).
    std::string roff (const std::string& text)
    {
        std::string result;

        for (const auto c : text)
        {
            if (c == '\\')
                result += "\\e";
            else if (c == '-')
                result += "\\-";
            else
                result += c;
        }

        return result;
    }
}

const std::vector<RenderOption>& RenderOptionTable::getOptions()
{
    return options;
}

const RenderOption* RenderOptionTable::find (const std::string& name)
{
    for (const auto& option : options)
        if (name == option.name || (*option.shortName != 0 && name == option.shortName))
            return &option;

    return nullptr;
}

const std::vector<const char*>& RenderOptionTable::getSynopses()
{
    return synopses;
}

const char* RenderOptionTable::getGroupTitle (RenderOption::Group group)
{
    switch (group)
    {
        case Group::rendering:   return "Rendering";
        case Group::listing:     return "Listing";
        case Group::benchmark:   return "Benchmark";
        case Group::information: return "Help";
    }

    return "";
}

std::string RenderOptionTable::formatHelp()
{
    constexpr size_t width = 79, descriptionColumn = 23;
    std::string text;

    for (size_t i = 0; i < synopses.size(); ++i)
        text += std::string (i == 0 ? "usage: " : "       ") + "quenby-render " + synopses[i] + "\n";

    for (const auto group : groups)
    {
        text += std::string ("\n") + getGroupTitle (group) + ":\n";

        for (const auto& option : options)
        {
            if (option.group != group)
                continue;

            auto line = "  " + getOptionAndArgument (option);

            if (line.size() + 2 > descriptionColumn)
                line += "\n" + std::string (descriptionColumn, ' ');
            else
                line += std::string (descriptionColumn - line.size(), ' ');

            text += line + wrap (option.description, descriptionColumn, width) + "\n";
        }
    }

    return text;
}

std::string RenderOptionTable::formatManualSynopsis()
{
    std::string text;

    for (size_t i = 0; i < synopses.size(); ++i)
        text += std::string (i == 0 ? "" : ".br\n") + "\\fBquenby\\-render\\fR " + roff (synopses[i]) + "\n";

    return text;
}

std::string RenderOptionTable::formatManualOptions()
{
    std::string text;

    for (const auto group : groups)
    {
        text += std::string (".SS ") + getGroupTitle (group) + "\n";

        for (const auto& option : options)
        {
            if (option.group != group)
                continue;

            text += ".TP\n";

            if (*option.shortName != 0)
                text += "\\fB" + roff (option.shortName) + "\\fR, ";

            text += "\\fB" + roff (option.name) + "\\fR";

            if (option.takesValue())
                text += " \\fI" + roff (option.argument) + "\\fR";

            text += "\n" + roff (option.description) + ".\n";
        }
    }

    return text;
}
