#include "Engine/VoiceLfo.h"

// The mix is taken by the next refresh.
void VoiceLfo::retrigger (const NoteSettings& note, double newSampleRate) noexcept
{
    sampleRate = newSampleRate;
    active = note.lfoOn;
    target = note.lfoTarget;
    waveType = note.lfo.wave;
    mode = note.lfo.mode;
    sync = note.lfo.sync;
    speed = note.lfo.speed;
    rate = note.lfo.rate;
    restartEnvelope (note.lfoEnvelopeOn, note.lfoEnvelope);
    state.increment = LfoStep::incrementFor (rate, newSampleRate);
}
