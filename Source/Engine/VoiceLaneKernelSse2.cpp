// The voice lanes' kernel, 2 lanes wide. This file alone is compiled for its instruction set.
#include "Engine/VoiceLaneKernel.h"

void VoiceLanes::renderSse2 (Batch& batch, int firstSample, int numSamples)
{
    LaneKernel::render<2> (batch, firstSample, numSamples);
}
