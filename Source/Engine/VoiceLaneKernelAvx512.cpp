// The voice kernel, 8 lanes wide. This file alone is compiled for its instruction set.
#include "Engine/VoiceKernel.h"

void VoiceLanes::renderAvx512 (Batch& batch, int firstSample, int numSamples)
{
    VoiceKernel::renderBatch<Lanes::Vectors<8>::Double> (batch, firstSample, numSamples);
}
