#include "AudioTypes.h"

#include <cstring>

using namespace dshow;

CMediaType make_audio_type(WORD format_tag, WORD channels, DWORD rate, WORD bits) {
    WAVEFORMATEX format{};
    format.wFormatTag = format_tag;
    format.nChannels = channels;
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = bits;
    format.nBlockAlign = static_cast<WORD>(channels * ((bits + 7) / 8));
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    CMediaType type;
    type.SetType(&MEDIATYPE_Audio);
    type.SetSubtype(format_tag == WAVE_FORMAT_PCM ? &MEDIASUBTYPE_PCM : &MEDIASUBTYPE_IEEE_FLOAT);
    type.SetFormatType(&FORMAT_WaveFormatEx);
    type.SetSampleSize(format.nBlockAlign);
    type.SetFormat(reinterpret_cast<const BYTE*>(&format), sizeof format);
    return type;
}

CMediaType make_extensible_type(const GUID& subformat, WORD channels, DWORD rate, WORD bits,
                                WORD valid_bits) {
    const bool pcm = IsEqualGUID(subformat, KSDATAFORMAT_SUBTYPE_PCM);
    CMediaType type =
        make_audio_type(pcm ? WAVE_FORMAT_PCM : WAVE_FORMAT_IEEE_FLOAT, channels, rate, bits);
    WAVEFORMATEXTENSIBLE format{};
    std::memcpy(&format.Format, type.Format(), sizeof(WAVEFORMATEX));
    format.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    format.Format.cbSize = sizeof format - sizeof(WAVEFORMATEX);
    format.Samples.wValidBitsPerSample = valid_bits;
    format.dwChannelMask = channels == 1 ? 0x4 : 0x3; // centre; front left and right
    format.SubFormat = subformat;
    type.SetFormat(reinterpret_cast<const BYTE*>(&format), sizeof format);
    return type;
}

const WAVEFORMATEX* wave_format(const CMediaType& type) {
    if (!IsEqualGUID(*type.FormatType(), FORMAT_WaveFormatEx) ||
        type.FormatLength() < sizeof(WAVEFORMATEX) - sizeof(WORD)) {
        return nullptr;
    }
    return reinterpret_cast<const WAVEFORMATEX*>(type.Format());
}

const WAVEFORMATEX* pcm16_or_float32(const CMediaType& type) {
    const WAVEFORMATEX* format = wave_format(type);
    if (!IsEqualGUID(*type.Type(), MEDIATYPE_Audio) || format == nullptr) {
        return nullptr;
    }
    const bool pcm16 = format->wFormatTag == WAVE_FORMAT_PCM && format->wBitsPerSample == 16;
    const bool float32 =
        format->wFormatTag == WAVE_FORMAT_IEEE_FLOAT && format->wBitsPerSample == 32;
    return pcm16 || float32 ? format : nullptr;
}
