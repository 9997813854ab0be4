// The voice lanes' kernel, 8 lanes wide. This file alone is compiled for its instruction set.
#include "Engine/VoiceLaneKernel.h"

void VoiceLanes::renderAvx512 (Batch& batch, int firstSample, int numSamples)
{
    LaneKernel::render<8> (batch, firstSample, numSamples);
}
