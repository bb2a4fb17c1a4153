// The filter's fixed identity. These values never change: the private
// interface id also heads every persisted stream, and hosts keep the class ids
// in their projects.
#pragma once

#include "host/dx/platform/com.h"

namespace host::dx {

// {9E31934C-1F03-4982-AA63-C00C94C206C7}
inline constexpr CLSID CLSID_Quevrin = {
    0x9E31934C, 0x1F03, 0x4982, {0xAA, 0x63, 0xC0, 0x0C, 0x94, 0xC2, 0x06, 0xC7}};

// {EFD35539-5409-47BE-A069-DADCB152BECC}
inline constexpr CLSID CLSID_QuevrinPropertyPage = {
    0xEFD35539, 0x5409, 0x47BE, {0xA0, 0x69, 0xDA, 0xDC, 0xB1, 0x52, 0xBE, 0xCC}};

// {4BB46EC9-0BE6-443F-96E3-0EF91ED83E7E}
inline constexpr IID IID_ISfPlugInProp = {
    0x4BB46EC9, 0x0BE6, 0x443F, {0x96, 0xE3, 0x0E, 0xF9, 0x1E, 0xD8, 0x3E, 0x7E}};

// {36A22460-0CC9-11D0-8574-00A0C9053912}
inline constexpr IID IID_IStaticFilterPreset = {
    0x36A22460, 0x0CC9, 0x11D0, {0x85, 0x74, 0x00, 0xA0, 0xC9, 0x05, 0x39, 0x12}};

} // namespace host::dx
