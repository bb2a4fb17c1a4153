#include "host/dx/CSfPlugIn.h"

#include "editor/ZentrovaGui.h"
#include "effect/Algo.h"
#include "effect/SampleRateLimit.h"
#include "host/dx/CSfPlugInInputPin.h"
#include "host/dx/HostDspDx.h"
#include "host/dx/HostGuiDx.h"
#include "host/dx/QuevrinIds.h"
#include "host/dx/StaticPresets.h"

#include <cstring>
#include <new>

namespace host::dx {

namespace {

const dshow::AMOVIESETUP_MEDIATYPE audio_pin_type = {&MEDIATYPE_Audio, &GUID_NULL};
WCHAR input_pin_name[] = WIDE_TEXT("Input");
WCHAR output_pin_name[] = WIDE_TEXT("Output");
const dshow::AMOVIESETUP_PIN setup_pins[] = {
    {input_pin_name, FALSE, FALSE, FALSE, FALSE, &GUID_NULL, output_pin_name, 1, &audio_pin_type},
    {output_pin_name, FALSE, TRUE, FALSE, FALSE, &GUID_NULL, input_pin_name, 1, &audio_pin_type},
};

constexpr ULONG min_format_size = 16; // a WAVEFORMATEX without its cbSize
constexpr char state_magic[4] = {'V', 'n', 't', 'l'};

constexpr WORD extensible_extra_size = 22; // cbSize of a WAVEFORMATEXTENSIBLE

// The plain tag of an extensible block whose samples are 16-bit PCM or 32-bit
// float with every bit valid; the extensible tag for anything else.
WORD plain_tag(const WAVEFORMATEXTENSIBLE& ex) {
    const WORD bits = ex.Format.wBitsPerSample;
    if (ex.Format.cbSize < extensible_extra_size || ex.Samples.wValidBitsPerSample != bits) {
        return WAVE_FORMAT_EXTENSIBLE;
    }
    if (IsEqualGUID(ex.SubFormat, KSDATAFORMAT_SUBTYPE_PCM) && bits == 16) {
        return WAVE_FORMAT_PCM;
    }
    if (IsEqualGUID(ex.SubFormat, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT) && bits == 32) {
        return WAVE_FORMAT_IEEE_FLOAT;
    }
    return WAVE_FORMAT_EXTENSIBLE;
}

// The leading 16 bytes of a wave format block, the only ones looked at; an
// extensible block of a sample type the filter takes reads as the plain
// format, so everything after this treats the two alike.
bool read_wave_format(const dshow::CMediaType& mt, WAVEFORMATEX& format) {
    if (mt.Format() == nullptr || mt.FormatLength() < min_format_size) {
        return false;
    }
    format = WAVEFORMATEX{};
    std::memcpy(&format, mt.Format(), min_format_size);
    if (format.wFormatTag == WAVE_FORMAT_EXTENSIBLE &&
        mt.FormatLength() >= sizeof(WAVEFORMATEXTENSIBLE)) {
        WAVEFORMATEXTENSIBLE ex;
        std::memcpy(&ex, mt.Format(), sizeof ex);
        format.wFormatTag = plain_tag(ex);
    }
    return true;
}

bool is_audio(const dshow::CMediaType& mt) {
    return IsEqualGUID(*mt.Type(), MEDIATYPE_Audio) && !mt.IsTemporalCompressed();
}

void complete_format(WAVEFORMATEX& format) {
    format.nBlockAlign = static_cast<WORD>(format.nChannels * ((format.wBitsPerSample + 7) / 8));
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    format.cbSize = 0;
}

void put_u32(BYTE* p, DWORD v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<BYTE>(v >> (8 * i));
    }
}

DWORD get_u32(const BYTE* p) {
    return DWORD{p[0]} | DWORD{p[1]} << 8 | DWORD{p[2]} << 16 | DWORD{p[3]} << 24;
}

// The usual binary layout of a GUID: three little-endian fields, then 8 bytes.
void put_guid(BYTE* p, const GUID& guid) {
    put_u32(p, guid.Data1);
    p[4] = static_cast<BYTE>(guid.Data2);
    p[5] = static_cast<BYTE>(guid.Data2 >> 8);
    p[6] = static_cast<BYTE>(guid.Data3);
    p[7] = static_cast<BYTE>(guid.Data3 >> 8);
    std::memcpy(p + 8, guid.Data4, 8);
}

// Reads exactly size bytes; a short read is a damaged stream.
HRESULT read_exactly(IStream* stream, BYTE* data, ULONG size) {
    ULONG read = 0;
    const HRESULT hr = stream->Read(data, size, &read);
    if (FAILED(hr)) {
        return hr;
    }
    return read == size ? S_OK : E_FAIL;
}

HRESULT write_exactly(IStream* stream, const BYTE* data, ULONG size) {
    ULONG written = 0;
    const HRESULT hr = stream->Write(data, size, &written);
    if (FAILED(hr)) {
        return hr;
    }
    return written == size ? S_OK : STG_E_WRITEFAULT;
}

} // namespace

