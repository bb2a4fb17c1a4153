// Enumerates a pin's preferred media types (its GetMediaType), each handed
// out as a task-memory copy the caller frees with DeleteMediaType.
#pragma once

#include "host/dx/platform/CEnumBase.h"

namespace dshow {

class CBasePin;

class CEnumMediaTypes : public CEnumBase<IEnumMediaTypes, AM_MEDIA_TYPE*> {
public:
    // Holds a reference on pin; to_copy is unused and may be null.
    CEnumMediaTypes(CBasePin* pin, CEnumMediaTypes* to_copy);
    ~CEnumMediaTypes() override;

private:
    REFIID interface_id() const override { return IID_IEnumMediaTypes; }
    LONG source_version() override;
    bool exists(int position) override;
    bool fetch(int position, AM_MEDIA_TYPE** type) override;
    CEnumBase* duplicate() override;

    CBasePin* const m_pPin;
};

} // namespace dshow
