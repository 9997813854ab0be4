// The voice kernel, 4 lanes wide. This file alone is compiled for its instruction set.
#include "Engine/VoiceKernel.h"

void VoiceLanes::renderAvx2 (Batch& batch, int firstSample, int numSamples)
{
    VoiceKernel::renderBatch<Lanes::Vectors<4>::Double> (batch, firstSample, numSamples);
}
