#include "Model/FactoryBank.h"
#include "Model/UserSettings.h"

#include "FactoryData.h"

#include <unordered_set>

const juce::OwnedArray<PluginProgram>& FactoryBank::getPrograms()
{
    static const auto content = []
    {
        juce::MemoryBlock bytes (FactoryData::Factory_xml, (size_t) FactoryData::Factory_xmlSize);
        return PluginDatabase::readBytes (std::move (bytes));
    }();

    return content.programs;
}

const PluginProgram* FactoryBank::findProgram (const juce::String& name)
{
    for (const auto* program : getPrograms())
        if (program->getName() == name)
            return program;

    return nullptr;
}

std::vector<std::unique_ptr<PluginProgram>> FactoryBank::copyMissingFrom (const PluginDatabase& database)
{
    std::unordered_set<juce::String> identifiers;

    for (int i = 0; i < database.getNumPrograms(); ++i)
        identifiers.insert (database.getProgram (i)->getId());

    std::vector<std::unique_ptr<PluginProgram>> missing;

    for (const auto* program : getPrograms())
        if (identifiers.count (program->getId()) == 0)
            missing.push_back (PluginProgram::createCopy (*program));

    return missing;
}

juce::File FactoryBank::getSettingsFile()
{
    return UserSettings::getDefaultFile();
}

int FactoryBank::loadAtStart (PluginDatabase& database, const juce::File& settingsFile)
{
    database.load();

    auto settings = UserSettings::load (settingsFile).settings;

    if (settings.factoryVersion >= version)
        return 0;

    auto missing = copyMissingFrom (database);
    const auto numAdded = (int) missing.size();

    for (auto& program : missing)
        database.insertProgram (std::move (program), database.getNumPrograms());

    if (numAdded > 0 && ! database.save())
        return numAdded;

    settings.factoryVersion = juce::jmax (settings.factoryVersion, version);
    settings.save (settingsFile);
    return numAdded;
}
