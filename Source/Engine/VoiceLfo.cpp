#include "Engine/VoiceLfo.h"

void VoiceLfo::retrigger (const NoteSettings& note, double newSampleRate) noexcept
{
    sampleRate = newSampleRate;
    active = note.lfoOn;
    target = note.lfoTarget;
    refresh (note.lfo);
    restartEnvelope (note.lfoEnvelopeOn, note.lfoEnvelope);
}
