#include "host/dx/platform/MemoryStream.h"

#include <algorithm>
#include <cstring>

namespace dshow {

STDMETHODIMP MemoryStream::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISequentialStream) ||
        IsEqualIID(riid, IID_IStream)) {
        *ppv = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP MemoryStream::Read(void* pv, ULONG cb, ULONG* read) {
    if (m_position + cb > m_fail_after) {
        return STG_E_READFAULT;
    }
    const std::size_t available = m_bytes.size() - std::min(m_position, m_bytes.size());
    const std::size_t count = std::min<std::size_t>(cb, available);
    if (count > 0) {
        std::memcpy(pv, m_bytes.data() + m_position, count);
    }
    m_position += count;
    if (read != nullptr) {
        *read = static_cast<ULONG>(count);
    }
    return count == cb ? S_OK : S_FALSE;
}

STDMETHODIMP MemoryStream::Write(const void* pv, ULONG cb, ULONG* written) {
    if (m_position + cb > m_fail_after) {
        return STG_E_WRITEFAULT;
    }
    if (m_bytes.size() < m_position + cb) {
        m_bytes.resize(m_position + cb);
    }
    std::memcpy(m_bytes.data() + m_position, pv, cb);
    m_position += cb;
    if (written != nullptr) {
        *written = cb;
    }
    return S_OK;
}

STDMETHODIMP MemoryStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
    const LONGLONG base = origin == STREAM_SEEK_SET   ? 0
                          : origin == STREAM_SEEK_CUR ? static_cast<LONGLONG>(m_position)
                                                      : static_cast<LONGLONG>(m_bytes.size());
    const LONGLONG target = base + move.QuadPart;
    if (target < 0) {
        return E_INVALIDARG;
    }
    m_position = static_cast<std::size_t>(target);
    if (position != nullptr) {
        position->QuadPart = m_position;
    }
    return S_OK;
}

} // namespace dshow
