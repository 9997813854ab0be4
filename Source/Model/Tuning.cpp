#include "Model/Tuning.h"
#include "Model/XmlText.h"

#include <cmath>

namespace
{
    constexpr int largestScale = 1024;          // notes of a scale, entries of a mapping
    constexpr double largestNumber = 1.0e9;     // beyond any key, degree or ratio a tuning needs
    constexpr double lowestHertz = 1.0e-3, highestHertz = 1.0e6;

    // The lines of a text that are not comments ("!" first), with their line numbers.
    struct Line
    {
        int number;
        juce::String text;
    };

    std::vector<Line> linesOf (const juce::String& text)
    {
        std::vector<Line> lines;
        auto start = text.getCharPointer();
        int number = 0;

        while (! start.isEmpty())
        {
            auto end = start;

            while (! end.isEmpty() && *end != '\n')
                ++end;

            const juce::String line (start, end);
            ++number;

            if (! line.startsWithChar ('!'))
                lines.push_back ({ number, line.trimCharactersAtEnd ("\r") });

            start = end.isEmpty() ? end : end + 1;
        }

        return lines;
    }

    // The first word of a line: what a Scala reader reads, the rest being a free comment.
    juce::String firstWord (const juce::String& line)
    {
        return line.trim().upToFirstOccurrenceOf (" ", false, false).upToFirstOccurrenceOf ("\t", false, false);
    }

    std::optional<double> readDecimal (const juce::String& word)
    {
        if (word.isEmpty() || ! word.containsOnly ("0123456789.-+") || ! word.containsAnyOf ("0123456789")
            || word.lastIndexOfAnyOf ("-+") > 0 || word.indexOfChar ('.') != word.lastIndexOfChar ('.'))
            return {};

        const auto value = word.getDoubleValue();
        return std::isfinite (value) && std::abs (value) <= largestNumber ? std::optional<double> (value) : std::nullopt;
    }

    std::optional<long long> readWhole (const juce::String& word)
    {
        if (word.isEmpty() || ! word.containsOnly ("0123456789-") || word.lastIndexOfChar ('-') > 0 || word == "-")
            return {};

        const auto value = word.getDoubleValue();
        return std::abs (value) <= largestNumber ? std::optional<long long> ((long long) value) : std::nullopt;
    }

    // A pitch line: cents when it holds a point, else a ratio "3/2" or a whole number "2".
    std::optional<double> readPitchCents (const juce::String& word)
    {
        if (word.containsChar ('.'))
            return readDecimal (word);

        const auto numerator = readWhole (word.upToFirstOccurrenceOf ("/", false, false));
        const auto denominator = word.containsChar ('/') ? readWhole (word.fromFirstOccurrenceOf ("/", false, false))
                                                         : std::optional<long long> (1);

        if (! numerator.has_value() || ! denominator.has_value() || *numerator <= 0 || *denominator <= 0)
            return {};

        return 1200.0 * std::log2 ((double) *numerator / (double) *denominator);
    }

    long long floorDivide (long long a, long long b) noexcept
    {
        const auto quotient = a / b;
        return quotient * b > a ? quotient - 1 : quotient;
    }

    struct Scale
    {
        juce::String description;
        std::vector<double> cents;     // degrees 1 ... n; the last is the period

        double centsOf (long long degree) const noexcept
        {
            const auto size = (long long) cents.size();
            const auto periods = floorDivide (degree, size);
            const auto step = degree - periods * size;
            return (double) periods * cents.back() + (step == 0 ? 0.0 : cents[(size_t) step - 1]);
        }
    };

    struct Mapping
    {
        int size = 0;                  // 0: every key is one degree
        int firstKey = 0, lastKey = 127, middleKey = 60, referenceKey = 69;
        double referenceHertz = 440.0;
        int periodDegree = 0;          // the degree one repeat of the mapping moves; 0: the scale's size
        std::vector<int> degrees;      // per position; -1 leaves the key out

        std::optional<long long> degreeOf (int key, int scaleSize) const noexcept
        {
            const long long distance = key - middleKey;

            if (size == 0)
                return distance;

            const auto repeats = floorDivide (distance, size);
            const auto position = (size_t) (distance - repeats * size);
            const auto degree = position < degrees.size() ? degrees[position] : -1;

            if (degree < 0)
                return {};

            return degree + repeats * (periodDegree > 0 ? periodDegree : scaleSize);
        }
    };

    juce::String quoted (const juce::String& text)
    {
        return "\"" + (text.length() > 40 ? text.substring (0, 40) + "..." : text) + "\"";
    }

