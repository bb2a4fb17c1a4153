// An IStream over a byte vector, for a host that keeps a filter's persisted
// state in memory or a file, and for persistence tests. Reads and writes move
// one position; reads past the end come back short. A stream can be told to
// fail its reads or writes after a number of bytes (to test failing media).
// Used on the editor thread, where persistence runs.
#pragma once

#include "host/dx/platform/com.h"

#include <atomic>
#include <vector>

namespace dshow {

class MemoryStream : public IStream {
public:
    explicit MemoryStream(std::vector<BYTE> bytes = {}) : m_bytes(std::move(bytes)) {}
    virtual ~MemoryStream() = default;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_references; }
    // The stream lives on its user's stack: the count only has to balance.
    STDMETHODIMP_(ULONG) Release() override { return --m_references; }

    STDMETHODIMP Read(void* pv, ULONG cb, ULONG* read) override;
    STDMETHODIMP Write(const void* pv, ULONG cb, ULONG* written) override;
    STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
    STDMETHODIMP SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Commit(DWORD) override { return S_OK; }
    STDMETHODIMP Revert() override { return E_NOTIMPL; }
    STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Clone(IStream**) override { return E_NOTIMPL; }

    // Reads or writes reaching beyond this many bytes from the start fail
    // with STG_E_READFAULT or STG_E_WRITEFAULT.
    void fail_after(std::size_t bytes) { m_fail_after = bytes; }
    void rewind() { m_position = 0; }
    const std::vector<BYTE>& bytes() const { return m_bytes; }
    std::vector<BYTE>& bytes() { return m_bytes; }

private:
    std::vector<BYTE> m_bytes;
    std::size_t m_position = 0;
    std::size_t m_fail_after = static_cast<std::size_t>(-1);
    std::atomic<ULONG> m_references{1};
};

} // namespace dshow
