#include "RenderOptions.h"
#include "RenderOptionTable.h"
#include "AuditionPhrase.h"
#include "Model/Enumeration.h"
#include "Model/MidiMappings.h"

#include <cmath>

namespace
{
    bool readNumber (const juce::String& text, double& result)
    {
        const auto trimmed = text.trim();

        if (trimmed.isEmpty() || ! trimmed.containsOnly ("0123456789.-+eE"))
            return false;

        result = trimmed.getDoubleValue();
        return std::isfinite (result);
    }

    bool readWholeNumber (const juce::String& text, int& result)
    {
        const auto trimmed = text.trim();

        if (trimmed.isEmpty() || ! trimmed.containsOnly ("0123456789") || trimmed.length() > 9)
            return false;

        result = trimmed.getIntValue();
        return true;
    }
}

juce::String RenderOptions::getUsage()
{
    return RenderOptionTable::formatHelp();
}

std::optional<RenderOptions> RenderOptions::parse (const juce::StringArray& arguments, juce::String& error)
{
    RenderOptions options;
    juce::StringArray files;

    for (int i = 0; i < arguments.size(); ++i)
    {
        const auto& argument = arguments[i];

        if (! argument.startsWith ("--") || argument == "--")
        {
            files.add (argument);
            continue;
        }

        const auto* option = RenderOptionTable::find (argument.toStdString());

        if (option == nullptr)
        {
            error = "unknown option " + argument;
            return {};
        }

        if (option->group == RenderOption::Group::benchmark)
        {
            error = argument + " is an option of --bench";
            return {};
        }

        if (! option->takesValue())
        {
            if (argument == "--list-parameters" || argument == "--list-programs")
            {
                (argument == "--list-parameters" ? options.listParameters : options.listPrograms) = true;
                continue;
            }

            error = "option " + argument + " is in the option table but not read";
            return {};
        }

        if (i + 1 >= arguments.size())
        {
            error = "option " + argument + " needs a value";
            return {};
        }

        const auto value = arguments[++i];
        double number = 0.0;

        if (argument == "--rate")
        {
            if (! readNumber (value, number) || number < 8000.0 || number > 768000.0)
            {
                error = "--rate must be a sample rate between 8000 and 768000 Hz, not '" + value + "'";
                return {};
            }

            options.sampleRate = number;
        }
        else if (argument == "--block")
        {
            if (! readWholeNumber (value, options.blockSize) || options.blockSize < 1 || options.blockSize > 65536)
            {
                error = "--block must be a whole number of samples from 1 to 65536, not '" + value + "'";
                return {};
            }
        }
        else if (argument == "--channels")
        {
            if (value != "1" && value != "2")
            {
                error = "--channels must be 1 or 2, not '" + value + "'";
                return {};
            }

            options.numChannels = value.getIntValue();
        }
        else if (argument == "--bits")
        {
            if (value != "16" && value != "24" && value != "32")
            {
                error = "--bits must be 16, 24 or 32, not '" + value + "'";
                return {};
            }

            options.bitsPerSample = value.getIntValue();
        }
        else if (argument == "--bpm")
        {
            if (! readNumber (value, number) || number <= 0.0 || number > 1000.0)
            {
                error = "--bpm must be a tempo above 0 and up to 1000, not '" + value + "'";
                return {};
            }

            options.bpm = number;
        }
        else if (argument == "--tail")
        {
            if (! readNumber (value, number) || number < 0.0 || number > 3600.0)
            {
                error = "--tail must be a number of seconds from 0 to 3600, not '" + value + "'";
                return {};
            }

            options.tailSeconds = number;
        }
        else if (argument == "--set")
        {
            const auto name = value.upToFirstOccurrenceOf ("=", false, false).trim();
            const auto text = value.fromFirstOccurrenceOf ("=", false, false);

            if (! value.contains ("=") || name.isEmpty() || ! readNumber (text, number))
            {
                error = "--set needs NAME=VALUE with a number, not '" + value + "'";
                return {};
            }

            options.parameterSets.emplace_back (name, (float) number);
        }
        else if (argument == "--at")
        {
            if (i + 1 >= arguments.size())
            {
                error = "--at needs SECONDS NAME=VALUE";
                return {};
            }

            const auto change = arguments[++i];
            const auto name = change.upToFirstOccurrenceOf ("=", false, false).trim();
            const auto index = Enumeration::findIndex (name);
            double changeValue = 0.0;

            if (! readNumber (value, number) || number < 0.0 || number > 86400.0)
            {
                error = "--at needs a time from 0 to 86400 seconds, not '" + value + "'";
                return {};
            }

            if (! change.contains ("=") || ! readNumber (change.fromFirstOccurrenceOf ("=", false, false), changeValue))
            {
                error = "--at needs NAME=VALUE with a number after its time, not '" + change + "'";
                return {};
            }

            if (index == ParameterIndex::none)
            {
                error = "--at names no parameter '" + name + "' (--list-parameters lists them)";
                return {};
            }

            options.timedChanges.push_back ({ number, index, (float) changeValue });
        }
        else if (argument == "--cc")
        {
            const auto name = value.fromFirstOccurrenceOf ("=", false, false).trim();
            const auto index = Enumeration::findIndex (name);
            int controller = 0;

            if (! value.contains ("=") || ! readWholeNumber (value.upToFirstOccurrenceOf ("=", false, false), controller)
                 || ! MidiMappings::isLearnable (controller))
            {
                error = "--cc needs NUMBER=NAME with a controller from 2 to 119 but 32, 64 and 66, not '" + value + "'";
                return {};
            }

            if (! MidiMappings::isMappable (index))
            {
                error = "--cc names no parameter with a control '" + name + "' (--list-parameters lists them)";
                return {};
            }

            options.controllerBindings.emplace_back (controller, index);
        }
        else if (argument == "--program")
        {
            if (value.isEmpty())
            {
                error = "--program needs a program name";
                return {};
            }

            options.programName = value;
        }
        else if (argument == "--phrase")
        {
            if (! AuditionPhrase::getNames().contains (value))
            {
                error = "--phrase must be one of " + AuditionPhrase::getNames().joinIntoString (", ") + ", not '" + value + "'";
                return {};
            }

            options.phrase = value;
        }
        else if (argument == "--program-file")
        {
            if (value.isEmpty())
            {
                error = "--program-file needs a file name";
                return {};
            }

            options.programFile = juce::File::getCurrentWorkingDirectory().getChildFile (value);
        }
        else if (argument == "--state" || argument == "--save-state" || argument == "--scl" || argument == "--kbm")
        {
            if (value.isEmpty())
            {
                error = argument + " needs a file name";
                return {};
            }

            const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (value);
            (argument == "--state" ? options.stateFile : argument == "--save-state" ? options.saveStateFile
                                   : argument == "--scl" ? options.scaleFile : options.mappingFile) = file;
        }
        else
        {
            error = "option " + argument + " is in the option table but not read";
            return {};
        }
    }

    if (options.programName.isNotEmpty() && options.programFile != juce::File())
    {
        error = "--program and --program-file each choose the program: give one of them";
        return {};
    }

    if (options.listsOnly())
    {
        if (files.isEmpty())
            return options;

        error = "--list-parameters and --list-programs print a table and take no files";
        return {};
    }

    if (files.isEmpty() && options.saveStateFile != juce::File())
        return options;

    if (options.phrase.isNotEmpty())
    {
        if (files.size() != 1)
        {
            error = "--phrase plays instead of a MIDI file: expected only an output WAV file";
            return {};
        }

        options.outputFile = juce::File::getCurrentWorkingDirectory().getChildFile (files[0]);
        return options;
    }

    if (files.size() != 2)
    {
        error = "expected an input MIDI file and an output WAV file";
        return {};
    }

    options.midiFile = juce::File::getCurrentWorkingDirectory().getChildFile (files[0]);
    options.outputFile = juce::File::getCurrentWorkingDirectory().getChildFile (files[1]);
    return options;
}
