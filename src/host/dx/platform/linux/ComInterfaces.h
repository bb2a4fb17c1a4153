// COM and DirectShow interfaces, declared with the method order of the
// Windows headers so that a vtable built here matches one built there.
#pragma once

#include "host/dx/platform/linux/ComGuids.h"
#include "host/dx/platform/linux/DshowTypes.h"

struct IEnumFilters;
struct IEnumMoniker;
struct IEnumRegFilters;
struct IMoniker;

struct IUnknown {
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) PURE;
    STDMETHOD_(ULONG, AddRef)() PURE;
    STDMETHOD_(ULONG, Release)() PURE;
};
using LPUNKNOWN = IUnknown*;

struct IClassFactory : IUnknown {
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** ppv) PURE;
    STDMETHOD(LockServer)(BOOL lock) PURE;
};

struct IPersist : IUnknown {
    STDMETHOD(GetClassID)(CLSID* clsid) PURE;
};

struct ISequentialStream : IUnknown {
    STDMETHOD(Read)(void* pv, ULONG cb, ULONG* read) PURE;
    STDMETHOD(Write)(const void* pv, ULONG cb, ULONG* written) PURE;
};

struct IStream : ISequentialStream {
    STDMETHOD(Seek)(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* new_position) PURE;
    STDMETHOD(SetSize)(ULARGE_INTEGER new_size) PURE;
    STDMETHOD(CopyTo)
    (IStream* stream, ULARGE_INTEGER cb, ULARGE_INTEGER* read, ULARGE_INTEGER* written) PURE;
    STDMETHOD(Commit)(DWORD flags) PURE;
    STDMETHOD(Revert)() PURE;
    STDMETHOD(LockRegion)(ULARGE_INTEGER offset, ULARGE_INTEGER cb, DWORD lock_type) PURE;
    STDMETHOD(UnlockRegion)(ULARGE_INTEGER offset, ULARGE_INTEGER cb, DWORD lock_type) PURE;
    STDMETHOD(Stat)(STATSTG* stat, DWORD flags) PURE;
    STDMETHOD(Clone)(IStream** stream) PURE;
};

struct IPersistStream : IPersist {
    STDMETHOD(IsDirty)() PURE;
    STDMETHOD(Load)(IStream* stream) PURE;
    STDMETHOD(Save)(IStream* stream, BOOL clear_dirty) PURE;
    STDMETHOD(GetSizeMax)(ULARGE_INTEGER* size) PURE;
};

struct ISpecifyPropertyPages : IUnknown {
    STDMETHOD(GetPages)(CAUUID* pages) PURE;
};

struct IReferenceClock : IUnknown {
    STDMETHOD(GetTime)(REFERENCE_TIME* time) PURE;
    STDMETHOD(AdviseTime)
    (REFERENCE_TIME base_time, REFERENCE_TIME stream_time, HEVENT event, DWORD_PTR* cookie) PURE;
    STDMETHOD(AdvisePeriodic)
    (REFERENCE_TIME start_time, REFERENCE_TIME period, HSEMAPHORE semaphore,
     DWORD_PTR* cookie) PURE;
    STDMETHOD(Unadvise)(DWORD_PTR cookie) PURE;
};

struct IMediaFilter : IPersist {
    STDMETHOD(Stop)() PURE;
    STDMETHOD(Pause)() PURE;
    STDMETHOD(Run)(REFERENCE_TIME start) PURE;
    STDMETHOD(GetState)(DWORD timeout_ms, FILTER_STATE* state) PURE;
    STDMETHOD(SetSyncSource)(IReferenceClock* clock) PURE;
    STDMETHOD(GetSyncSource)(IReferenceClock** clock) PURE;
};

struct IPin;
struct IEnumPins;
struct IEnumMediaTypes;

