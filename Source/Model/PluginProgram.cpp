#include "Model/PluginProgram.h"
#include "Model/Enumeration.h"

static_assert (PluginProgram::numParameters == Enumeration::numParameters);

// The parameter objects live as long as the program: other threads may hold a pointer to
// one while the program is reset, so a reset restores values instead of replacing them.
PluginProgram::PluginProgram()
{
    reset (false);
}

std::unique_ptr<PluginProgram> PluginProgram::createBlank()
{
    return std::unique_ptr<PluginProgram> (new PluginProgram (Blank {}));
}

std::unique_ptr<PluginProgram> PluginProgram::createCopy (const PluginProgram& source)
{
    auto copy = createBlank();
    copy->copyFrom (source);
    return copy;
}

void PluginProgram::reset (bool keepIdentity)
{
    if (! keepIdentity)
    {
        name = "Empty";
        id = createIdentifier();
    }

    for (auto& parameter : parameters)
        parameter.setValue (parameter.getDefaultValue());
}

void PluginProgram::copyFrom (const PluginProgram& source)
{
    id = source.id;
    name = source.name;
    bank = source.bank;
    category = source.category;
    subType = source.subType;
    mode = source.mode;

    for (int index = 0; index < source.getNumParameters(); ++index)
        if (auto* parameter = getParameter (index))
            parameter->setValue (source.getParameter (index)->getValue());
}

PluginParameter* PluginProgram::getParameter (int index) const noexcept
{
    return juce::isPositiveAndBelow (index, numParameters) ? &parameters[(size_t) index] : nullptr;
}

juce::String PluginProgram::getColumnText (int column) const
{
    switch (column)
    {
        case 0:  return name;
        case 1:  return bank;
        case 2:  return category;
        case 3:  return subType;
        case 4:  return mode;
        default: return {};
    }
}

bool PluginProgram::Texts::operator== (const Texts& other) const noexcept
{
    return std::equal (std::begin (text), std::end (text), std::begin (other.text));
}

PluginProgram::Texts PluginProgram::getTexts() const
{
    return { { name, bank, category, subType, mode } };
}

void PluginProgram::setTexts (const Texts& texts)
{
    name = texts.text[0];
    bank = texts.text[1];
    category = texts.text[2];
    subType = texts.text[3];
    mode = texts.text[4];
}

juce::String PluginProgram::createIdentifier()
{
    // JUCE's Uuid draws 16 random bytes and sets the version-4 and variant bits.
    return juce::Uuid().toDashedString();
}