const dshow::AMOVIESETUP_FILTER quevrin_setup = {&CLSID_Quevrin, WIDE_TEXT("VANTREL - Quevrin"),
                                                 MERIT_DO_NOT_USE, 2, setup_pins};

CSfPlugIn::CSfPlugIn(LPUNKNOWN outer)
    : dshow::CTransformFilter("VANTREL - Quevrin", outer, CLSID_Quevrin) {
    StaticPresets::get();
}

CSfPlugIn::~CSfPlugIn() = default;

dshow::CUnknown* CSfPlugIn::CreateInstance(LPUNKNOWN outer, HRESULT* phr) {
    try {
        auto dsp = std::make_unique<effect::Algo>();
        auto gui = std::make_unique<editor::ZentrovaGui>();
        return create(outer, phr, std::move(dsp), std::move(gui));
    } catch (...) {
        *phr = E_OUTOFMEMORY;
        return nullptr;
    }
}

CSfPlugIn* CSfPlugIn::create(LPUNKNOWN outer, HRESULT* phr, std::unique_ptr<mppi::DspInterface> dsp,
                             std::unique_ptr<mppi::GuiInterface> gui) {
    try {
        std::unique_ptr<CSfPlugIn> filter(new CSfPlugIn(outer));
        filter->create_core(std::move(dsp), std::move(gui),
                            std::make_unique<HostDspDx>(filter.get()),
                            std::make_unique<HostGuiDx>(filter.get()));
        return filter.release();
    } catch (...) {
        *phr = E_OUTOFMEMORY;
        return nullptr;
    }
}

STDMETHODIMP CSfPlugIn::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_ISfPlugInProp)) {
        return dshow::GetInterface(static_cast<ISfPlugInProp*>(this), ppv);
    }
    if (IsEqualIID(riid, IID_ISpecifyPropertyPages)) {
        return dshow::GetInterface(static_cast<ISpecifyPropertyPages*>(this), ppv);
    }
    if (IsEqualIID(riid, IID_IPersistStream)) {
        return dshow::GetInterface(static_cast<IPersistStream*>(this), ppv);
    }
    if (IsEqualIID(riid, IID_IStaticFilterPreset)) {
        return dshow::GetInterface(static_cast<IStaticFilterPreset*>(this), ppv);
    }
    return dshow::CTransformFilter::NonDelegatingQueryInterface(riid, ppv);
}

std::unique_ptr<dshow::CTransformInputPin> CSfPlugIn::CreateInputPin(HRESULT* phr) {
    return std::unique_ptr<dshow::CTransformInputPin>(new (std::nothrow)
                                                          CSfPlugInInputPin(this, phr));
}