    std::optional<Scale> readScale (const juce::String& text, juce::String& error)
    {
        Scale scale;

        if (text.isEmpty())
        {
            scale.description = "12-tone equal temperament";

            for (int step = 1; step <= 12; ++step)
                scale.cents.push_back (100.0 * step);

            return scale;
        }

        const auto lines = linesOf (text);

        if (lines.size() < 2)
        {
            error = "the scale has no number of notes (a description line, then the number, then one pitch per line)";
            return {};
        }

        scale.description = lines[0].text.trim();
        const auto count = readWhole (firstWord (lines[1].text));

        if (! count.has_value() || *count < 1 || *count > largestScale)
        {
            error = "line " + juce::String (lines[1].number) + " of the scale is no number of notes from 1 to "
                    + juce::String (largestScale) + ": " + quoted (lines[1].text.trim());
            return {};
        }

        if ((long long) lines.size() - 2 < *count)
        {
            error = "the scale promises " + juce::String (*count) + " notes but lists " + juce::String ((int) lines.size() - 2);
            return {};
        }

        for (size_t i = 2; i < (size_t) *count + 2; ++i)
        {
            const auto cents = readPitchCents (firstWord (lines[i].text));

            if (! cents.has_value())
            {
                error = "line " + juce::String (lines[i].number) + " of the scale is no pitch (cents with a point, or a ratio such as 3/2): "
                        + quoted (lines[i].text.trim());
                return {};
            }

            scale.cents.push_back (*cents);
        }

        if (! (scale.cents.back() > 0.0))
        {
            error = "the scale's last pitch, the interval it repeats at, is not above 1/1";
            return {};
        }

        return scale;
    }

    std::optional<Mapping> readMapping (const juce::String& text, juce::String& error)
    {
        Mapping mapping;

        if (text.isEmpty())
            return mapping;

        const auto lines = linesOf (text);
        const char* const names[] = { "the size of the map", "the first key", "the last key", "the middle key",
                                      "the reference key", "the reference frequency", "the degree of the period" };
        constexpr int numHeaderLines = 7;

        if (lines.size() < (size_t) numHeaderLines)
        {
            error = "the keyboard mapping ends before " + juce::String (names[lines.size()]);
            return {};
        }

        double header[numHeaderLines] {};

        for (int i = 0; i < numHeaderLines; ++i)
        {
            const auto word = firstWord (lines[(size_t) i].text);
            const auto number = i == 5 ? readDecimal (word) : readWhole (word).has_value() ? std::optional<double> ((double) *readWhole (word)) : std::nullopt;
            const bool isKey = i >= 1 && i <= 4;
            const bool valid = number.has_value() && (i == 5 ? *number > 0.0 : *number >= 0.0)
                               && (! isKey || *number <= 127.0) && (i != 0 || *number <= largestScale);

            if (! valid)
            {
                error = "line " + juce::String (lines[(size_t) i].number) + " of the keyboard mapping is not " + names[i]
                        + (isKey ? " (0 ... 127)" : i == 0 ? " (0 ... " + juce::String (largestScale) + ")" : juce::String()) + ": "
                        + quoted (lines[(size_t) i].text.trim());
                return {};
            }

            header[i] = *number;
        }

        mapping.size = (int) header[0];
        mapping.firstKey = (int) header[1];
        mapping.lastKey = (int) header[2];
        mapping.middleKey = (int) header[3];
        mapping.referenceKey = (int) header[4];
        mapping.referenceHertz = header[5];
        mapping.periodDegree = (int) juce::jmin (header[6], (double) largestScale * 1000);

        // Entries a mapping leaves out at its end leave their keys out.
        for (size_t i = numHeaderLines; i < lines.size() && (int) mapping.degrees.size() < mapping.size; ++i)
        {
            const auto word = firstWord (lines[i].text);
            const auto degree = readWhole (word);

            if (! (word.equalsIgnoreCase ("x") || (degree.has_value() && *degree >= 0 && *degree <= largestScale * 1000)))
            {
                error = "line " + juce::String (lines[i].number) + " of the keyboard mapping is neither a degree nor x: " + quoted (lines[i].text.trim());
                return {};
            }

            mapping.degrees.push_back (degree.has_value() ? (int) *degree : -1);
        }

        return mapping;
    }
}

double NoteFrequencies::frequencyOf (int note) const noexcept
{
    if (equalTemperament)
        return 440.0 * std::pow (2.0, (note - 69) / 12.0);

    return hertz[(size_t) (juce::jlimit (lowestNote, highestNote, note) - lowestNote)];
}

