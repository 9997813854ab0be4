#include "Model/ParameterUnits.h"
#include "Model/NoteValue.h"
#include "Model/ParameterValue.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

namespace
{
    using Unit = ParameterUnit;

    // A number of the text's start and what follows it, lower-cased: "1.5 kHz" is 1.5 and
    // "khz". A comma is taken for the decimal point.
    struct NumberAndSuffix
    {
        double number;
        juce::String suffix;
    };

    std::optional<NumberAndSuffix> splitNumber (const juce::String& text)
    {
        const auto trimmed = text.trim().replaceCharacter (',', '.');
        int end = 0;

        if (end < trimmed.length() && (trimmed[end] == '+' || trimmed[end] == '-'))
            ++end;

        const int digitsStart = end;
        bool point = false;

        for (; end < trimmed.length(); ++end)
        {
            if (trimmed[end] == '.' && ! point)
                point = true;
            else if (! juce::CharacterFunctions::isDigit (trimmed[end]))
                break;
        }

        const auto digits = trimmed.substring (digitsStart, end);

        if (! digits.containsAnyOf ("0123456789"))
            return {};

        const auto number = trimmed.substring (0, end).getDoubleValue();

        if (! std::isfinite (number))
            return {};

        return NumberAndSuffix { number, trimmed.substring (end).trim().toLowerCase() };
    }

    struct Suffix
    {
        const char* text;
        double multiplier;
    };

    // The number times the multiplier of its suffix, when the suffix is one of those given.
    std::optional<double> readWithSuffix (const juce::String& text, std::initializer_list<Suffix> suffixes)
    {
        const auto split = splitNumber (text);

        if (! split.has_value())
            return {};

        for (const auto& suffix : suffixes)
            if (split->suffix == suffix.text)
                return split->number * suffix.multiplier;

        return {};
    }

    std::optional<double> readSeconds (const juce::String& text)
    {
        return readWithSuffix (text, { { "", 1.0 }, { "s", 1.0 }, { "sec", 1.0 }, { "secs", 1.0 }, { "seconds", 1.0 },
                                       { "ms", 0.001 }, { "msec", 0.001 } });
    }

    // "-40L" never comes from a text; "40L", "L40", "40 L", "L" (all the way), "C" or a
    // number from -100 (left) to +100 (right).
    std::optional<double> readPan (const juce::String& text)
    {
        auto t = text.trim().toLowerCase();

        if (t == "c" || t == "center" || t == "centre" || t == "mid")
            return 0.0;

        for (const auto& [word, side] : { std::pair<const char*, double> { "left", -1.0 }, { "right", 1.0 },
                                          { "l", -1.0 }, { "r", 1.0 } })
        {
            if (! (t.startsWith (word) || t.endsWith (word)))
                continue;

            const auto rest = (t.startsWith (word) ? t.substring ((int) std::strlen (word)) : t.dropLastCharacters ((int) std::strlen (word))).trim();

            if (rest.isEmpty())
                return side;

            const auto split = splitNumber (rest);
            return split.has_value() && split->suffix.isEmpty() && split->number >= 0.0 ? std::optional<double> (side * split->number / 100.0)
                                                                                        : std::nullopt;
        }

        const auto split = splitNumber (t);
        return split.has_value() && split->suffix.isEmpty() ? std::optional<double> (split->number / 100.0) : std::nullopt;
    }

    // "3/16", "1/8" (two sixteenths) or a number of sixteenths.
    std::optional<double> readSixteenths (const juce::String& text)
    {
        if (! text.containsChar ('/'))
            return readWithSuffix (text, { { "", 1.0 } });

        const auto numerator = readWithSuffix (text.upToFirstOccurrenceOf ("/", false, false), { { "", 1.0 } });
        const auto denominator = readWithSuffix (text.fromFirstOccurrenceOf ("/", false, false), { { "", 1.0 } });

        if (! numerator.has_value() || ! denominator.has_value() || *denominator <= 0.0)
            return {};

        return 16.0 * *numerator / *denominator;
    }

    std::optional<double> readNoteValue (const juce::String& text)
    {
        for (int note = 0; note < NoteValue::count; ++note)
            if (text.trim().equalsIgnoreCase (NoteValue::all[note].name))
                return (double) note;

        return {};
    }

    // Whole numbers as the texts show them; far beyond any setting, whatever the formatting gives.
    juce::String wholeText (double quantity)
    {
        if (! std::isfinite (quantity))
            return std::isnan (quantity) ? "NaN" : (quantity > 0.0 ? "inf" : "-inf");

        if (std::abs (quantity) >= 1.0e15)
            return juce::String (quantity, 0);

        return juce::String ((juce::int64) std::llround (quantity));
    }

    juce::String signedWholeText (double quantity)
    {
        const auto text = wholeText (quantity);
        return text.startsWithChar ('-') || text == "0" ? text : "+" + text;
    }

    // Below a second in whole milliseconds, else seconds with two decimals.
    juce::String timeText (double seconds)
    {
        if (std::abs (seconds) < 0.9995)
            return wholeText (seconds * 1000.0) + " ms";

        return (std::isfinite (seconds) ? juce::String (seconds, 2) : wholeText (seconds)) + " s";
    }

    juce::String decimalText (double quantity, int decimals)
    {
        return std::isfinite (quantity) ? juce::String (quantity, decimals) : wholeText (quantity);
    }
}

