#pragma once

#include "host/dx/CAudioTransform.h"
#include "host/dx/IStaticFilterPreset.h"
#include "host/dx/platform/CTransformFilter.h"
#include "host/dx/platform/CTransformOutputPin.h"

#include <memory>

namespace host::dx {

class CSfPlugInInputPin;

extern const dshow::AMOVIESETUP_FILTER quevrin_setup;

// The DirectShow audio transform filter "VANTREL - Quevrin": negotiates 16-bit
// PCM or 32-bit float, mono or stereo, at any rate, into stereo of the same
// sample format; streams through the adapter core; renders the tail at the
// end of the stream; persists the current program; offers the built-in
// programs as static presets.
//
// Threads: the DirectShow operations carry the tags of the base classes';
// graph control (connection, format negotiation, state changes), persistence
// and presets run on the editor thread (the host's user-interface thread),
// Receive and EndOfStream on the audio thread.
class CSfPlugIn : public dshow::CTransformFilter,
                  public CAudioTransform,
                  public ISpecifyPropertyPages,
                  public IPersistStream,
                  public IStaticFilterPreset {
public:
    // The persisted stream: a 20-byte header (total size, the private
    // interface id) and the state block.
    static constexpr int stream_header_size = 20;
    static constexpr int stream_size = stream_header_size + state_block_size; // 4116

    // [editor thread] The factory template's create function: the engine and
    // the headless editor, wired. Null with *phr = E_OUTOFMEMORY on failure.
    static dshow::CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
    // [editor thread] The same around given core objects. Whatever is made is
    // destroyed again on failure.
    static CSfPlugIn* create(LPUNKNOWN outer, HRESULT* phr, std::unique_ptr<mppi::DspInterface> dsp,
                             std::unique_ptr<mppi::GuiInterface> gui);
    ~CSfPlugIn() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    int GetPinCount() override { return 2; }
    const dshow::AMOVIESETUP_FILTER* GetSetupData() override { return &quevrin_setup; }

    HRESULT Transform(IMediaSample*, IMediaSample*) override { return E_INVALIDARG; }
    HRESULT CheckInputType(const dshow::CMediaType* in) override;
    HRESULT CheckTransform(const dshow::CMediaType* in, const dshow::CMediaType* out) override;
    HRESULT GetMediaType(int position, dshow::CMediaType* mt) override;
    HRESULT SetMediaType(PIN_DIRECTION dir, const dshow::CMediaType* mt) override;
    HRESULT CompleteConnect(PIN_DIRECTION dir, IPin* receive_pin) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT StartStreaming() override { return start_streaming(); }
    // [audio thread] Splits the input over as many output samples as it
    // needs; only the first carries the input's times.
    HRESULT Receive(IMediaSample* sample) noexcept override;
    // [audio thread] Renders the tail, then passes end of stream on.
    HRESULT EndOfStream() noexcept override;

    // [editor thread] The output type an input type calls for: the DSP's channel count, block
    // align and byte rate to match, no extra format bytes.
    HRESULT output_type_for(const dshow::CMediaType& in, dshow::CMediaType* out);

    // IPersist (both IBaseFilter's and IPersistStream's)
    STDMETHODIMP GetClassID(CLSID* clsid) override { return dshow::CBaseFilter::GetClassID(clsid); }
    // ISpecifyPropertyPages
    // [editor thread]
    STDMETHODIMP GetPages(CAUUID* pages) override;
    // IPersistStream
    // [any thread]
    STDMETHODIMP IsDirty() override { return is_dirty() ? S_OK : S_FALSE; }
    // [editor thread] Applies the persisted program with the host's priority and
    // tells the registered windows; E_FAIL, program unchanged, for a stream
    // of another size, id or magic, or an unreadable program.
    STDMETHODIMP Load(IStream* stream) override;
    // [editor thread] Writes the header and the state block with the current program.
    STDMETHODIMP Save(IStream* stream, BOOL clear_dirty) override;
    // [any thread]
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    // IStaticFilterPreset
    STDMETHODIMP GetPresetCount(LONG* count) override;
    STDMETHODIMP GetPresetName(LONG index, LPWSTR name, LONG capacity) override;
    STDMETHODIMP SetPreset(LONG index) override;

protected:
    // The input pin "Input" (a CSfPlugInInputPin) and the output pin "Output".
    std::unique_ptr<dshow::CTransformInputPin> CreateInputPin(HRESULT* phr) override;
    std::unique_ptr<dshow::CTransformOutputPin> CreateOutputPin(HRESULT* phr) override;

private:
    explicit CSfPlugIn(LPUNKNOWN outer);

    // The negotiated formats the adapter core reads.
    WAVEFORMATEX m_input_format{};
    WAVEFORMATEX m_output_format{};
};

} // namespace host::dx
