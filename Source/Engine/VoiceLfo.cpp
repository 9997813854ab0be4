#include "Engine/VoiceLfo.h"

// The phase is not reset, and the mix is taken by the next refresh.
void VoiceLfo::retrigger (const NoteSettings& note, double newSampleRate) noexcept
{
    envelope.reset();
    sampleRate = newSampleRate;

    active = note.lfoOn;
    waveType = note.lfo.wave;
    mode = note.lfo.mode;
    sync = note.lfo.sync;
    target = note.lfoTarget;
    speed = note.lfo.speed;
    rate = note.lfo.rate;

    envelope.setActive (note.lfoEnvelopeOn);

    if (envelope.isActive())
    {
        envelope.start (newSampleRate);
        envelope.setParameters (note.lfoEnvelope);
    }

    state.increment = LfoStep::incrementFor (rate, newSampleRate);
}

void VoiceLfo::refresh (const LfoSettings& settings) noexcept
{
    waveType = settings.wave;
    mode = settings.mode;
    sync = settings.sync;
    state.mix = settings.mix;
    speed = settings.speed;
    rate = settings.rate;
    state.increment = LfoStep::incrementFor (rate, sampleRate);
}

double VoiceLfo::nextValue() noexcept
{
    return LfoStep::step<false> (state, envelope.getState(), waveType, envelope.isActive(), true);
}
