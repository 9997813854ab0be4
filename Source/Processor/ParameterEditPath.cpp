#include "Processor/ParameterEditPath.h"
#include "Engine/SynthAudioSource.h"
#include "Model/PluginState.h"
#include "Model/PluginProgram.h"

#include <cmath>

ParameterEditPath::ParameterEditPath (const juce::CriticalSection& lock, PluginState& stateToUse,
                                      SynthAudioSource& source, std::atomic<bool>& hostChanged)
    : callbackLock (lock),
      state (stateToUse),
      synthAudioSource (source),
      hostChangedParameter (hostChanged)
{
}

float ParameterEditPath::get (int index) const
{
    const juce::ScopedLock lock (callbackLock);

    if (const auto* parameter = state.getCurrentProgram()->getParameter (index))
        return parameter->getValue();

    return 0.0f;
}

ParameterTextContext ParameterEditPath::getTextContext() const
{
    return ParameterTextContext::of ([this] (int index) { return get (index); });
}

void ParameterEditPath::set (int index, float newValue, Writer writer)
{
    // What the readers of a file or chunk give for such text: what is stored reads back.
    const auto stored = std::isfinite (newValue) ? newValue : 0.0f;
    PluginProgram* program = nullptr;
    float before = 0.0f;
    {
        const juce::ScopedLock lock (callbackLock);
        program = state.getCurrentProgram();
        auto* parameter = program->getParameter (index);

        if (parameter == nullptr)
            return;

        before = parameter->getValue();
        parameter->setValue (stored);
        synthAudioSource.parametersChanged();
    }

    if (writer == Writer::host)
        hostChangedParameter = true;
    else if (writer == Writer::editor && onEditorChange)
        onEditorChange (*program, index, before, stored);
}
