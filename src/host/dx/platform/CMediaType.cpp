#include "host/dx/platform/CMediaType.h"

#include <cstring>

namespace dshow {

CMediaType::CMediaType() : AM_MEDIA_TYPE() {
    InitMediaType();
}

CMediaType::CMediaType(const AM_MEDIA_TYPE& type, HRESULT* phr) : AM_MEDIA_TYPE() {
    const HRESULT hr = CopyMediaType(this, &type);
    if (phr != nullptr && FAILED(hr)) {
        *phr = hr;
    }
}

CMediaType::CMediaType(const CMediaType& type, HRESULT* phr)
    : CMediaType(static_cast<const AM_MEDIA_TYPE&>(type), phr) {}

CMediaType& CMediaType::operator=(const AM_MEDIA_TYPE& type) {
    Set(type);
    return *this;
}

CMediaType& CMediaType::operator=(const CMediaType& type) {
    Set(type);
    return *this;
}

CMediaType::~CMediaType() {
    FreeMediaType(*this);
}

bool CMediaType::operator==(const CMediaType& other) const {
    return IsEqualGUID(majortype, other.majortype) && IsEqualGUID(subtype, other.subtype) &&
           IsEqualGUID(formattype, other.formattype) && cbFormat == other.cbFormat &&
           (cbFormat == 0 || std::memcmp(pbFormat, other.pbFormat, cbFormat) == 0);
}

HRESULT CMediaType::Set(const CMediaType& type) {
    return Set(static_cast<const AM_MEDIA_TYPE&>(type));
}

HRESULT CMediaType::Set(const AM_MEDIA_TYPE& type) {
    if (&type == this) {
        return S_OK;
    }
    FreeMediaType(*this);
    const HRESULT hr = CopyMediaType(this, &type);
    if (FAILED(hr)) {
        InitMediaType();
    }
    return hr;
}

BOOL CMediaType::IsValid() const {
    return !IsEqualGUID(majortype, GUID_NULL);
}

ULONG CMediaType::GetSampleSize() const {
    return IsFixedSize() ? lSampleSize : 0;
}

void CMediaType::SetSampleSize(ULONG size) {
    if (size == 0) {
        SetVariableSize();
    } else {
        bFixedSizeSamples = TRUE;
        lSampleSize = size;
    }
}

void CMediaType::SetVariableSize() {
    bFixedSizeSamples = FALSE;
}

void CMediaType::SetTemporalCompression(BOOL compressed) {
    bTemporalCompression = compressed;
}

BOOL CMediaType::SetFormat(const BYTE* format, ULONG length) {
    BYTE* block = AllocFormatBuffer(length);
    if (block == nullptr && length != 0) {
        return FALSE;
    }
    if (length != 0) {
        std::memcpy(block, format, length);
    }
    return TRUE;
}

void CMediaType::ResetFormatBuffer() {
    if (pbFormat != nullptr) {
        CoTaskMemFree(pbFormat);
    }
    pbFormat = nullptr;
    cbFormat = 0;
}

BYTE* CMediaType::AllocFormatBuffer(ULONG length) {
    ResetFormatBuffer();
    if (length == 0) {
        return nullptr;
    }
    pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(length));
    cbFormat = pbFormat != nullptr ? length : 0;
    return pbFormat;
}

BYTE* CMediaType::ReallocFormatBuffer(ULONG length) {
    if (length == 0) {
        ResetFormatBuffer();
        return nullptr;
    }
    BYTE* block = static_cast<BYTE*>(CoTaskMemRealloc(pbFormat, length));
    if (block == nullptr) {
        return nullptr;
    }
    pbFormat = block;
    cbFormat = length;
    return pbFormat;
}

void CMediaType::InitMediaType() {
    FreeMediaType(*this);
    majortype = GUID_NULL;
    subtype = GUID_NULL;
    formattype = GUID_NULL;
    bFixedSizeSamples = TRUE;
    bTemporalCompression = FALSE;
    lSampleSize = 1;
}

BOOL CMediaType::IsPartiallySpecified() const {
    return IsEqualGUID(majortype, GUID_NULL) || IsEqualGUID(formattype, GUID_NULL);
}

BOOL CMediaType::MatchesPartial(const CMediaType* partial) const {
    const auto matches = [](const GUID& mine, const GUID& wanted) {
        return IsEqualGUID(wanted, GUID_NULL) || IsEqualGUID(mine, wanted);
    };
    if (!matches(majortype, partial->majortype) || !matches(subtype, partial->subtype)) {
        return FALSE;
    }
    if (IsEqualGUID(partial->formattype, GUID_NULL)) {
        return TRUE;
    }
    return IsEqualGUID(formattype, partial->formattype) && cbFormat == partial->cbFormat &&
           (cbFormat == 0 || std::memcmp(pbFormat, partial->pbFormat, cbFormat) == 0);
}

void FreeMediaType(AM_MEDIA_TYPE& type) {
    if (type.cbFormat != 0 || type.pbFormat != nullptr) {
        CoTaskMemFree(type.pbFormat);
        type.cbFormat = 0;
        type.pbFormat = nullptr;
    }
    if (type.pUnk != nullptr) {
        type.pUnk->Release();
        type.pUnk = nullptr;
    }
}

void DeleteMediaType(AM_MEDIA_TYPE* type) {
    if (type != nullptr) {
        FreeMediaType(*type);
        CoTaskMemFree(type);
    }
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* source) {
    auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (type != nullptr && FAILED(CopyMediaType(type, source))) {
        CoTaskMemFree(type);
        type = nullptr;
    }
    return type;
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE* source) {
    *target = *source;
    if (source->cbFormat != 0) {
        target->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source->cbFormat));
        if (target->pbFormat == nullptr) {
            target->cbFormat = 0;
            target->pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        std::memcpy(target->pbFormat, source->pbFormat, source->cbFormat);
    } else {
        target->pbFormat = nullptr;
    }
    if (target->pUnk != nullptr) {
        target->pUnk->AddRef();
    }
    return S_OK;
}

} // namespace dshow