struct IBaseFilter : IMediaFilter {
    STDMETHOD(EnumPins)(IEnumPins** pins) PURE;
    STDMETHOD(FindPin)(LPCWSTR id, IPin** pin) PURE;
    STDMETHOD(QueryFilterInfo)(FILTER_INFO* info) PURE;
    STDMETHOD(JoinFilterGraph)(IFilterGraph* graph, LPCWSTR name) PURE;
    STDMETHOD(QueryVendorInfo)(LPWSTR* vendor_info) PURE;
};

struct IPin : IUnknown {
    STDMETHOD(Connect)(IPin* receive_pin, const AM_MEDIA_TYPE* mt) PURE;
    STDMETHOD(ReceiveConnection)(IPin* connector, const AM_MEDIA_TYPE* mt) PURE;
    STDMETHOD(Disconnect)() PURE;
    STDMETHOD(ConnectedTo)(IPin** pin) PURE;
    STDMETHOD(ConnectionMediaType)(AM_MEDIA_TYPE* mt) PURE;
    STDMETHOD(QueryPinInfo)(PIN_INFO* info) PURE;
    STDMETHOD(QueryDirection)(PIN_DIRECTION* dir) PURE;
    STDMETHOD(QueryId)(LPWSTR* id) PURE;
    STDMETHOD(QueryAccept)(const AM_MEDIA_TYPE* mt) PURE;
    STDMETHOD(EnumMediaTypes)(IEnumMediaTypes** types) PURE;
    STDMETHOD(QueryInternalConnections)(IPin** pins, ULONG* count) PURE;
    STDMETHOD(EndOfStream)() PURE;
    STDMETHOD(BeginFlush)() PURE;
    STDMETHOD(EndFlush)() PURE;
    STDMETHOD(NewSegment)(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) PURE;
};

struct IEnumPins : IUnknown {
    STDMETHOD(Next)(ULONG count, IPin** pins, ULONG* fetched) PURE;
    STDMETHOD(Skip)(ULONG count) PURE;
    STDMETHOD(Reset)() PURE;
    STDMETHOD(Clone)(IEnumPins** clone) PURE;
};

struct IEnumMediaTypes : IUnknown {
    STDMETHOD(Next)(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) PURE;
    STDMETHOD(Skip)(ULONG count) PURE;
    STDMETHOD(Reset)() PURE;
    STDMETHOD(Clone)(IEnumMediaTypes** clone) PURE;
};

struct IFilterGraph : IUnknown {
    STDMETHOD(AddFilter)(IBaseFilter* filter, LPCWSTR name) PURE;
    STDMETHOD(RemoveFilter)(IBaseFilter* filter) PURE;
    STDMETHOD(EnumFilters)(IEnumFilters** filters) PURE;
    STDMETHOD(FindFilterByName)(LPCWSTR name, IBaseFilter** filter) PURE;
    STDMETHOD(ConnectDirect)(IPin* out, IPin* in, const AM_MEDIA_TYPE* mt) PURE;
    STDMETHOD(Reconnect)(IPin* pin) PURE;
    STDMETHOD(Disconnect)(IPin* pin) PURE;
    STDMETHOD(SetDefaultSyncSource)() PURE;
};

struct IMediaSample : IUnknown {
    STDMETHOD(GetPointer)(BYTE** buffer) PURE;
    STDMETHOD_(LONG, GetSize)() PURE;
    STDMETHOD(GetTime)(REFERENCE_TIME* start, REFERENCE_TIME* end) PURE;
    STDMETHOD(SetTime)(REFERENCE_TIME* start, REFERENCE_TIME* end) PURE;
    STDMETHOD(IsSyncPoint)() PURE;
    STDMETHOD(SetSyncPoint)(BOOL sync_point) PURE;
    STDMETHOD(IsPreroll)() PURE;
    STDMETHOD(SetPreroll)(BOOL preroll) PURE;
    STDMETHOD_(LONG, GetActualDataLength)() PURE;
    STDMETHOD(SetActualDataLength)(LONG length) PURE;
    STDMETHOD(GetMediaType)(AM_MEDIA_TYPE** mt) PURE;
    STDMETHOD(SetMediaType)(AM_MEDIA_TYPE* mt) PURE;
    STDMETHOD(IsDiscontinuity)() PURE;
    STDMETHOD(SetDiscontinuity)(BOOL discontinuity) PURE;
    STDMETHOD(GetMediaTime)(LONGLONG* start, LONGLONG* end) PURE;
    STDMETHOD(SetMediaTime)(LONGLONG* start, LONGLONG* end) PURE;
};

