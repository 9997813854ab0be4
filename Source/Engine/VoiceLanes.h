#pragma once

// Up to eight voices side by side, one lane per voice: the oscillators', envelopes',
// voice LFO's, glide's and filter's state as plain arrays, for the kernels that render
// the lanes with vector instructions. Plain data only: the kernels are compiled for several instruction sets
// and must share no inline function with the rest of the engine.
namespace VoiceLanes
{
    inline constexpr int maxLanes = 8;

    // The most samples the kernel renders in one call.
    inline constexpr int chunkSamples = 512;

    inline constexpr double pi = 3.14159265358979323846;
    inline constexpr double twoPi = 6.28318530717958647692;

    // The waves, numbered as OscillatorWave numbers them, and the LFO's as LfoWave does.
    enum Wave : int { sineWave = 0, squareWave, triangleWave, sawtoothWave };
    enum LfoWave : int { lfoSine = 0, lfoSquare, lfoSawUp, lfoSawDown, lfoPump };

    // The envelope stages, numbered as Envelope::Stage numbers them.
    enum Stage : int { idleStage = 0, attackStage, decayStage, sustainStage, releaseStage };

    // One amplitude envelope per lane. coefficient, base and limit are those of the lane's
    // current stage: output = coefficient x output + base, until output reaches limit
    // (from below in the attack, from above otherwise). A stage that holds has
    // coefficient 1, base 0 and a limit it cannot reach.
    struct EnvelopeLanes
    {
        alignas (64) double output[maxLanes];
        alignas (64) double coefficient[maxLanes];
        alignas (64) double base[maxLanes];
        alignas (64) double limit[maxLanes];
        double attackCoefficient[maxLanes], attackBase[maxLanes];
        double decayCoefficient[maxLanes], decayBase[maxLanes], sustainLevel[maxLanes];
        double releaseCoefficient[maxLanes], releaseBase[maxLanes];
        int stage[maxLanes];
        bool finished[maxLanes];
    };

    // One oscillator per lane; the wave is the same in every lane of a batch.
    struct OscillatorLanes
    {
        alignas (64) double phase[maxLanes];          // radians, 0 <= phase < 2 pi
        alignas (64) double increment[maxLanes];      // radians per sample
        alignas (64) double level[maxLanes];
        alignas (64) double gain[maxLanes];
        alignas (64) double triangleState[maxLanes];
        EnvelopeLanes amplitude;
        int waveType = 0;                             // OscillatorWave's values
        double leftGain = 0.0, rightGain = 0.0;      // the linear pan gains
        bool followsLfo = false;                      // the voice LFO scales the amplitude

        // With the pitch envelope the frequencies are recomputed every sample: the note's
        // frequencies, detune, the envelope's range and direction, the wheel's bend in
        // whole percent (the same in every lane), and the results.
        bool followsPitchEnvelope = false;
        int bendPercent = 0;
        double baseFrequency[maxLanes], detune[maxLanes], sampleRate[maxLanes], pitchEnvRange[maxLanes];
        double up[maxLanes], down[maxLanes], above[maxLanes], upAbove[maxLanes], downAbove[maxLanes];
        double below[maxLanes], upBelow[maxLanes], downBelow[maxLanes];
        double frequency[maxLanes], frequencyUp[maxLanes], frequencyDown[maxLanes], bentFrequency[maxLanes];
        bool pitchEnvDown[maxLanes];
        EnvelopeLanes pitch;
    };

    // One voice LFO per lane: its phase and step, mix, and envelope when it has one.
    struct LfoLanes
    {
        alignas (64) double phase[maxLanes];
        alignas (64) double increment[maxLanes];
        alignas (64) double mix[maxLanes];
        EnvelopeLanes envelope;
        int waveType = 0;                             // LfoWave's values
        bool followsEnvelope = false;
    };

    // One voice filter per lane, single precision as the filter is: its section's
    // coefficients and the two channels' states, the cutoff it starts from and, when its
    // envelope moves the cutoff, that envelope. Type and envelope switch are the same in
    // every lane of a batch.
    struct FilterLanes
    {
        alignas (64) float b0[maxLanes];
        alignas (64) float b1[maxLanes];
        alignas (64) float b2[maxLanes];
        alignas (64) float a1[maxLanes];
        alignas (64) float a2[maxLanes];
        alignas (64) float leftZ1[maxLanes];
        alignas (64) float leftZ2[maxLanes];
        alignas (64) float rightZ1[maxLanes];
        alignas (64) float rightZ2[maxLanes];
        float baseCutoff[maxLanes], computedCutoff[maxLanes];
        float q[maxLanes], twiceQ[maxLanes], inverseSampleRate[maxLanes];
        EnvelopeLanes envelope;
        int type = 0;
        bool followsEnvelope = false;
    };

    // A batch: the sounding oscillators of up to maxLanes voices (the same one or two in
    // every lane), the master volume, and where each lane's output goes.
    struct Batch
    {
        int numOscillators = 0;           // 1 or 2
        double master = 0.0;
        OscillatorLanes oscillators[2];
        bool modulated = false;           // the voice LFO runs, once per sample

        // A glide or the LFO on the pitch multiplies the oscillators' step every sample:
        // the LFO's value (the voice's, or the global LFO's values for the block) and each
        // lane's glide.
        bool pitchModulated = false;
        bool lfoOnPitch = false;
        const double* sharedLfoValues = nullptr;
        double glideSemitones[maxLanes], glideStep[maxLanes];
        int glideSamplesLeft[maxLanes];

        LfoLanes lfo;
        bool filtered = false;            // the lanes' filters run in the kernel
        FilterLanes filter;
        bool alive[maxLanes];             // the lane's voice still sounds
        int endSample[maxLanes];          // the sample at which the lane's voice ended, or -1

        // Where each lane's samples of the chunk go (a voice's scratch block), and a place
        // for the lanes no voice fills.
        float* left[maxLanes];
        float* right[maxLanes];
        float unused[2][chunkSamples];
    };

    // numSamples (at most chunkSamples) of every lane, from sample offset firstSample of
    // the block on, filtered when the batch says so; a lane that ends records its end
    // sample, its oscillators stay silent after it and its filter goes on.
    using Kernel = void (*) (Batch& batch, int firstSample, int numSamples);

    void renderAvx2 (Batch&, int firstSample, int numSamples);
    void renderAvx512 (Batch&, int firstSample, int numSamples);
}