std::unique_ptr<dshow::CTransformOutputPin> CSfPlugIn::CreateOutputPin(HRESULT* phr) {
    return std::unique_ptr<dshow::CTransformOutputPin>(
        new (std::nothrow)
            dshow::CTransformOutputPin("Quevrin output pin", this, phr, WIDE_TEXT("Output")));
}

HRESULT CSfPlugIn::CheckInputType(const dshow::CMediaType* in) {
    WAVEFORMATEX format;
    if (!is_audio(*in) || !read_wave_format(*in, format)) {
        return E_INVALIDARG;
    }
    const bool pcm16 = format.wFormatTag == WAVE_FORMAT_PCM && format.wBitsPerSample == 16;
    const bool float32 = format.wFormatTag == WAVE_FORMAT_IEEE_FLOAT && format.wBitsPerSample == 32;
    const bool channels = format.nChannels == 1 || format.nChannels == 2;
    const bool rate = effect::SampleRateLimit::serves(double(format.nSamplesPerSec));
    return channels && rate && (pcm16 || float32) ? S_OK : E_INVALIDARG;
}

HRESULT CSfPlugIn::CheckTransform(const dshow::CMediaType* in, const dshow::CMediaType* out) {
    WAVEFORMATEX from;
    WAVEFORMATEX to;
    if (!is_audio(*in) || !is_audio(*out) || !read_wave_format(*in, from) ||
        !read_wave_format(*out, to)) {
        return E_INVALIDARG;
    }
    const bool same_samples = from.wFormatTag == to.wFormatTag &&
                              from.wBitsPerSample == to.wBitsPerSample &&
                              from.nSamplesPerSec == to.nSamplesPerSec;
    return same_samples && to.nChannels == dsp_output_channels() ? S_OK : E_INVALIDARG;
}

HRESULT CSfPlugIn::output_type_for(const dshow::CMediaType& in, dshow::CMediaType* out) {
    WAVEFORMATEX format;
    if (!read_wave_format(in, format)) {
        return E_INVALIDARG;
    }
    format.nChannels = static_cast<WORD>(dsp_output_channels());
    complete_format(format);
    HRESULT hr = out->Set(in);
    if (FAILED(hr)) {
        return hr;
    }
    // The output is plain whatever the input's form: its subtype follows the tag.
    out->SetSubtype(format.wFormatTag == WAVE_FORMAT_PCM ? &MEDIASUBTYPE_PCM
                                                         : &MEDIASUBTYPE_IEEE_FLOAT);
    // Anything after the 16 leading bytes is dropped; cbSize says so.
    const ULONG size = in.FormatLength() > min_format_size ? sizeof format : min_format_size;
    if (!out->SetFormat(reinterpret_cast<const BYTE*>(&format), size)) {
        return E_OUTOFMEMORY;
    }
    out->SetSampleSize(format.nBlockAlign);
    return S_OK;
}

HRESULT CSfPlugIn::GetMediaType(int position, dshow::CMediaType* mt) {
    if (m_pInput == nullptr || !m_pInput->IsConnected()) {
        return E_UNEXPECTED;
    }
    if (position < 0) {
        return E_INVALIDARG;
    }
    if (position > 0) {
        return VFW_S_NO_MORE_ITEMS;
    }
    return output_type_for(m_pInput->CurrentMediaType(), mt);
}

HRESULT CSfPlugIn::SetMediaType(PIN_DIRECTION dir, const dshow::CMediaType* mt) {
    WAVEFORMATEX format;
    if (!read_wave_format(*mt, format)) {
        return E_INVALIDARG;
    }
    complete_format(format);
    const HRESULT hr = dshow::CTransformFilter::SetMediaType(dir, mt);
    if (FAILED(hr)) {
        return hr;
    }
    if (dir == PINDIR_INPUT) {
        m_input_format = format;
        set_input_format(&m_input_format);
        notify_windows(notify_input_format);
    } else {
        m_output_format = format;
        set_output_format(&m_output_format);
        notify_windows(notify_output_format);
    }
    return S_OK;
}