struct IMemAllocator : IUnknown {
    STDMETHOD(SetProperties)(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) PURE;
    STDMETHOD(GetProperties)(ALLOCATOR_PROPERTIES* props) PURE;
    STDMETHOD(Commit)() PURE;
    STDMETHOD(Decommit)() PURE;
    STDMETHOD(GetBuffer)
    (IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* end, DWORD flags) PURE;
    STDMETHOD(ReleaseBuffer)(IMediaSample* sample) PURE;
};

struct IMemInputPin : IUnknown {
    STDMETHOD(GetAllocator)(IMemAllocator** allocator) PURE;
    STDMETHOD(NotifyAllocator)(IMemAllocator* allocator, BOOL read_only) PURE;
    STDMETHOD(GetAllocatorRequirements)(ALLOCATOR_PROPERTIES* props) PURE;
    STDMETHOD(Receive)(IMediaSample* sample) PURE;
    STDMETHOD(ReceiveMultiple)(IMediaSample** samples, LONG count, LONG* processed) PURE;
    STDMETHOD(ReceiveCanBlock)() PURE;
};

struct IAMovieSetup : IUnknown {
    STDMETHOD(Register)() PURE;
    STDMETHOD(Unregister)() PURE;
};

struct IFilterMapper : IUnknown {
    STDMETHOD(RegisterFilter)(CLSID clsid, LPCWSTR name, DWORD merit) PURE;
    STDMETHOD(RegisterFilterInstance)(CLSID clsid, LPCWSTR name, CLSID* media_resource) PURE;
    STDMETHOD(RegisterPin)
    (CLSID filter, LPCWSTR name, BOOL rendered, BOOL output, BOOL zero, BOOL many,
     CLSID connects_to_filter, LPCWSTR connects_to_pin) PURE;
    STDMETHOD(RegisterPinType)
    (CLSID filter, LPCWSTR pin_name, CLSID major_type, CLSID sub_type) PURE;
    STDMETHOD(UnregisterFilter)(CLSID filter) PURE;
    STDMETHOD(UnregisterFilterInstance)(CLSID media_resource) PURE;
    STDMETHOD(UnregisterPin)(CLSID filter, LPCWSTR name) PURE;
    STDMETHOD(EnumMatchingFilters)
    (IEnumRegFilters** filters, DWORD merit, BOOL input_needed, CLSID in_major, CLSID in_sub,
     BOOL render, BOOL output_needed, CLSID out_major, CLSID out_sub) PURE;
};

struct IFilterMapper2 : IUnknown {
    STDMETHOD(CreateCategory)(REFCLSID category, DWORD merit, LPCWSTR description) PURE;
    STDMETHOD(UnregisterFilter)(const CLSID* category, LPCOLESTR instance, REFCLSID filter) PURE;
    STDMETHOD(RegisterFilter)
    (REFCLSID filter, LPCWSTR name, IMoniker** moniker, const CLSID* category, LPCOLESTR instance,
     const REGFILTER2* record) PURE;
    STDMETHOD(EnumMatchingFilters)
    (IEnumMoniker** filters, DWORD flags, BOOL exact_match, DWORD merit, BOOL input_needed,
     DWORD input_type_count, const GUID* input_types, const REGPINMEDIUM* medium_in,
     const CLSID* pin_category_in, BOOL render, BOOL output_needed, DWORD output_type_count,
     const GUID* output_types, const REGPINMEDIUM* medium_out, const CLSID* pin_category_out) PURE;
};
