#include "AudioSource.h"

#include <algorithm>
#include <cstring>

namespace {

// Never registered; the id only names the source.
const CLSID clsid_audio_source = {
    0x2F6C8E41, 0x7A0B, 0x4C55, {0x9D, 0x13, 0x61, 0x0E, 0x52, 0xA7, 0x3B, 0x01}};

} // namespace

AudioSourcePin::AudioSourcePin(AudioSource* source, dshow::CCritSec* lock, HRESULT* phr)
    : dshow::CBaseOutputPin("AudioSourcePin", source, lock, phr, WIDE_TEXT("Out")),
      source_(source) {}

HRESULT AudioSourcePin::CheckMediaType(const dshow::CMediaType* mt) {
    return *mt == source_->type() ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT AudioSourcePin::GetMediaType(int position, dshow::CMediaType* mt) {
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    return mt->Set(source_->type());
}

HRESULT AudioSourcePin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    request->cBuffers = std::max<LONG>(request->cBuffers, 2);
    request->cbBuffer = std::max<LONG>(request->cbBuffer, LONG(source_->capacity_bytes()));
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer < request->cbBuffer ? E_FAIL : S_OK;
}

AudioSource::AudioSource(const dshow::CMediaType& type, int buffer_frames, int capacity_frames)
    : dshow::CBaseFilter("AudioSource", nullptr, &lock_, clsid_audio_source), type_(type),
      buffer_frames_(buffer_frames), capacity_frames_(std::max(buffer_frames, capacity_frames)),
      block_align_(reinterpret_cast<const WAVEFORMATEX*>(type.Format())->nBlockAlign),
      rate_(int(reinterpret_cast<const WAVEFORMATEX*>(type.Format())->nSamplesPerSec)),
      pin_(this, &lock_, nullptr) {}

AudioSource* AudioSource::create(const dshow::CMediaType& type, int buffer_frames,
                                 int capacity_frames) {
    auto* source = new AudioSource(type, buffer_frames, capacity_frames);
    source->AddRef();
    return source;
}

HRESULT AudioSource::push(const void* frames, long count) {
    const auto* data = static_cast<const BYTE*>(frames);
    long delivered = 0;
    return push_read(
        count,
        [this, &data](BYTE* to, long n) {
            const std::size_t bytes = std::size_t(n) * std::size_t(block_align_);
            std::memcpy(to, data, bytes);
            data += bytes;
            return n;
        },
        delivered);
}

HRESULT AudioSource::next_buffer(long frames, IMediaSample*& sample, BYTE*& data) {
    REFERENCE_TIME start = delivered_ * 10000000LL / rate_;
    REFERENCE_TIME stop = (delivered_ + frames) * 10000000LL / rate_;
    const HRESULT hr = pin_.GetDeliveryBuffer(&sample, &start, &stop, 0);
    if (SUCCEEDED(hr))
        sample->GetPointer(&data);
    return hr;
}

HRESULT AudioSource::deliver(IMediaSample* sample, long count) {
    REFERENCE_TIME start = delivered_ * 10000000LL / rate_;
    REFERENCE_TIME stop = (delivered_ + count) * 10000000LL / rate_;
    sample->SetActualDataLength(count * block_align_);
    sample->SetTime(&start, &stop);
    sample->SetSyncPoint(TRUE);
    const HRESULT hr = pin_.Deliver(sample);
    sample->Release();
    delivered_ += count;
    return hr;
}
