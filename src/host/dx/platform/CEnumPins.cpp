#include "host/dx/platform/CEnumPins.h"
#include "host/dx/platform/CBasePin.h"

namespace dshow {

CEnumPins::CEnumPins(CBaseFilter* filter, CEnumPins*) : CEnumBase("CEnumPins"), m_pFilter(filter) {
    m_pFilter->AddRef();
    start();
}

CEnumPins::~CEnumPins() {
    m_pFilter->Release();
}

LONG CEnumPins::source_version() {
    return m_pFilter->GetPinVersion();
}

bool CEnumPins::exists(int position) {
    return position < m_pFilter->GetPinCount() && m_pFilter->GetPin(position) != nullptr;
}

bool CEnumPins::fetch(int position, IPin** pin) {
    if (!exists(position)) {
        return false;
    }
    CBasePin* found = m_pFilter->GetPin(position);
    found->AddRef();
    *pin = found;
    return true;
}

CEnumBase<IEnumPins, IPin*>* CEnumPins::duplicate() {
    return new (std::nothrow) CEnumPins(m_pFilter, this);
}

} // namespace dshow
