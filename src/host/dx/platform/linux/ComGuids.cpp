#include "host/dx/platform/linux/ComGuids.h"

namespace {

// The COM base interfaces share the {xxxxxxxx-0000-0000-C000-000000000046} form.
constexpr GUID ole_guid(DWORD data1) {
    return {data1, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
}

// Most filter-graph interfaces share the {56A868xx-0AD4-11CE-B03A-0020AF0BA770} form.
constexpr GUID quartz_guid(DWORD data1) {
    return {data1, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
}

// Audio media subtypes are wave format tags in the {tag-0000-0010-8000-00AA00389B71} form.
constexpr GUID wave_guid(DWORD data1) {
    return {data1, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

} // namespace

const GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
const IID IID_IUnknown = ole_guid(0x00000000);
const IID IID_IClassFactory = ole_guid(0x00000001);
const IID IID_IPersist = ole_guid(0x0000010C);
const IID IID_IPersistStream = ole_guid(0x00000109);
const IID IID_IStream = ole_guid(0x0000000C);
const IID IID_ISequentialStream = {
    0x0C733A30, 0x2A1C, 0x11CE, {0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3D}};
const IID IID_ISpecifyPropertyPages = {
    0xB196B28B, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
const IID IID_IMediaFilter = quartz_guid(0x56A86899);
const IID IID_IBaseFilter = quartz_guid(0x56A86895);
const IID IID_IPin = quartz_guid(0x56A86891);
const IID IID_IEnumPins = quartz_guid(0x56A86892);
const IID IID_IEnumMediaTypes = {
    0x89C31040, 0x846B, 0x11CE, {0x97, 0xD3, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
const IID IID_IFilterGraph = quartz_guid(0x56A8689F);
const IID IID_IReferenceClock = quartz_guid(0x56A86897);
const IID IID_IMediaSample = quartz_guid(0x56A8689A);
const IID IID_IMemAllocator = quartz_guid(0x56A8689C);
const IID IID_IMemInputPin = quartz_guid(0x56A8689D);
const IID IID_IAMovieSetup = {
    0xA3D8CEC0, 0x7E5A, 0x11CF, {0xBB, 0xC5, 0x00, 0x80, 0x5F, 0x6C, 0xEF, 0x20}};
const IID IID_IFilterMapper = quartz_guid(0x56A868A3);
const IID IID_IFilterMapper2 = {
    0xB79BB0B0, 0x33C1, 0x11D1, {0xAB, 0xE1, 0x00, 0xA0, 0xC9, 0x05, 0xF3, 0x75}};

const CLSID CLSID_FilterMapper = {
    0xE436EBB2, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
const CLSID CLSID_FilterMapper2 = {
    0xCDA42200, 0xBD88, 0x11D0, {0xBD, 0x4E, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
const CLSID CLSID_LegacyAmFilterCategory = {
    0x083863F1, 0x70DE, 0x11D0, {0xBD, 0x40, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

const GUID MEDIATYPE_NULL = GUID_NULL;
const GUID MEDIASUBTYPE_NULL = GUID_NULL;
const GUID MEDIATYPE_Audio = wave_guid(0x73647561); // 'auds'
const GUID MEDIASUBTYPE_PCM = wave_guid(0x00000001);
const GUID MEDIASUBTYPE_IEEE_FLOAT = wave_guid(0x00000003);
// The sample types of WAVEFORMATEXTENSIBLE: the same values as the subtypes.
const GUID KSDATAFORMAT_SUBTYPE_PCM = wave_guid(0x00000001);
const GUID KSDATAFORMAT_SUBTYPE_IEEE_FLOAT = wave_guid(0x00000003);
const GUID FORMAT_None = {
    0x0F6417D6, 0xC318, 0x11D0, {0xA4, 0x3F, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
const GUID FORMAT_WaveFormatEx = {
    0x05589F81, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
