// IPersistStream::Load of the filter fed arbitrary bytes as the host's
// stream. A stream that loads must save again and load back to the same
// bytes; anything else must be refused without touching memory it does not own.
#include "host/dx/CSfPlugIn.h"
#include "host/dx/platform/MemoryStream.h"

#include <cstdlib>
#include <vector>

namespace {

host::dx::CSfPlugIn* make_filter() {
    HRESULT hr = S_OK;
    auto* filter =
        static_cast<host::dx::CSfPlugIn*>(host::dx::CSfPlugIn::CreateInstance(nullptr, &hr));
    if (filter == nullptr) {
        std::abort();
    }
    filter->NonDelegatingAddRef();
    return filter;
}

std::vector<BYTE> save(host::dx::CSfPlugIn* filter) {
    dshow::MemoryStream stream;
    if (filter->Save(&stream, TRUE) != S_OK) {
        std::abort();
    }
    return stream.bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One filter for the whole run: creating the engine per input would
    // dominate the time. A refused load leaves its program as it was.
    static host::dx::CSfPlugIn* const filter = make_filter();
    dshow::MemoryStream stream(std::vector<BYTE>(data, data + size));
    if (filter->Load(&stream) != S_OK) {
        return 0;
    }
    const std::vector<BYTE> first = save(filter);
    dshow::MemoryStream again(first);
    if (filter->Load(&again) != S_OK || save(filter) != first) {
        std::abort();
    }
    return 0;
}
