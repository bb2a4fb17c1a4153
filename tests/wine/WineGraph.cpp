#include "WineGraph.h"

namespace {
// Quartz's WAVE Parser, which the system headers do not name.
// {D51BD5A1-7548-11CF-A520-0080C77EF58A}
const CLSID clsid_wave_parser = {
    0xD51BD5A1, 0x7548, 0x11CF, {0xA5, 0x20, 0x00, 0x80, 0xC7, 0x7E, 0xF5, 0x8A}};
} // namespace

ComPtr<IPin> find_pin(IBaseFilter* filter, PIN_DIRECTION direction) {
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(&pins))) {
        return nullptr;
    }
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        PIN_DIRECTION found;
        if (SUCCEEDED(pin->QueryDirection(&found)) && found == direction) {
            return pin;
        }
    }
    return nullptr;
}

HRESULT WineGraph::open(const std::string& path) {
    HRESULT hr =
        CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&m_graph));
    if (SUCCEEDED(hr)) {
        hr = CoCreateInstance(CLSID_AsyncReader, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&m_source));
    }
    if (SUCCEEDED(hr)) {
        hr = CoCreateInstance(clsid_wave_parser, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&m_parser));
    }
    ComPtr<IFileSourceFilter> file;
    if (SUCCEEDED(hr)) {
        hr = m_source.As(&file);
    }
    if (SUCCEEDED(hr)) {
        const std::wstring wide(path.begin(), path.end()); // the test's paths are ASCII
        hr = file->Load(wide.c_str(), nullptr);
    }
    if (SUCCEEDED(hr)) {
        hr = add(m_source.Get(), L"File Source");
    }
    if (SUCCEEDED(hr)) {
        hr = add(m_parser.Get(), L"WAVE Parser");
    }
    if (SUCCEEDED(hr)) {
        hr = connect(find_pin(m_source.Get(), PINDIR_OUTPUT).Get(), m_parser.Get());
    }
    if (SUCCEEDED(hr)) {
        m_parser_output = find_pin(m_parser.Get(), PINDIR_OUTPUT);
        hr = m_parser_output ? S_OK : E_FAIL;
    }
    return hr;
}

HRESULT WineGraph::add(IBaseFilter* filter, LPCWSTR name) {
    return m_graph->AddFilter(filter, name);
}

HRESULT WineGraph::connect(IPin* output, IBaseFilter* downstream) {
    const ComPtr<IPin> input = find_pin(downstream, PINDIR_INPUT);
    return output && input ? m_graph->Connect(output, input.Get()) : E_POINTER;
}

HRESULT WineGraph::connect_direct(IPin* output, IBaseFilter* downstream,
                                  const AM_MEDIA_TYPE* type) {
    const ComPtr<IPin> input = find_pin(downstream, PINDIR_INPUT);
    return output && input ? m_graph->ConnectDirect(output, input.Get(), type) : E_POINTER;
}

HRESULT WineGraph::run(DWORD timeout_ms) {
    ComPtr<IMediaFilter> media_filter;
    ComPtr<IMediaControl> control;
    ComPtr<IMediaEvent> events;
    HRESULT hr = m_graph.As(&media_filter);
    if (SUCCEEDED(hr)) {
        hr = m_graph.As(&control);
    }
    if (SUCCEEDED(hr)) {
        hr = m_graph->QueryInterface(IID_IMediaEvent,
                                     reinterpret_cast<void**>(events.GetAddressOf()));
    }
    if (SUCCEEDED(hr)) {
        hr = media_filter->SetSyncSource(nullptr);
    }
    if (SUCCEEDED(hr)) {
        hr = control->Run();
    }
    if (FAILED(hr)) {
        return hr;
    }
    long code = 0;
    hr = events->WaitForCompletion(static_cast<long>(timeout_ms), &code);
    if (SUCCEEDED(hr) && code != EC_COMPLETE) {
        hr = E_FAIL;
    }
    const HRESULT stopped = control->Stop();
    return FAILED(hr) ? hr : stopped;
}
