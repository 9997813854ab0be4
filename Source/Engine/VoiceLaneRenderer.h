#pragma once

#include "Engine/OscillatorVoice.h"
#include "Engine/VoiceLanes.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>

// Renders the synthesiser's voices for a block with the voices side by side, one voice per
// vector lane, in batches as wide as the machine's widest instruction set allows (8 lanes
// with AVX-512, 4 with AVX2), chosen when the program starts; without AVX2 (where two
// lanes would cost more than they save) every voice renders alone. Voices with the same
// route through the block share a batch; a batch's lone remainder renders alone. Each
// voice's samples are those it renders alone, and the voices are added to the output in
// their order, so the result is the same sample for sample. Allocates nothing.
class VoiceLaneRenderer
{
public:
    VoiceLaneRenderer();

    // Adds numSamples of each of the synthesiser's voices to the output from startSample.
    void render (const juce::OwnedArray<juce::SynthesiserVoice>& voices, const VoiceBlockSettings& settings,
                 juce::AudioBuffer<float>& output, int startSample, int numSamples);

    // Off, every voice renders alone (for comparisons and measurements).
    void setEnabled (bool shouldRunLanes) noexcept      { enabled = shouldRunLanes; }
    bool isEnabled() const noexcept                     { return enabled; }

    // Lanes per batch on this machine: 8 or 4, or 0 without AVX2; the instruction set's name.
    int getLaneWidth() const noexcept                   { return laneWidth; }
    const char* getInstructionSetName() const noexcept  { return instructionSetName; }

    // Limits the width to the given instruction set's, when the machine has it: "avx512"
    // or "avx2". Returns false for a name the machine cannot run.
    bool useInstructionSet (const char* name) noexcept;

private:
    static constexpr int maxVoices = 256;
    static constexpr int maxGroups = 4;

    // The most samples the kernel renders in one call: the silent lanes' room.
    static constexpr int chunkSamples = 512;

    // The voices of one route.
    struct Group
    {
        int numVoices = 0;
        std::array<int, maxVoices> voices {};
    };

    static void renderAlone (juce::SynthesiserVoice& voice, const VoiceBlockSettings& settings,
                             juce::AudioBuffer<float>& output, int startSample, int numSamples) noexcept;
    int findGroup (const VoicePlan& route) noexcept;
    void renderGroup (const Group& group, int numSamples) noexcept;
    void renderBatch (const int* voiceIndices, int numLanes, int numSamples) noexcept;

    bool enabled = true;
    int laneWidth = 0;
    const char* instructionSetName = "none";
    VoiceLanes::Kernel kernel = nullptr;

    std::array<OscillatorVoice*, maxVoices> voices {};
    std::array<OscillatorVoice::BlockPlan, maxVoices> plans {};

    // How each voice renders this block: not at all (free), in the lanes, alone, or as
    // a voice of another kind renders.
    enum class Route { free, lanes, alone, elsewhere };
    std::array<Route, maxVoices> routes {};
    std::array<Group, maxGroups> groups {};
    int numGroups = 0;

    VoiceLanes::Batch batch;
    VoiceStates<double> silentVoice;             // the lanes no voice fills
    float unused[2][chunkSamples] {};

    JUCE_DECLARE_NON_COPYABLE (VoiceLaneRenderer)
};
