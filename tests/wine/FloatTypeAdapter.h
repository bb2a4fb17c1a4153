// Wine's WAVE Parser gives 32-bit float audio only as WAVE_FORMAT_EXTENSIBLE,
// which the filter refuses (it takes format tag 3). This pass-through sits
// between the two for float streams: the same samples, in the same sizes and
// with the same times, under the plain IEEE-float type; its output allocator
// copies the parser's, so the filter sees what the parser delivers.
#pragma once

#include "host/dx/platform/CTransformFilter.h"

class FloatTypeAdapter : public CTransformFilter {
public:
    // A new adapter with one reference.
    static FloatTypeAdapter* create();

    // Audio of 32-bit float samples, extensible or plain.
    HRESULT CheckInputType(const CMediaType* in) override;
    HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) override;
    // The input's format as a plain WAVEFORMATEX, format tag 3.
    HRESULT GetMediaType(int position, CMediaType* mt) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    // [audio thread] Copies the bytes.
    HRESULT Transform(IMediaSample* in, IMediaSample* out) override;

private:
    FloatTypeAdapter();
};
