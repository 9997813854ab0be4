// The voice lanes' kernel, 4 lanes wide. This file alone is compiled for its instruction set.
#include "Engine/VoiceLaneKernel.h"

void VoiceLanes::renderAvx2 (Batch& batch, int firstSample, int numSamples)
{
    LaneKernel::render<4> (batch, firstSample, numSamples);
}
