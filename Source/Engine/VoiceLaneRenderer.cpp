#include "Engine/VoiceLaneRenderer.h"

#include <cstring>

namespace
{
    struct InstructionSet
    {
        const char* name;
        int width;
        VoiceLanes::Kernel kernel;
        bool (*isAvailable)();
    };

    // Widest first. The compiler's check covers the processor and the operating system's
    // saving of the wider registers.
    const InstructionSet instructionSets[] = {
        { "avx512", 8, VoiceLanes::renderAvx512,
          [] { return __builtin_cpu_supports ("avx512f") && __builtin_cpu_supports ("avx512dq") && __builtin_cpu_supports ("avx2"); } },
        { "avx2", 4, VoiceLanes::renderAvx2, [] { return __builtin_cpu_supports ("avx2") != 0; } }
    };
}

VoiceLaneRenderer::VoiceLaneRenderer()
{
    for (const auto& set : instructionSets)
        if (useInstructionSet (set.name))
            break;
}

bool VoiceLaneRenderer::useInstructionSet (const char* name) noexcept
{
    for (const auto& set : instructionSets)
    {
        if (std::strcmp (set.name, name) == 0 && set.isAvailable())
        {
            laneWidth = set.width;
            instructionSetName = set.name;
            kernel = set.kernel;
            return true;
        }
    }

    return false;
}

void VoiceLaneRenderer::render (const juce::OwnedArray<juce::SynthesiserVoice>& allVoices, const VoiceBlockSettings& settings,
                                juce::AudioBuffer<float>& output, int startSample, int numSamples)
{
    const int numVoices = allVoices.size();

    if (numSamples <= 0)
        return;

    // A synthesiser has 128 voices; with more than the renderer keeps track of, each renders alone.
    if (numVoices > maxVoices)
    {
        for (auto* voice : allVoices)
            renderAlone (*voice, settings, output, startSample, numSamples);

        return;
    }

    // Every active voice takes its block's settings; with lanes, it joins the group of its route.
    numGroups = 0;

    for (int i = 0; i < numVoices; ++i)
    {
        auto* anyVoice = allVoices.getUnchecked (i);
        const bool active = anyVoice->isVoiceActive();
        auto* voice = active ? dynamic_cast<OscillatorVoice*> (anyVoice) : nullptr;
        auto& route = routes[(size_t) i];
        voices[(size_t) i] = voice;
        route = ! active ? Route::free : (voice == nullptr ? Route::elsewhere : Route::alone);

        if (voice == nullptr)
            continue;

        auto& plan = plans[(size_t) i];
        plan = voice->beginBlock (settings, numSamples);

        if (const int g = enabled && kernel != nullptr && plan.route.numOscillators > 0 ? findGroup (plan.route) : -1; g >= 0)
        {
            auto& group = groups[(size_t) g];
            group.voices[(size_t) group.numVoices++] = i;
            route = Route::lanes;
        }
    }

    for (int g = 0; g < numGroups; ++g)
        renderGroup (groups[(size_t) g], numSamples);

    // Into the output in the voices' order, as the synthesiser adds them.
    for (int i = 0; i < numVoices; ++i)
    {
        switch (routes[(size_t) i])
        {
            case Route::lanes:     voices[(size_t) i]->finishBlock (output, startSample, numSamples); break;
            case Route::alone:     voices[(size_t) i]->renderPlannedBlock (plans[(size_t) i], output, startSample, numSamples); break;
            case Route::elsewhere: allVoices.getUnchecked (i)->renderNextBlock (output, startSample, numSamples); break;
            case Route::free:      break;
        }
    }
}

void VoiceLaneRenderer::renderAlone (juce::SynthesiserVoice& anyVoice, const VoiceBlockSettings& settings,
                                     juce::AudioBuffer<float>& output, int startSample, int numSamples) noexcept
{
    auto* voice = dynamic_cast<OscillatorVoice*> (&anyVoice);

    if (voice == nullptr || ! voice->isVoiceActive())
        return anyVoice.renderNextBlock (output, startSample, numSamples);

    voice->renderPlannedBlock (voice->beginBlock (settings, numSamples), output, startSample, numSamples);
}

int VoiceLaneRenderer::findGroup (const VoicePlan& route) noexcept
{
    for (int g = 0; g < numGroups; ++g)
        if (plans[(size_t) groups[(size_t) g].voices[0]].route == route)
            return g;

    if (numGroups == maxGroups)
        return -1;

    groups[(size_t) numGroups].numVoices = 0;
    return numGroups++;
}

// Full batches, then the remainder in one narrower batch; a lone voice renders alone.
void VoiceLaneRenderer::renderGroup (const Group& group, int numSamples) noexcept
{
    int first = 0;

    for (; first + laneWidth <= group.numVoices; first += laneWidth)
        renderBatch (group.voices.data() + first, laneWidth, numSamples);

    const int rest = group.numVoices - first;

    if (rest > 1)
        renderBatch (group.voices.data() + first, rest, numSamples);
    else if (rest == 1)
        routes[(size_t) group.voices[(size_t) first]] = Route::alone;
}

void VoiceLaneRenderer::renderBatch (const int* voiceIndices, int numLanes, int numSamples) noexcept
{
    batch.plan = plans[(size_t) voiceIndices[0]].route;

    // Each lane from its voice; the lanes no voice fills stay silent.
    for (int j = 0; j < laneWidth; ++j)
    {
        batch.parts[j] = j < numLanes ? plans[(size_t) voiceIndices[j]].parts : silentVoice.getParts();
        batch.alive[j] = j < numLanes;
        batch.endSample[j] = -1;
    }

    for (int first = 0; first < numSamples; first += chunkSamples)
    {
        const int length = juce::jmin (chunkSamples, numSamples - first);

        // Each lane's samples into its voice's scratch block.
        for (int j = 0; j < laneWidth; ++j)
        {
            auto* voice = j < numLanes ? voices[(size_t) voiceIndices[j]] : nullptr;
            batch.left[j] = voice != nullptr ? voice->getScratch (0) + first : unused[0];
            batch.right[j] = voice != nullptr ? voice->getScratch (1) + first : unused[1];
        }

        kernel (batch, first, length);
    }

    for (int j = 0; j < numLanes; ++j)
        if (batch.endSample[j] >= 0)
            voices[(size_t) voiceIndices[j]]->endNote();
}