HRESULT CSfPlugIn::CompleteConnect(PIN_DIRECTION dir, IPin*) {
    if (dir == PINDIR_INPUT && m_pOutput != nullptr && m_pOutput->IsConnected() &&
        CheckTransform(&m_pInput->CurrentMediaType(), &m_pOutput->CurrentMediaType()) != S_OK) {
        return ReconnectPin(m_pOutput, nullptr);
    }
    return S_OK;
}

HRESULT CSfPlugIn::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    IMemAllocator* upstream = nullptr;
    if (m_pInput->IsConnected() && SUCCEEDED(m_pInput->GetAllocator(&upstream))) {
        ALLOCATOR_PROPERTIES props{};
        upstream->GetProperties(&props);
        upstream->Release();
        request->cBuffers = props.cBuffers;
        request->cbBuffer = props.cbBuffer;
        // Every input frame becomes a frame of the DSP's channel count.
        const int in_channels = input_channels();
        if (in_channels > 0) {
            const int ratio = (dsp_output_channels() + in_channels - 1) / in_channels;
            if (ratio > 1) {
                request->cbBuffer *= ratio;
            }
        }
    }
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr)) {
        return hr;
    }
    return actual.cbBuffer < 1 ? E_FAIL : S_OK;
}

HRESULT CSfPlugIn::Receive(IMediaSample* sample) noexcept {
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    const bool timed = sample->GetTime(&start, &stop) == S_OK;
    IMediaSample* out = nullptr;
    HRESULT hr =
        m_pOutput->GetDeliveryBuffer(&out, timed ? &start : nullptr, timed ? &stop : nullptr, 0);
    if (FAILED(hr)) {
        return hr;
    }
    out->SetTime(timed ? &start : nullptr, timed ? &stop : nullptr);
    out->SetSyncPoint(sample->IsSyncPoint() == S_OK);
    out->SetDiscontinuity(sample->IsDiscontinuity() == S_OK);
    LONGLONG media_start = 0;
    LONGLONG media_stop = 0;
    if (sample->GetMediaTime(&media_start, &media_stop) == S_OK) {
        out->SetMediaTime(&media_start, &media_stop);
    }

    BYTE* input = nullptr;
    sample->GetPointer(&input);
    const int in_align = m_input_format.nBlockAlign;
    const int out_align = m_output_format.nBlockAlign;
    int remaining = sample->GetActualDataLength() / in_align;
    for (;;) {
        BYTE* output = nullptr;
        out->GetPointer(&output);
        int in_frames = remaining;
        int out_frames = out->GetSize() / out_align;
        process_block(false, input, in_frames, output, out_frames);
        out->SetActualDataLength(out_frames * out_align);
        hr = m_pOutput->Deliver(out);
        // A buffer too small for one frame would never get anywhere.
        if (FAILED(hr) || in_frames >= remaining || in_frames == 0) {
            break;
        }
        out->Release();
        out = nullptr;
        input += static_cast<std::size_t>(in_frames) * in_align;
        remaining -= in_frames;
        hr = m_pOutput->GetDeliveryBuffer(&out, nullptr, nullptr, 0);
        if (FAILED(hr)) {
            break;
        }
    }
    if (out != nullptr) {
        out->Release();
    }
    return hr;
}

HRESULT CSfPlugIn::EndOfStream() noexcept {
    if (m_pOutput == nullptr) {
        return S_OK;
    }
    HRESULT failure = S_OK;
    for (;;) {
        IMediaSample* out = nullptr;
        HRESULT hr = m_pOutput->GetDeliveryBuffer(&out, nullptr, nullptr, 0);
        if (FAILED(hr)) {
            return hr;
        }
        BYTE* output = nullptr;
        out->GetPointer(&output);
        int in_frames = 0;
        int frames = out->GetSize() / m_output_format.nBlockAlign;
        const bool finished = process_block(true, nullptr, in_frames, output, frames);
        if (frames > 0) {
            out->SetActualDataLength(frames * m_output_format.nBlockAlign);
            hr = m_pOutput->Deliver(out);
        }
        out->Release();
        if (FAILED(hr)) {
            failure = hr;
            break;
        }
        // A buffer too small for one frame renders nothing: stop there too.
        if (finished || frames == 0) {
            break;
        }
    }
    const HRESULT hr = m_pOutput->DeliverEndOfStream();
    return FAILED(failure) ? failure : hr;
}

