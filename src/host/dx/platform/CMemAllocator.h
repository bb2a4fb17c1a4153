// An allocator of fixed-size buffers in one block of memory, as used between
// an output pin and the input pin it delivers to. Buffers exist between
// Commit and Decommit; GetBuffer waits for a free one unless told not to.
// Untagged operations (properties, Commit) run on the editor thread.
#pragma once

#include "host/dx/platform/CCritSec.h"
#include "host/dx/platform/CUnknown.h"

#include <memory>
#include <vector>

namespace dshow {

class CMediaSample;

class CMemAllocator : public CUnknown, public IMemAllocator {
public:
    CMemAllocator(const char* name, LPUNKNOWN outer, HRESULT* phr);
    ~CMemAllocator() override;

    // For a factory template: a new allocator, or null with *phr set.
    static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
    // A new standalone allocator with one reference for the caller.
    static HRESULT CreateAllocator(IMemAllocator** allocator);

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // [any thread] Only while decommitted with every buffer back; the alignment
    // must be a power of two. The actual size is rounded up to the alignment.
    STDMETHODIMP SetProperties(ALLOCATOR_PROPERTIES* request,
                               ALLOCATOR_PROPERTIES* actual) override;
    STDMETHODIMP GetProperties(ALLOCATOR_PROPERTIES* props) override;
    // [any thread] Allocates the buffers; VFW_E_SIZENOTSET before SetProperties. May allocate.
    STDMETHODIMP Commit() override;
    // [any thread] Wakes waiting GetBuffer calls; the memory goes when the last buffer is back.
    STDMETHODIMP Decommit() override;
    // [audio thread] May block until a buffer is free (not with AM_GBF_NOWAIT,
    // which gives VFW_E_TIMEOUT); VFW_E_NOT_COMMITTED when decommitted.
    STDMETHODIMP GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* end,
                           DWORD flags) override;
    // [any thread] Called by a sample on its last release.
    STDMETHODIMP ReleaseBuffer(IMediaSample* sample) override;

private:
    void free_buffers();

    CCritSec m_lock;
    ALLOCATOR_PROPERTIES m_props{0, 0, 0, 0};
    bool m_committed = false;
    bool m_decommit_pending = false;
    LONG m_outstanding = 0;
    HANDLE m_buffer_freed;
    std::unique_ptr<BYTE[]> m_memory;
    std::vector<std::unique_ptr<CMediaSample>> m_samples;
    std::vector<CMediaSample*> m_free; // of m_samples
};

} // namespace dshow
