#include "host/dx/platform/CMemAllocator.h"
#include "host/dx/platform/CMediaSample.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace dshow {

namespace {

LONG align_up(LONG value, LONG alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

} // namespace

CMemAllocator::CMemAllocator(const char* name, LPUNKNOWN outer, HRESULT* phr)
    : CUnknown(name, outer, phr), m_buffer_freed(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    if (m_buffer_freed == nullptr && phr != nullptr) {
        *phr = E_OUTOFMEMORY;
    }
}

CMemAllocator::~CMemAllocator() {
    free_buffers();
    if (m_buffer_freed != nullptr) {
        CloseHandle(m_buffer_freed);
    }
}

CUnknown* CMemAllocator::CreateInstance(LPUNKNOWN outer, HRESULT* phr) {
    auto* allocator = new (std::nothrow) CMemAllocator("CMemAllocator", outer, phr);
    if (allocator == nullptr) {
        *phr = E_OUTOFMEMORY;
    }
    return allocator;
}

HRESULT CMemAllocator::CreateAllocator(IMemAllocator** allocator) {
    *allocator = nullptr;
    HRESULT hr = S_OK;
    std::unique_ptr<CUnknown> created(CreateInstance(nullptr, &hr));
    if (created == nullptr || FAILED(hr)) {
        return FAILED(hr) ? hr : E_OUTOFMEMORY;
    }
    *allocator = static_cast<CMemAllocator*>(created.release());
    (*allocator)->AddRef();
    return S_OK;
}

STDMETHODIMP CMemAllocator::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (IsEqualIID(riid, IID_IMemAllocator)) {
        return GetInterface(static_cast<IMemAllocator*>(this), ppv);
    }
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CMemAllocator::SetProperties(ALLOCATOR_PROPERTIES* request,
                                          ALLOCATOR_PROPERTIES* actual) {
    if (request == nullptr || actual == nullptr) {
        return E_POINTER;
    }
    CAutoLock lock(&m_lock);
    if (m_committed) {
        return VFW_E_ALREADY_COMMITTED;
    }
    if (m_outstanding != 0) {
        return VFW_E_BUFFERS_OUTSTANDING;
    }
    const LONG alignment = request->cbAlign;
    if (alignment <= 0 || (alignment & (alignment - 1)) != 0) {
        return VFW_E_BADALIGN;
    }
    if (request->cBuffers < 0 || request->cbBuffer < 0 || request->cbPrefix < 0) {
        return E_INVALIDARG;
    }
    m_props = *request;
    m_props.cbBuffer = align_up(request->cbBuffer, alignment);
    *actual = m_props;
    return S_OK;
}

STDMETHODIMP CMemAllocator::GetProperties(ALLOCATOR_PROPERTIES* props) {
    if (props == nullptr) {
        return E_POINTER;
    }
    CAutoLock lock(&m_lock);
    *props = m_props;
    return S_OK;
}

STDMETHODIMP CMemAllocator::Commit() {
    CAutoLock lock(&m_lock);
    if (m_committed) {
        return S_OK;
    }
    if (m_props.cBuffers <= 0 || m_props.cbBuffer <= 0) {
        return VFW_E_SIZENOTSET;
    }
    m_decommit_pending = false;
    if (m_memory == nullptr) {
        // Each buffer is preceded by its prefix; buffer starts stay aligned because
        // the stride is a multiple of the alignment.
        const LONG alignment = m_props.cbAlign;
        const LONG stride = align_up(m_props.cbPrefix + m_props.cbBuffer, alignment);
        const std::size_t total = static_cast<std::size_t>(stride) * m_props.cBuffers +
                                  static_cast<std::size_t>(m_props.cbPrefix + alignment);
        m_memory.reset(new (std::nothrow) BYTE[total]);
        if (m_memory == nullptr) {
            return E_OUTOFMEMORY;
        }
        const auto start = reinterpret_cast<std::uintptr_t>(m_memory.get());
        const std::uintptr_t first = (start + m_props.cbPrefix + alignment - 1) /
                                     static_cast<std::uintptr_t>(alignment) * alignment;
        BYTE* buffer = m_memory.get() + (first - start);
        for (LONG i = 0; i < m_props.cBuffers; ++i, buffer += stride) {
            std::unique_ptr<CMediaSample> sample(new (std::nothrow) CMediaSample(
                "CMediaSample", this, nullptr, buffer, m_props.cbBuffer));
            if (sample == nullptr) {
                free_buffers();
                return E_OUTOFMEMORY;
            }
            m_samples.push_back(std::move(sample));
            m_free.push_back(m_samples.back().get());
        }
    }
    m_committed = true;
    return S_OK;
}

STDMETHODIMP CMemAllocator::Decommit() {
    CAutoLock lock(&m_lock);
    if (!m_committed) {
        return S_OK;
    }
    m_committed = false;
    if (m_outstanding == 0) {
        free_buffers();
    } else {
        m_decommit_pending = true;
    }
    SetEvent(m_buffer_freed);
    return S_OK;
}

STDMETHODIMP CMemAllocator::GetBuffer(IMediaSample** out, REFERENCE_TIME* start,
                                      REFERENCE_TIME* end, DWORD flags) {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    CMediaSample* sample = nullptr;
    while (sample == nullptr) {
        {
            CAutoLock lock(&m_lock);
            if (!m_committed) {
                // Pass the wake-up on to any other waiter.
                SetEvent(m_buffer_freed);
                return VFW_E_NOT_COMMITTED;
            }
            if (!m_free.empty()) {
                sample = m_free.back();
                m_free.pop_back();
                ++m_outstanding;
                break;
            }
            if (flags & AM_GBF_NOWAIT) {
                return VFW_E_TIMEOUT;
            }
        }
        WaitForSingleObject(m_buffer_freed, INFINITE);
    }
    // A sample out keeps its allocator alive.
    NonDelegatingAddRef();
    sample->Reset(1);
    sample->SetTime(start, end);
    sample->SetDiscontinuity((flags & AM_GBF_PREVFRAMESKIPPED) != 0);
    *out = sample;
    return S_OK;
}

STDMETHODIMP CMemAllocator::ReleaseBuffer(IMediaSample* released) {
    if (released == nullptr) {
        return E_POINTER;
    }
    {
        CAutoLock lock(&m_lock);
        auto* sample = static_cast<CMediaSample*>(released);
        sample->Reset(0);
        m_free.push_back(sample);
        --m_outstanding;
        if (m_decommit_pending && m_outstanding == 0) {
            free_buffers();
        }
        SetEvent(m_buffer_freed);
    }
    NonDelegatingRelease();
    return S_OK;
}

void CMemAllocator::free_buffers() {
    m_samples.clear();
    m_free.clear();
    m_memory.reset();
    m_decommit_pending = false;
}

} // namespace dshow
