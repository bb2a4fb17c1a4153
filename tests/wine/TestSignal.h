// The deterministic input the Wine renders share with the native ones.
#pragma once

#include "WavFile.h"

// Three seconds of tone bursts with sharp attacks, a click every 0.37 s and
// low-level noise, a different mix in each channel, peaking below full scale.
// bits: 16 or 24 for integer PCM, 32 with WAVE_FORMAT_IEEE_FLOAT.
WavFile make_test_signal(WORD format_tag, WORD bits, WORD channels, DWORD rate);
