// One of Wine's filter graphs holding Wine's File Source (Async) and WAVE
// Parser for a WAV file, to which a test adds filters, connects them through
// the graph and runs the stream to its end.
#pragma once

#include <windows.h>

#include <dshow.h>
#include <wrl/client.h>

#include <string>

using Microsoft::WRL::ComPtr;

// The filter's first pin of the given direction, or null.
ComPtr<IPin> find_pin(IBaseFilter* filter, PIN_DIRECTION direction);

class WineGraph {
public:
    // [editor thread] Builds the graph and connects the source to the parser
    // for the file at path (a Windows path).
    HRESULT open(const std::string& path);

    IPin* parser_output() const { return m_parser_output.Get(); }
    HRESULT add(IBaseFilter* filter, LPCWSTR name);
    // IGraphBuilder::Connect from output to the filter's input pin.
    HRESULT connect(IPin* output, IBaseFilter* downstream);
    // IFilterGraph::ConnectDirect from output to the filter's input pin, with
    // the given media type or, without one, a type the two pins agree on.
    HRESULT connect_direct(IPin* output, IBaseFilter* downstream,
                           const AM_MEDIA_TYPE* type = nullptr);
    // [editor thread] Runs without a reference clock until EC_COMPLETE (or the
    // timeout), then stops the graph.
    HRESULT run(DWORD timeout_ms);

private:
    ComPtr<IGraphBuilder> m_graph;
    ComPtr<IBaseFilter> m_source;
    ComPtr<IBaseFilter> m_parser;
    ComPtr<IPin> m_parser_output;
};
