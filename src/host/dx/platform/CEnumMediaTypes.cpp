#include "host/dx/platform/CEnumMediaTypes.h"
#include "host/dx/platform/CBasePin.h"

namespace dshow {

CEnumMediaTypes::CEnumMediaTypes(CBasePin* pin, CEnumMediaTypes*)
    : CEnumBase("CEnumMediaTypes"), m_pPin(pin) {
    m_pPin->AddRef();
    start();
}

CEnumMediaTypes::~CEnumMediaTypes() {
    m_pPin->Release();
}

LONG CEnumMediaTypes::source_version() {
    return m_pPin->GetMediaTypeVersion();
}

bool CEnumMediaTypes::exists(int position) {
    CMediaType type;
    return m_pPin->GetMediaType(position, &type) == S_OK;
}

bool CEnumMediaTypes::fetch(int position, AM_MEDIA_TYPE** type) {
    CMediaType found;
    if (m_pPin->GetMediaType(position, &found) != S_OK) {
        return false;
    }
    *type = CreateMediaType(&found);
    return *type != nullptr;
}

CEnumBase<IEnumMediaTypes, AM_MEDIA_TYPE*>* CEnumMediaTypes::duplicate() {
    return new (std::nothrow) CEnumMediaTypes(m_pPin, this);
}

} // namespace dshow
