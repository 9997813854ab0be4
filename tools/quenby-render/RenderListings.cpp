#include "RenderListings.h"
#include "Model/NoteValue.h"
#include "Model/ParameterConversion.h"
#include "Model/ParameterTable.h"
#include "Model/PluginDatabase.h"

namespace
{
    // Each column as wide as its widest cell and two spaces apart; the last one unpadded. A
    // line break or tab in a text (a program name may hold one) becomes a space.
    juce::String formatTable (std::vector<juce::StringArray> rows)
    {
        for (auto& row : rows)
            for (auto& cell : row)
                cell = cell.replaceCharacters ("\t\r\n", "   ");

        std::vector<int> widths;

        for (const auto& row : rows)
            for (int column = 0; column < row.size(); ++column)
            {
                widths.resize (juce::jmax (widths.size(), (size_t) column + 1), 0);
                widths[(size_t) column] = juce::jmax (widths[(size_t) column], row[column].length());
            }

        // A stream: appending to a String copies the whole text each time.
        juce::MemoryOutputStream text;

        for (const auto& row : rows)
        {
            juce::String line;

            for (int column = 0; column < row.size(); ++column)
                line << (column + 1 < row.size() ? row[column].paddedRight (' ', widths[(size_t) column] + 2) : row[column]);

            text << line.trimEnd() << "\n";
        }

        return text.toString();
    }

    // What --set and --at accept for a parameter, and what the editor's control offers.
    juce::String describeValues (int index)
    {
        const auto& info = ParameterTable::get (index);
        const auto numSteps = ParameterConversion::getNumSteps (index);
        const auto maximum = RenderListings::shortestText (info.editorMaximum);

        if (info.kind == ParameterKind::toggle || info.kind == ParameterKind::choice)
        {
            juce::StringArray items;

            for (int item = 0; item < numSteps; ++item)
                items.add (juce::String (item) + " " + ParameterConversion::toText (index, (float) item));

            return (info.kind == ParameterKind::toggle ? "switch: " : "choice: ") + items.joinIntoString (", ");
        }

        if (info.kind == ParameterKind::semitoneOffset || info.kind == ParameterKind::semitoneRange)
            return "0 ... " + maximum + " in steps of " + juce::String (ParameterTable::editorStep) + ": "
                   + ParameterConversion::toText (index, ParameterConversion::editorValueAtStep (0)) + " ... "
                   + ParameterConversion::toText (index, ParameterConversion::editorValueAtStep (numSteps - 1));

        if (! info.hasEditorControl)
            return "0 ... " + maximum + ", stored only";

        // The ends as a new program's switches show them, then as the other setting of the
        // switch a text depends on.
        const auto ends = [&] (ParameterConversion::Context context)
        {
            return ParameterConversion::toText (index, 0.0f, context) + " ... " + ParameterConversion::toText (index, info.editorMaximum, context);
        };

        juce::String text = "0 ... " + maximum + ": " + ends ({});

        // Synchronised, the LFO's speed chooses a note value in equal bands.
        if (info.unit == ParameterUnit::lfoSpeed)
        {
            juce::StringArray noteValues;

            for (int i = 0; i < NoteValue::count; ++i)
                noteValues.add (RenderListings::shortestText ((float) NoteValue::speedOf (i)) + " " + NoteValue::all[i].name);

            text << "; with Lfo1Sync on, a cycle lasts a note value, one per "
                 << RenderListings::shortestText (1.0f / NoteValue::count) << ": " << noteValues.joinIntoString (", ");
        }
        else if (info.unit == ParameterUnit::delayTime)
            text << "; with Delay1Sync off " << ends ({ false, false });

        return text;
    }
}

juce::String RenderListings::shortestText (float value)
{
    for (int digits = 1; digits < 9; ++digits)
    {
        const auto text = juce::String::formatted ("%.*g", digits, (double) value);

        if ((float) text.getDoubleValue() == value)
            return text;
    }

    return juce::String::formatted ("%.9g", (double) value);
}

juce::String RenderListings::listParameters()
{
    std::vector<juce::StringArray> rows { { "index", "name", "label", "default", "values" } };

    for (int index = 0; index < ParameterIndex::count; ++index)
    {
        const auto& info = ParameterTable::get (index);
        auto defaultText = shortestText (info.defaultValue);

        if (info.hasEditorControl)
            defaultText << " (" << ParameterConversion::toText (index, info.defaultValue) << ")";

        rows.push_back ({ juce::String (index), info.name, info.label, defaultText, describeValues (index) });
    }

    return formatTable (rows);
}

juce::String RenderListings::listPrograms (const PluginDatabase& database)
{
    std::vector<juce::StringArray> rows { { "name", "bank", "category" } };

    for (int i = 0; i < database.getNumPrograms(); ++i)
    {
        const auto* program = database.getProgram (i);
        rows.push_back ({ program->getName(), program->getBank(), program->getCategory() });
    }

    return formatTable (rows);
}
