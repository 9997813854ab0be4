#pragma once

#include "Model/Enumeration.h"
#include "Model/PluginProgram.h"

#include <juce_core/juce_core.h>

#include <cmath>

namespace testing_helpers
{
    // A program element read as the database read one before it streamed its files, and as
    // JUCE's tree offers it: each attribute looked up by name, the first of repeated ones,
    // numbers read by JUCE's own parser (beyond the float range 0, the sign of a zero kept).
    // The database's reading must give the same; the tests and the fuzz target compare.
    inline void readByLookUps (const juce::XmlElement& element, PluginProgram& program)
    {
        program.setId (element.getStringAttribute ("ID", "ERROR"));
        program.setName (element.getStringAttribute ("Name", "Empty"));
        program.setBank (element.getStringAttribute ("Bank", "Empty"));
        program.setCategory (element.getStringAttribute ("Category", "Empty"));
        program.setSubType (element.getStringAttribute ("SubType", "Empty"));
        program.setMode (element.getStringAttribute ("Mode", "Empty"));

        for (int i = 0; i < program.getNumParameters(); ++i)
        {
            const auto name = Enumeration::getName (i);

            if (! element.hasAttribute (name))
                continue;

            const auto text = element.getStringAttribute (name);
            auto value = (float) text.getDoubleValue();
            value = ! std::isfinite (value) ? 0.0f : value == 0.0f && text.trimStart().startsWithChar ('-') ? -0.0f : value;
            program.getParameter (i)->setValue (value);
        }
    }
}
