#include "Processor/ParameterEditPath.h"
#include "Engine/SynthAudioSource.h"
#include "Model/PluginState.h"

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
    {
        const juce::ScopedLock lock (callbackLock);
        auto* parameter = state.getCurrentProgram()->getParameter (index);

        if (parameter == nullptr)
            return;

        // What the readers of a file or chunk give for such text: what is stored reads back.
        parameter->setValue (std::isfinite (newValue) ? newValue : 0.0f);
        synthAudioSource.parametersChanged();
    }

    if (writer == Writer::host)
        hostChangedParameter = true;
}
