// Building wave-format media types for the test filters.
#pragma once

#include "host/dx/platform/CMediaType.h"

// An audio media type with a WAVEFORMATEX block (cbSize 0).
dshow::CMediaType make_audio_type(WORD format_tag, WORD channels, DWORD rate, WORD bits);
// An audio media type with a WAVEFORMATEXTENSIBLE block (cbSize 22), subtype
// the plain type of the same samples.
dshow::CMediaType make_extensible_type(const GUID& subformat, WORD channels, DWORD rate, WORD bits,
                                       WORD valid_bits);
// The WAVEFORMATEX of an audio type, or null when it has none.
const WAVEFORMATEX* wave_format(const dshow::CMediaType& type);

// The wave format of an audio type when it is 16-bit PCM or 32-bit float,
// else null: what the sinks of the tests take.
const WAVEFORMATEX* pcm16_or_float32(const dshow::CMediaType& type);