bool NoteFrequencies::sounds (int note) const noexcept
{
    return equalTemperament || ! juce::isPositiveAndBelow (note, 128) || ! silentKeys[(size_t) note];
}

Tuning::Read Tuning::read (const juce::String& scaleText, const juce::String& mappingText)
{
    Read result;

    for (const auto& [text, what] : { std::pair<const juce::String&, const char*> { scaleText, "scale" }, { mappingText, "keyboard mapping" } })
        if ((int) text.getNumBytesAsUTF8() > largestText)
        {
            result.error = juce::String ("the ") + what + " is larger than 64 KB";
            return result;
        }

    if (scaleText.isEmpty() && mappingText.isEmpty())
    {
        result.tuning = Tuning();
        return result;
    }

    const auto scale = readScale (scaleText, result.error);

    if (! scale.has_value())
        return result;

    const auto mapping = readMapping (mappingText, result.error);

    if (! mapping.has_value())
        return result;

    const auto scaleSize = (int) scale->cents.size();
    const auto referenceDegree = mapping->degreeOf (mapping->referenceKey, scaleSize);

    if (! referenceDegree.has_value())
    {
        result.error = "the keyboard mapping leaves out its own reference key " + juce::String (mapping->referenceKey);
        return result;
    }

    Tuning tuning;
    tuning.scaleText = scaleText;
    tuning.mappingText = mappingText;
    tuning.description = scale->description;
    tuning.frequencies.equalTemperament = false;
    const auto referenceCents = scale->centsOf (*referenceDegree);

    for (int note = NoteFrequencies::lowestNote; note <= NoteFrequencies::highestNote; ++note)
    {
        const auto degree = mapping->degreeOf (note, scaleSize);
        const bool inRange = note >= mapping->firstKey && note <= mapping->lastKey;

        // A key left out still has a pitch for the notes an offset or the wheel take from it.
        const auto hertz = degree.has_value() ? mapping->referenceHertz * std::exp2 ((scale->centsOf (*degree) - referenceCents) / 1200.0)
                                              : mapping->referenceHertz * std::exp2 ((note - mapping->referenceKey) / 12.0);

        // Far keys of a wide scale would leave any frequency an oscillator can play.
        tuning.frequencies.hertz[(size_t) (note - NoteFrequencies::lowestNote)] = juce::jlimit (lowestHertz, highestHertz, hertz);

        if (juce::isPositiveAndBelow (note, 128))
            tuning.frequencies.silentKeys[(size_t) note] = ! degree.has_value() || ! inRange;
    }

    result.tuning = std::move (tuning);
    return result;
}

namespace
{
    // A file's text, or nothing with the reason.
    std::optional<juce::String> loadText (const juce::File& file, juce::String& error)
    {
        juce::MemoryBlock bytes;

        if (file.getSize() > Tuning::largestText)
            error = file.getFileName() + " is larger than 64 KB";
        else if (! file.existsAsFile() || ! file.loadFileAsData (bytes))
            error = "cannot read " + file.getFullPathName();
        else if (bytes.isEmpty())
            error = file.getFileName() + " is empty";
        else
            return Tuning::textOf (bytes.getData(), bytes.getSize());

        return {};
    }

    bool isMappingFile (const juce::File& file)
    {
        return file.hasFileExtension ("kbm");
    }
}

Tuning::Read Tuning::readFiles (const juce::File& scaleFile, const juce::File& mappingFile)
{
    Read result;
    juce::String texts[2];
    const juce::File files[] = { scaleFile, mappingFile };

    for (int i = 0; i < 2; ++i)
    {
        if (files[i] == juce::File())
            continue;

        const auto text = loadText (files[i], result.error);

        if (! text.has_value())
            return result;

        texts[i] = *text;
    }

    result = read (texts[0], texts[1]);

    if (result.error.isNotEmpty())
        result.error = (result.error.contains ("keyboard mapping") ? files[1] : files[0]).getFileName() + ": " + result.error;

    return result;
}

Tuning::Read Tuning::withFile (const juce::File& file) const
{
    Read result;
    const auto text = loadText (file, result.error);

    if (! text.has_value())
        return result;

    result = isMappingFile (file) ? read (scaleText, *text) : read (*text, mappingText);

    if (result.error.isNotEmpty())
        result.error = file.getFileName() + ": " + result.error;

    return result;
}

juce::String Tuning::textOf (const void* data, size_t size)
{
    return XmlText::decode (data, size).text;
}
