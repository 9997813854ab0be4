#include "Model/ParameterConversion.h"
#include "Model/ParameterTable.h"
#include "Model/ParameterValue.h"

#include <cmath>
#include <limits>

namespace
{
    constexpr double stepsPerUnit = 1.0 / ParameterTable::editorStep;   // exactly 100

    int editorSteps (const ParameterInfo& info) noexcept
    {
        return ParameterValue::toWholeNumber (std::nearbyint ((double) info.editorMaximum * stepsPerUnit)) + 1;
    }

    // The offset's zero is the middle of its editor range.
    int zeroStep (const ParameterInfo& info) noexcept
    {
        return info.kind == ParameterKind::semitoneOffset ? (editorSteps (info) - 1) / 2 : 0;
    }

    // The semitones the engine plays for a stored offset or pitch range: the nearest whole
    // number, ties to even, as the engine rounds.
    int semitonesOf (const ParameterInfo& info, float storedValue) noexcept
    {
        return ParameterValue::toWholeNumber (std::nearbyint ((double) storedValue * stepsPerUnit - zeroStep (info)));
    }

    std::optional<double> readNumber (const juce::String& text)
    {
        const auto trimmed = text.trim();

        if (trimmed.isEmpty() || ! trimmed.containsOnly ("0123456789.-+eE") || ! trimmed.containsAnyOf ("0123456789"))
            return {};

        const auto number = trimmed.getDoubleValue();
        return std::isfinite (number) ? std::optional<double> (number) : std::nullopt;
    }

    juce::String withTwoDecimals (float storedValue)
    {
        return juce::String (storedValue, 2);
    }

    // The editor's step whose quantity in the row's unit lies nearest; the lowest of equally
    // near ones, so a step of a flat stretch (the cutoff's floor, a band of sixteenths)
    // reads back as its first.
    int nearestStep (const ParameterInfo& info, double quantity, ParameterTextContext context)
    {
        int best = 0;
        double bestDistance = std::numeric_limits<double>::infinity();

        for (int step = 0; step < editorSteps (info); ++step)
        {
            const auto distance = std::abs (ParameterUnits::quantityOf (info.unit, ParameterConversion::editorValueAtStep (step), context) - quantity);

            if (distance < bestDistance)
            {
                best = step;
                bestDistance = distance;
            }
        }

        return best;
    }
}

juce::String ParameterConversion::toText (int index, float storedValue, Context context)
{
    const auto& info = ParameterTable::get (index);

    switch (info.kind)
    {
        case ParameterKind::toggle:
            return storedValue != 0.0f ? "On" : "Off";

        case ParameterKind::choice:
        {
            const auto item = std::trunc ((double) storedValue);

            if (! (item >= 0.0 && item < info.numItems))
                return withTwoDecimals (storedValue);

            // A number of voices says so: "7 voices".
            return info.unit == ParameterUnit::voices ? ParameterUnits::textOf (info.unit, item + 1.0, context)
                                                      : juce::String (info.items[(int) item]);
        }

        case ParameterKind::semitoneOffset:
        {
            const auto semitones = semitonesOf (info, storedValue);
            return (semitones > 0 ? "+" : "") + juce::String (semitones) + " st";
        }

        case ParameterKind::semitoneRange:
            return juce::String (semitonesOf (info, storedValue)) + " st";

        case ParameterKind::plain:
            break;
    }

    return ParameterUnits::textOf (info.unit, ParameterUnits::quantityOf (info.unit, storedValue, context), context);
}

