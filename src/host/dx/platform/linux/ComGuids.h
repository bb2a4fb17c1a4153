// Interface, class, media-type and category identifiers, with the values
// Windows gives them. Defined once in ComGuids.cpp.
#pragma once

#include "host/dx/platform/linux/ComTypes.h"

extern const GUID GUID_NULL;
extern const IID IID_IUnknown;
extern const IID IID_IClassFactory;
extern const IID IID_IPersist;
extern const IID IID_IPersistStream;
extern const IID IID_ISequentialStream;
extern const IID IID_IStream;
extern const IID IID_ISpecifyPropertyPages;
extern const IID IID_IMediaFilter;
extern const IID IID_IBaseFilter;
extern const IID IID_IPin;
extern const IID IID_IEnumPins;
extern const IID IID_IEnumMediaTypes;
extern const IID IID_IFilterGraph;
extern const IID IID_IReferenceClock;
extern const IID IID_IMediaSample;
extern const IID IID_IMemAllocator;
extern const IID IID_IMemInputPin;
extern const IID IID_IAMovieSetup;
extern const IID IID_IFilterMapper;
extern const IID IID_IFilterMapper2;

extern const CLSID CLSID_FilterMapper;
extern const CLSID CLSID_FilterMapper2;
extern const CLSID CLSID_LegacyAmFilterCategory;

extern const GUID MEDIATYPE_NULL;
extern const GUID MEDIASUBTYPE_NULL;
extern const GUID MEDIATYPE_Audio;
extern const GUID MEDIASUBTYPE_PCM;
extern const GUID MEDIASUBTYPE_IEEE_FLOAT;
extern const GUID KSDATAFORMAT_SUBTYPE_PCM;
extern const GUID KSDATAFORMAT_SUBTYPE_IEEE_FLOAT;
extern const GUID FORMAT_None;
extern const GUID FORMAT_WaveFormatEx;
