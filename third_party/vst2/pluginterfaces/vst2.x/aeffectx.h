#pragma once
// See aeffect.h beside this file: the speaker arrangement gets the SDK's layout.
#define speakers speakers[8]; t_fstSpeakerProperties speakersBeyondEight
#include <pluginterfaces/fst/aeffectx.h>
#undef speakers
