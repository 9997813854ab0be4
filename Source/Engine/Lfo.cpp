#include "Engine/Lfo.h"

void Lfo::refresh (const LfoSettings& settings) noexcept
{
    waveType = settings.wave;
    mode = settings.mode;
    sync = settings.sync;
    state.mix = settings.mix;
    speed = settings.speed;
    rate = settings.rate;
    state.increment = LfoStep::incrementFor (rate, sampleRate);
}

void Lfo::restartEnvelope (bool envelopeOn, const Envelope::Parameters& parameters) noexcept
{
    envelope.reset();
    envelope.setActive (envelopeOn);

    if (envelopeOn)
    {
        envelope.start (sampleRate);
        envelope.setParameters (parameters);
    }
}
