// Enumerates a filter's pins, each handed out with a reference.
#pragma once

#include "host/dx/platform/CEnumBase.h"

namespace dshow {

class CBaseFilter;

class CEnumPins : public CEnumBase<IEnumPins, IPin*> {
public:
    // Holds a reference on filter; to_copy is unused and may be null.
    CEnumPins(CBaseFilter* filter, CEnumPins* to_copy);
    ~CEnumPins() override;

private:
    REFIID interface_id() const override { return IID_IEnumPins; }
    LONG source_version() override;
    bool exists(int position) override;
    bool fetch(int position, IPin** pin) override;
    CEnumBase* duplicate() override;

    CBaseFilter* const m_pFilter;
};

} // namespace dshow