std::optional<float> ParameterConversion::fromText (int index, const juce::String& text, Context context)
{
    const auto& info = ParameterTable::get (index);
    const auto trimmed = text.trim();

    switch (info.kind)
    {
        case ParameterKind::toggle:
        {
            if (trimmed.equalsIgnoreCase ("On") || trimmed.equalsIgnoreCase ("Off"))
                return trimmed.equalsIgnoreCase ("On") ? 1.0f : 0.0f;

            const auto number = readNumber (trimmed);
            return number.has_value() ? std::optional<float> (*number != 0.0 ? 1.0f : 0.0f) : std::nullopt;
        }

        case ParameterKind::choice:
        {
            for (int item = 0; item < info.numItems; ++item)
                if (trimmed.equalsIgnoreCase (info.items[item]))
                    return (float) item;

            if (info.unit == ParameterUnit::voices)
            {
                const auto voices = ParameterUnits::parse (info.unit, trimmed, context);
                return voices.has_value() ? std::optional<float> ((float) juce::jlimit (0, info.numItems - 1, ParameterValue::toWholeNumber (std::nearbyint (*voices)) - 1))
                                          : std::nullopt;
            }

            const auto number = readNumber (trimmed);
            return number.has_value() ? std::optional<float> ((float) juce::jlimit (0, info.numItems - 1, ParameterValue::toWholeNumber (std::trunc (*number))))
                                      : std::nullopt;
        }

        case ParameterKind::semitoneOffset:
        case ParameterKind::semitoneRange:
        {
            const auto number = readNumber (trimmed.endsWithIgnoreCase ("st") ? trimmed.dropLastCharacters (2) : trimmed);

            if (! number.has_value())
                return {};

            const auto step = juce::jlimit (0, editorSteps (info) - 1, ParameterValue::toWholeNumber (std::nearbyint (*number)) + zeroStep (info));
            return editorValueAtStep (step);
        }

        case ParameterKind::plain:
            break;
    }

    const auto quantity = ParameterUnits::parse (info.unit, trimmed, context);

    if (! quantity.has_value())
        return {};

    return editorValueAtStep (nearestStep (info, *quantity, context));
}

int ParameterConversion::getNumSteps (int index)
{
    const auto& info = ParameterTable::get (index);

    switch (info.kind)
    {
        case ParameterKind::toggle:             return 2;
        case ParameterKind::choice:             return info.numItems;
        case ParameterKind::semitoneOffset:
        case ParameterKind::semitoneRange:      return editorSteps (info);
        case ParameterKind::plain:              break;
    }

    return 0;
}

float ParameterConversion::toNormalised (int index, float storedValue)
{
    const auto& info = ParameterTable::get (index);
    const auto numSteps = getNumSteps (index);

    const auto step = [&]
    {
        switch (info.kind)
        {
            case ParameterKind::toggle:             return storedValue != 0.0f ? 1 : 0;
            case ParameterKind::choice:             return ParameterValue::truncated (storedValue);
            case ParameterKind::semitoneOffset:
            case ParameterKind::semitoneRange:      return semitonesOf (info, storedValue) + zeroStep (info);
            case ParameterKind::plain:              break;
        }

        return 0;
    }();

    if (numSteps == 0)
        return std::isnan (storedValue) ? 0.0f : juce::jlimit (0.0f, 1.0f, storedValue);

    return (float) juce::jlimit (0, numSteps - 1, step) / (float) (numSteps - 1);
}

float ParameterConversion::fromNormalised (int index, float normalised)
{
    const auto& info = ParameterTable::get (index);
    const auto numSteps = getNumSteps (index);
    const auto position = std::isfinite (normalised) ? juce::jlimit (0.0f, 1.0f, normalised) : 0.0f;

    if (numSteps == 0)
        return position;

    const auto step = ParameterValue::toWholeNumber (std::nearbyint ((double) position * (numSteps - 1)));

    if (info.kind == ParameterKind::semitoneOffset || info.kind == ParameterKind::semitoneRange)
        return editorValueAtStep (step);

    return (float) step;
}

// The slider snaps to start + interval x step in double precision, and the control stores
// that as a float.
float ParameterConversion::editorValueAtStep (int step)
{
    return (float) (ParameterTable::editorStep * step);
}
