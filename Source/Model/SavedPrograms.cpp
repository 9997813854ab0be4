#include "Model/SavedPrograms.h"
#include "Model/PluginDatabase.h"
#include "Model/XmlText.h"

#include <cstring>

SavedPrograms::Saved SavedPrograms::savedFormOf (const PluginProgram& program)
{
    Saved saved;
    saved.texts = { program.getName(), program.getBank(), program.getCategory(), program.getSubType(), program.getMode() };

    for (int index = 0; index < ParameterIndex::count; ++index)
        if (const auto* parameter = program.getParameter (index))
            saved.values[(size_t) index] = parameter->getValue();

    return saved;
}

void SavedPrograms::readFile (const juce::File& file)
{
    byIdentifier.clear();
    juce::MemoryBlock bytes;

    if (! file.loadFileAsData (bytes))
        return;

    const auto document = XmlText::parse (bytes.getData(), bytes.getSize());

    if (document.element == nullptr || ! document.element->hasTagName ("VELMORA_DATABASE"))
        return;

    juce::OwnedArray<PluginProgram> programs;
    PluginDatabase::readPrograms (*document.element, programs);

    // A reload finds the first program with an identifier.
    for (const auto* program : programs)
        byIdentifier.emplace (program->getId(), savedFormOf (*program));
}

bool SavedPrograms::differs (const PluginProgram& program) const
{
    const auto found = byIdentifier.find (program.getId());

    if (found == byIdentifier.end())
        return true;

    const auto current = savedFormOf (program);

    // Bit for bit, as the file keeps every float.
    return current.texts != found->second.texts
        || std::memcmp (current.values.data(), found->second.values.data(), sizeof (current.values)) != 0;
}