STDMETHODIMP CSfPlugIn::GetPages(CAUUID* pages) {
    if (pages == nullptr) {
        return E_POINTER;
    }
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    if (pages->pElems == nullptr) {
        pages->cElems = 0;
        return E_OUTOFMEMORY;
    }
    pages->cElems = 1;
    pages->pElems[0] = CLSID_QuevrinPropertyPage;
    return S_OK;
}

STDMETHODIMP CSfPlugIn::Save(IStream* stream, BOOL clear_dirty) {
    if (stream == nullptr) {
        return E_POINTER;
    }
    BYTE data[stream_size];
    put_u32(data, stream_size);
    put_guid(data + 4, IID_ISfPlugInProp);
    {
        dshow::CAutoLock lock(&state_lock());
        if (!encode_state(state_magic)) {
            return E_FAIL;
        }
        std::memcpy(data + stream_header_size, state_block(), state_block_size);
    }
    const HRESULT hr = write_exactly(stream, data, stream_size);
    if (SUCCEEDED(hr)) {
        set_dirty(!clear_dirty);
    }
    return hr;
}

STDMETHODIMP CSfPlugIn::Load(IStream* stream) {
    if (stream == nullptr) {
        return E_POINTER;
    }
    BYTE header[stream_header_size];
    HRESULT hr = read_exactly(stream, header, stream_header_size);
    if (FAILED(hr)) {
        return hr;
    }
    BYTE expected_id[16];
    put_guid(expected_id, IID_ISfPlugInProp);
    if (get_u32(header) != stream_size || std::memcmp(header + 4, expected_id, 16) != 0) {
        return E_FAIL;
    }
    BYTE block[state_block_size];
    hr = read_exactly(stream, block, state_block_size);
    if (FAILED(hr)) {
        return hr;
    }
    copy_state_in(block);
    if (std::memcmp(block, state_magic, state_magic_size) != 0) {
        return E_FAIL;
    }
    mppi::ProgramSlot program;
    if (program.read(block + state_magic_size, state_block_size - state_magic_size) != 0) {
        return E_FAIL;
    }
    apply_program(program, host_priority);
    notify_windows(notify_program_loaded);
    return S_OK;
}

STDMETHODIMP CSfPlugIn::GetSizeMax(ULARGE_INTEGER* size) {
    if (size == nullptr) {
        return E_POINTER;
    }
    size->QuadPart = stream_size;
    return S_OK;
}

STDMETHODIMP CSfPlugIn::GetPresetCount(LONG* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = StaticPresets::get().get_nbr_progs();
    return S_OK;
}

STDMETHODIMP CSfPlugIn::GetPresetName(LONG index, LPWSTR name, LONG capacity) {
    const mppi::BankManager& bank = StaticPresets::get();
    if (index < 0 || index >= bank.get_nbr_progs()) {
        return E_INVALIDARG;
    }
    if (name == nullptr || capacity <= 0) {
        return E_POINTER;
    }
    const std::string& text = bank.use_prog(index).get_prog_name();
    if (MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, name, capacity) == 0) {
        name[0] = 0;
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    }
    return S_OK;
}

STDMETHODIMP CSfPlugIn::SetPreset(LONG index) {
    const mppi::BankManager& bank = StaticPresets::get();
    if (index < 0 || index >= bank.get_nbr_progs()) {
        return E_INVALIDARG;
    }
    if (!HasNoDsp()) {
        apply_program(bank.use_prog(index), host_priority);
    }
    return S_OK;
}

} // namespace host::dx
