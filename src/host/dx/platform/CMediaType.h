// A media type that owns its format block (task memory) and its reference on
// pUnk, with the AM_MEDIA_TYPE helpers the pins use. A value: any thread may
// use its own copy.
#pragma once

#include "host/dx/platform/com.h"

namespace dshow {

class CMediaType : public AM_MEDIA_TYPE {
public:
    CMediaType();
    // Deep copies: the format block is duplicated, pUnk gains a reference.
    CMediaType(const AM_MEDIA_TYPE& type, HRESULT* phr = nullptr);
    CMediaType(const CMediaType& type, HRESULT* phr = nullptr);
    CMediaType& operator=(const AM_MEDIA_TYPE& type);
    CMediaType& operator=(const CMediaType& type);
    ~CMediaType();

    // Equal major type, subtype, format type and format bytes.
    bool operator==(const CMediaType& other) const;
    bool operator!=(const CMediaType& other) const { return !(*this == other); }

    // Replaces this type with a copy of type; E_OUTOFMEMORY leaves it empty.
    HRESULT Set(const CMediaType& type);
    HRESULT Set(const AM_MEDIA_TYPE& type);

    // A major type is set.
    BOOL IsValid() const;

    const GUID* Type() const { return &majortype; }
    void SetType(const GUID* type) { majortype = *type; }
    const GUID* Subtype() const { return &subtype; }
    void SetSubtype(const GUID* type) { subtype = *type; }
    const GUID* FormatType() const { return &formattype; }
    void SetFormatType(const GUID* type) { formattype = *type; }

    BOOL IsFixedSize() const { return bFixedSizeSamples; }
    BOOL IsTemporalCompressed() const { return bTemporalCompression; }
    ULONG GetSampleSize() const;
    // A size of 0 means variable-size samples.
    void SetSampleSize(ULONG size);
    void SetVariableSize();
    void SetTemporalCompression(BOOL compressed);

    BYTE* Format() const { return pbFormat; }
    ULONG FormatLength() const { return cbFormat; }
    // Copies length bytes in as the new format block; FALSE when out of memory.
    BOOL SetFormat(const BYTE* format, ULONG length);
    // Frees the format block and sets no format.
    void ResetFormatBuffer();
    // Replaces the format block with an uninitialised one; null when out of memory.
    BYTE* AllocFormatBuffer(ULONG length);
    // Resizes the format block keeping its leading bytes; null when out of memory.
    BYTE* ReallocFormatBuffer(ULONG length);

    // Back to an empty type with fixed-size samples of 1 byte.
    void InitMediaType();
    // Major type or format type still the null GUID, i.e. open to negotiation.
    BOOL IsPartiallySpecified() const;
    // Every GUID this type sets matches partial's, which may leave some null.
    BOOL MatchesPartial(const CMediaType* partial) const;
};

// Frees what a media type owns (format block, pUnk reference), not the structure.
void FreeMediaType(AM_MEDIA_TYPE& type);
// Frees the owned parts and the task-memory structure itself.
void DeleteMediaType(AM_MEDIA_TYPE* type);
// A task-memory deep copy, as handed out by enumerators; null when out of memory.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* source);
// Deep copy into target, which must own nothing; E_OUTOFMEMORY when the format cannot be copied.
HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE* source);

} // namespace dshow
