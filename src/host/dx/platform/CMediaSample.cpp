#include "host/dx/platform/CMediaSample.h"
#include "host/dx/platform/CMediaType.h"
#include "host/dx/platform/CMemAllocator.h"

namespace dshow {

CMediaSample::CMediaSample(const char* name, CMemAllocator* allocator, HRESULT* phr, BYTE* buffer,
                           LONG length)
    : CBaseObject(name), m_pAllocator(allocator), m_pBuffer(buffer), m_cbBuffer(length) {
    if (allocator == nullptr && phr != nullptr) {
        *phr = VFW_E_NEED_OWNER;
    }
}

CMediaSample::~CMediaSample() {
    DeleteMediaType(m_pMediaType);
}

STDMETHODIMP CMediaSample::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaSample)) {
        return GetInterface(static_cast<IMediaSample*>(this), ppv);
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CMediaSample::AddRef() {
    return static_cast<ULONG>(++m_cRef);
}

STDMETHODIMP_(ULONG) CMediaSample::Release() {
    const LONG left = --m_cRef;
    if (left == 0) {
        m_pAllocator->ReleaseBuffer(this);
    }
    return static_cast<ULONG>(left);
}

STDMETHODIMP CMediaSample::GetPointer(BYTE** buffer) {
    if (buffer == nullptr) {
        return E_POINTER;
    }
    *buffer = m_pBuffer;
    return S_OK;
}

STDMETHODIMP_(LONG) CMediaSample::GetSize() {
    return m_cbBuffer;
}

STDMETHODIMP CMediaSample::GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) {
    if (start == nullptr || end == nullptr) {
        return E_POINTER;
    }
    if ((m_dwFlags & time_valid) == 0) {
        return VFW_E_SAMPLE_TIME_NOT_SET;
    }
    *start = m_Start;
    if ((m_dwFlags & stop_valid) == 0) {
        *end = m_Start + 1;
        return VFW_S_NO_STOP_TIME;
    }
    *end = m_End;
    return S_OK;
}

STDMETHODIMP CMediaSample::SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) {
    m_dwFlags &= ~(time_valid | stop_valid);
    if (start != nullptr) {
        m_Start = *start;
        m_dwFlags |= time_valid;
        if (end != nullptr) {
            m_End = *end;
            m_dwFlags |= stop_valid;
        }
    }
    return S_OK;
}

STDMETHODIMP CMediaSample::IsSyncPoint() {
    return (m_dwFlags & sync_point) ? S_OK : S_FALSE;
}

STDMETHODIMP CMediaSample::SetSyncPoint(BOOL on) {
    return set_flag(sync_point, on);
}

STDMETHODIMP CMediaSample::IsPreroll() {
    return (m_dwFlags & preroll) ? S_OK : S_FALSE;
}

STDMETHODIMP CMediaSample::SetPreroll(BOOL on) {
    return set_flag(preroll, on);
}

STDMETHODIMP_(LONG) CMediaSample::GetActualDataLength() {
    return m_lActual;
}

STDMETHODIMP CMediaSample::SetActualDataLength(LONG length) {
    if (length < 0 || length > m_cbBuffer) {
        return VFW_E_BUFFER_OVERFLOW;
    }
    m_lActual = length;
    return S_OK;
}

STDMETHODIMP CMediaSample::GetMediaType(AM_MEDIA_TYPE** mt) {
    if (mt == nullptr) {
        return E_POINTER;
    }
    if (m_pMediaType == nullptr) {
        *mt = nullptr;
        return S_FALSE;
    }
    *mt = CreateMediaType(m_pMediaType);
    return *mt != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CMediaSample::SetMediaType(AM_MEDIA_TYPE* mt) {
    DeleteMediaType(m_pMediaType);
    m_pMediaType = nullptr;
    if (mt != nullptr) {
        m_pMediaType = CreateMediaType(mt);
        if (m_pMediaType == nullptr) {
            return E_OUTOFMEMORY;
        }
    }
    return S_OK;
}

STDMETHODIMP CMediaSample::IsDiscontinuity() {
    return (m_dwFlags & discontinuity) ? S_OK : S_FALSE;
}

STDMETHODIMP CMediaSample::SetDiscontinuity(BOOL on) {
    return set_flag(discontinuity, on);
}

STDMETHODIMP CMediaSample::GetMediaTime(LONGLONG* start, LONGLONG* end) {
    if (start == nullptr || end == nullptr) {
        return E_POINTER;
    }
    if ((m_dwFlags & media_time_valid) == 0) {
        return VFW_E_MEDIA_TIME_NOT_SET;
    }
    *start = m_MediaStart;
    *end = m_MediaEnd;
    return S_OK;
}

STDMETHODIMP CMediaSample::SetMediaTime(LONGLONG* start, LONGLONG* end) {
    if (start == nullptr) {
        m_dwFlags &= ~media_time_valid;
        return S_OK;
    }
    if (end == nullptr) {
        return E_POINTER;
    }
    m_MediaStart = *start;
    m_MediaEnd = *end;
    m_dwFlags |= media_time_valid;
    return S_OK;
}

void CMediaSample::SetPointer(BYTE* buffer, LONG length) {
    m_pBuffer = buffer;
    m_cbBuffer = length;
    m_lActual = 0;
}

void CMediaSample::Reset(LONG references) {
    m_cRef = references;
    m_dwFlags = 0;
    m_lActual = 0;
    SetMediaType(nullptr);
}

HRESULT CMediaSample::set_flag(DWORD flag, BOOL on) {
    m_dwFlags = on ? (m_dwFlags | flag) : (m_dwFlags & ~flag);
    return S_OK;
}

} // namespace dshow
