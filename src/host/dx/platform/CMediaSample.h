// One buffer of a CMemAllocator, handed out by GetBuffer. When its last
// reference goes, the sample returns to its allocator instead of being deleted.
// Used by one thread at a time: the audio thread between GetBuffer and release.
#pragma once

#include "host/dx/platform/CUnknown.h"

namespace dshow {

class CMemAllocator;

class CMediaSample : public IMediaSample, public CBaseObject {
public:
    // [any thread] buffer/length: the memory this sample exposes (owned by the allocator).
    CMediaSample(const char* name, CMemAllocator* allocator, HRESULT* phr, BYTE* buffer = nullptr,
                 LONG length = 0);
    ~CMediaSample() override;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    // The last release hands the sample back to the allocator.
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetPointer(BYTE** buffer) override;
    STDMETHODIMP_(LONG) GetSize() override;
    // VFW_E_SAMPLE_TIME_NOT_SET without times; VFW_S_NO_STOP_TIME with a start only.
    STDMETHODIMP GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
    // A null start clears the times; a null end keeps only the start.
    STDMETHODIMP SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
    STDMETHODIMP IsSyncPoint() override;
    STDMETHODIMP SetSyncPoint(BOOL sync_point) override;
    STDMETHODIMP IsPreroll() override;
    STDMETHODIMP SetPreroll(BOOL preroll) override;
    STDMETHODIMP_(LONG) GetActualDataLength() override;
    // VFW_E_BUFFER_OVERFLOW for a length outside [0, GetSize()].
    STDMETHODIMP SetActualDataLength(LONG length) override;
    // S_FALSE and null when the type did not change with this sample.
    STDMETHODIMP GetMediaType(AM_MEDIA_TYPE** mt) override;
    // Attaches a copy of mt (null detaches).
    STDMETHODIMP SetMediaType(AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP IsDiscontinuity() override;
    STDMETHODIMP SetDiscontinuity(BOOL discontinuity) override;
    STDMETHODIMP GetMediaTime(LONGLONG* start, LONGLONG* end) override;
    // A null start clears the media times.
    STDMETHODIMP SetMediaTime(LONGLONG* start, LONGLONG* end) override;

    // [allocator] Points the sample at its memory.
    void SetPointer(BYTE* buffer, LONG length);
    // [allocator] Back to a fresh sample: one reference, no times, flags or type.
    void Reset(LONG references);

private:
    enum Flag : DWORD {
        sync_point = 1,
        preroll = 2,
        discontinuity = 4,
        time_valid = 8,
        stop_valid = 16,
        media_time_valid = 32,
    };
    HRESULT set_flag(DWORD flag, BOOL on);

    CMemAllocator* const m_pAllocator;
    std::atomic<LONG> m_cRef{0};
    BYTE* m_pBuffer;
    LONG m_cbBuffer;
    LONG m_lActual = 0;
    DWORD m_dwFlags = 0;
    REFERENCE_TIME m_Start = 0;
    REFERENCE_TIME m_End = 0;
    LONGLONG m_MediaStart = 0;
    LONGLONG m_MediaEnd = 0;
    AM_MEDIA_TYPE* m_pMediaType = nullptr;
};

} // namespace dshow