double ParameterUnits::attackSeconds (float p) noexcept     { return p <= 0.5f ? 3.0 * p : 15.0 * p; }
double ParameterUnits::releaseSeconds (float p) noexcept    { return p <= 0.5f ? 5.0 * p : 15.0 * p; }
double ParameterUnits::glideSeconds (float p) noexcept      { return (double) p * (double) p * 2.0; }
double ParameterUnits::lfoHertz (float p) noexcept          { return (double) p * 10.0; }

double ParameterUnits::cutoffHertz (float p) noexcept
{
    const float hertz = 5000.0f * p;
    return hertz > 10.0f ? hertz : 10.0f;
}

double ParameterUnits::resonanceQ (float p) noexcept
{
    return 50.0f * p > 1.0f ? 50.0f * p : 1.0f;
}

double ParameterUnits::freeDelaySeconds (float p) noexcept
{
    return p > 0.0f ? juce::jmin (2.0, 2.0 * p) : 0.0;
}

int ParameterUnits::syncedDelaySixteenths (float p) noexcept
{
    const float sixteenths = std::trunc (p * 8.0f);
    return sixteenths > 0.0f ? ParameterValue::toWholeNumber (sixteenths) : 0;
}

double ParameterUnits::quantityOf (ParameterUnit unit, float p, ParameterTextContext context)
{
    switch (unit)
    {
        case Unit::number:      return p;
        case Unit::percent:     return 100.0 * p;
        case Unit::bipolarPercent: return 200.0 * p - 100.0;
        case Unit::spreadCents: return 100.0 * p;
        case Unit::voices:      return std::trunc ((double) p) + 1.0;
        case Unit::level:       return 200.0 * p;
        case Unit::cents:       return 100.0 * (2.0 * p - 1.0);
        case Unit::pan:         return 2.0 * p - 1.0;
        case Unit::cutoff:      return cutoffHertz (p);
        case Unit::resonance:   return resonanceQ (p);
        case Unit::attack:      return attackSeconds (p);
        case Unit::decay:       return p;
        case Unit::release:     return releaseSeconds (p);
        case Unit::glide:       return glideSeconds (p);
        case Unit::lfoSpeed:    return context.lfoSynced ? NoteValue::indexForSpeed (p) : lfoHertz (p);
        case Unit::delayTime:   return context.delaySynced ? syncedDelaySixteenths (p) : freeDelaySeconds (p);
    }

    return p;
}

juce::String ParameterUnits::textOf (ParameterUnit unit, double q, ParameterTextContext context)
{
    switch (unit)
    {
        case Unit::number:      return decimalText (q, 2);
        case Unit::percent:
        case Unit::level:       return wholeText (q) + " %";
        case Unit::bipolarPercent: return signedWholeText (q) + " %";
        case Unit::cents:       return signedWholeText (q) + " ct";
        case Unit::spreadCents: return wholeText (q) + " cents";
        case Unit::voices:      return wholeText (q) + (wholeText (q) == "1" ? " voice" : " voices");
        case Unit::resonance:   return "Q " + decimalText (q, 1);

        case Unit::pan:
        {
            const auto percent = wholeText (std::abs (q) * 100.0);
            return percent == "0" ? juce::String ("C") : percent + (q < 0.0 ? "L" : "R");
        }

        case Unit::cutoff:
            return q < 999.5 ? wholeText (q) + " Hz" : decimalText (q / 1000.0, 2) + " kHz";

        case Unit::attack:
        case Unit::decay:
        case Unit::release:
        case Unit::glide:
            return timeText (q);

        case Unit::lfoSpeed:
            if (context.lfoSynced)
                return NoteValue::all[juce::jlimit (0, NoteValue::count - 1, ParameterValue::toWholeNumber (q))].name;

            return decimalText (q, 2) + " Hz";

        case Unit::delayTime:
            return context.delaySynced ? wholeText (q) + "/16" : timeText (q);
    }

    return decimalText (q, 2);
}

std::optional<double> ParameterUnits::parse (ParameterUnit unit, const juce::String& text, ParameterTextContext context)
{
    switch (unit)
    {
        case Unit::number:      return readWithSuffix (text, { { "", 1.0 } });
        case Unit::percent:
        case Unit::bipolarPercent:
        case Unit::level:       return readWithSuffix (text, { { "", 1.0 }, { "%", 1.0 } });
        case Unit::cents:
        case Unit::spreadCents: return readWithSuffix (text, { { "", 1.0 }, { "ct", 1.0 }, { "cent", 1.0 }, { "cents", 1.0 } });
        case Unit::voices:      return readWithSuffix (text, { { "", 1.0 }, { "voice", 1.0 }, { "voices", 1.0 } });
        case Unit::pan:         return readPan (text);
        case Unit::cutoff:      return readWithSuffix (text, { { "", 1.0 }, { "hz", 1.0 }, { "khz", 1000.0 }, { "k", 1000.0 } });

        case Unit::resonance:
        {
            const auto trimmed = text.trim();
            return readWithSuffix (trimmed.startsWithIgnoreCase ("q") ? trimmed.substring (1) : trimmed, { { "", 1.0 } });
        }

        case Unit::attack:
        case Unit::decay:
        case Unit::release:
        case Unit::glide:
            return readSeconds (text);

        case Unit::lfoSpeed:
            return context.lfoSynced ? readNoteValue (text) : readWithSuffix (text, { { "", 1.0 }, { "hz", 1.0 } });

        case Unit::delayTime:
            return context.delaySynced ? readSixteenths (text) : readSeconds (text);
    }

    return {};
}
