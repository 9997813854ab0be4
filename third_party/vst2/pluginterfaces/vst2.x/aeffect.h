#pragma once
// The free VST 2.4 headers declare VstSpeakerArrangement::speakers as a flexible array,
// but JUCE sizes that struct as the original SDK does, with eight speakers inline, and
// writes past its heap block otherwise. This wrapper gives the struct the SDK's layout:
// eight inline speakers, followed by an empty tail so longer arrangements still index.
#define speakers speakers[8]; t_fstSpeakerProperties speakersBeyondEight
#include <pluginterfaces/fst/aeffect.h>
#undef speakers
