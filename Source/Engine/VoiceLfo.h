#pragma once

#include "Engine/Lfo.h"
#include "Engine/VoiceSettings.h"

// A voice's own LFO, restarted with each note of its voice (its phase continues from the
// note before) and stepped while the voice renders with it.
class VoiceLfo : public Lfo
{
public:
    // Restarts the envelope and takes the note's settings and sample rate.
    void retrigger (const NoteSettings& note, double newSampleRate) noexcept;
};
