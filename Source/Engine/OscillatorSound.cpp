#include "Engine/OscillatorSound.h"

bool OscillatorSound::appliesToNote (int)     { return true; }
bool OscillatorSound::appliesToChannel (int)  { return true; }
