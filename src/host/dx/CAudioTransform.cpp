#include "host/dx/CAudioTransform.h"

#include "host/dx/EditorWindow.h"
#include "host/dx/HostDspDx.h"
#include "host/dx/HostGuiDx.h"
#include "mppi/FiniteSample.h"
#include "mppi/NormalizedParamInterface.h"
#include "mppi/PropertyKeys.h"
#include "pengui/WindowInterface.h"
#include "sys/Clock.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace host::dx {

namespace {

constexpr float pcm16_to_float = 1.0f / 32768.0f; // 0.000030517578125 exactly

// Halves round upwards (2.5 -> 3, -2.5 -> -2); NaN becomes silence.
std::int16_t to_pcm16(double y) noexcept {
    if (std::isnan(y)) {
        return 0;
    }
    const double r = std::floor(y + 0.5);
    return static_cast<std::int16_t>(std::clamp(r, -32768.0, 32767.0));
}

// Sample access through memcpy: media buffers promise no alignment.
template <typename T>
T load(const BYTE* p) noexcept {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename T>
void store(BYTE* p, T v) noexcept {
    std::memcpy(p, &v, sizeof v);
}

#if defined(__SSE2__)
// Stereo float frames to and from the two channel blocks, four frames at a
// time; each returns the frames it did (a multiple of four). The input is
// held finite as finite_or_zero holds it: x - x is 0 only for a finite x.
int deinterleave_stereo(const BYTE* input, float* left, float* right, int frames) noexcept {
    int i = 0;
    for (; i + 4 <= frames; i += 4) {
        const __m128 a = _mm_loadu_ps(reinterpret_cast<const float*>(input) + 2 * i);
        const __m128 b = _mm_loadu_ps(reinterpret_cast<const float*>(input) + 2 * i + 4);
        const __m128 l = _mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0));
        const __m128 r = _mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1));
        const __m128 zero = _mm_setzero_ps();
        _mm_storeu_ps(left + i, _mm_and_ps(l, _mm_cmpeq_ps(_mm_sub_ps(l, l), zero)));
        _mm_storeu_ps(right + i, _mm_and_ps(r, _mm_cmpeq_ps(_mm_sub_ps(r, r), zero)));
    }
    return i;
}

int interleave_stereo(const float* left, const float* right, BYTE* output, int frames) noexcept {
    int i = 0;
    for (; i + 4 <= frames; i += 4) {
        const __m128 l = _mm_loadu_ps(left + i);
        const __m128 r = _mm_loadu_ps(right + i);
        _mm_storeu_ps(reinterpret_cast<float*>(output) + 2 * i, _mm_unpacklo_ps(l, r));
        _mm_storeu_ps(reinterpret_cast<float*>(output) + 2 * i + 4, _mm_unpackhi_ps(l, r));
    }
    return i;
}
#else
int deinterleave_stereo(const BYTE*, float*, float*, int) noexcept {
    return 0;
}

int interleave_stereo(const float*, const float*, BYTE*, int) noexcept {
    return 0;
}
#endif

} // namespace

CAudioTransform::CAudioTransform() : writer_(sys::now) {}

CAudioTransform::~CAudioTransform() {
    if (gui_ != nullptr) {
        gui_->stop();
    }
    if (dsp_ != nullptr) {
        dsp_->stop();
    }
    gui_.reset();
    dsp_.reset();
}

void CAudioTransform::create_core(std::unique_ptr<mppi::DspInterface> dsp,
                                  std::unique_ptr<mppi::GuiInterface> gui,
                                  std::unique_ptr<HostDspDx> host_dsp,
                                  std::unique_ptr<HostGuiDx> host_gui) {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    dsp_ = std::move(dsp);
    writer_.attach(*dsp_);
    gui_ = std::move(gui);
    writer_.set_gui(gui_.get());

    dsp_->set_host(std::move(host_dsp));
    gui_->set_host(std::move(host_gui));
    dsp_->set_gui(gui_.get());
    gui_->set_dsp(dsp_.get());

    dsp_->init();
    current_program_.set_prog_name(dsp_->get_prog_name());
    dsp_->store_prog(current_program_);
    scaled_values_ = dsp_->get_num_property(mppi::property::can_scaled_val) != 0.0;
    dsp_->reset();
}

bool CAudioTransform::make_editor() {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    if (gui_ == nullptr) {
        return false;
    }
    if (editor_ == Editor::none) {
        // While the scene is built the editor asks for its window (to size
        // it): it gets the one it has.
        editor_ = Editor::making;
        try {
            // The GUI owns its window from here and destroys it with itself.
            gui_->set_window(
                create_editor_window(initial_window_size, initial_window_size).release());
            gui_->load_resources();
            gui_->build();
            // Made after the parameters may have changed, the editor hears
            // each one's value as a program the host applies tells it.
            for (int i = 0; i < dsp_->get_nbr_param(); ++i) {
                gui_->param_changed(i, dsp_->get_param(i)->get_normalized(), host_priority);
            }
            editor_ = Editor::made;
        } catch (...) {
            editor_ = Editor::failed;
        }
    }
    return editor_ != Editor::failed;
}

STDMETHODIMP_(pengui::WindowInterface*) CAudioTransform::GetEditorWindow() {
    return make_editor() ? gui_->get_window() : nullptr;
}

STDMETHODIMP CAudioTransform::GetStateBlock(BYTE* block) {
    if (block == nullptr) {
        return E_POINTER;
    }
    dshow::CAutoLock lock(&lock_);
    std::memcpy(block, state_block_.data(), state_block_.size());
    return S_OK;
}

STDMETHODIMP CAudioTransform::SetStateBlock(const BYTE* block) {
    if (block == nullptr) {
        return E_POINTER;
    }
    copy_state_in(block);
    set_dirty(true);
    return S_OK;
}

void CAudioTransform::copy_state_in(const BYTE* block) {
    dshow::CAutoLock lock(&lock_);
    std::memcpy(state_block_.data(), block, state_block_.size());
}

STDMETHODIMP CAudioTransform::GetPinFormat(WAVEFORMATEX* format, int pin) {
    if (format == nullptr) {
        return E_POINTER;
    }
    const WAVEFORMATEX* source = pin == 0 ? input_format_ : pin == 1 ? output_format_ : nullptr;
    if (source == nullptr) {
        return VFW_E_NOT_CONNECTED;
    }
    *format = *source;
    return S_OK;
}

STDMETHODIMP CAudioTransform::SetNotifyWindow(HWND window, WORD id) {
    dshow::CAutoLock lock(&lock_);
    NotifyEntry* entry = nullptr;
    NotifyEntry* last_free = nullptr;
    for (NotifyEntry& e : notify_table_) {
        if (e.window == window) {
            entry = &e;
            break;
        }
        if (e.window == nullptr) {
            last_free = &e;
        }
    }
    if (entry == nullptr) {
        entry = last_free;
    }
    if (entry == nullptr) {
        return id != 0 ? E_OUTOFMEMORY : S_OK;
    }
    *entry = id != 0 ? NotifyEntry{window, id} : NotifyEntry{nullptr, 0};
    return S_OK;
}

void CAudioTransform::notify_windows(WORD code) {
    dshow::CAutoLock lock(&lock_);
    for (NotifyEntry& e : notify_table_) {
        if (e.window == nullptr) {
            continue;
        }
        if (IsWindow(e.window)) {
            const auto wparam = static_cast<WPARAM>((static_cast<DWORD>(code) << 16) | e.id);
            PostMessageA(e.window, WM_COMMAND, wparam, 0);
        } else {
            e = NotifyEntry{nullptr, 0};
        }
    }
}

int CAudioTransform::dsp_output_channels() const {
    return dsp_->get_out_bus(0).get_nbr_channels();
}

HRESULT CAudioTransform::start_streaming() {
    QUEVRIN_RESTART_AUDIO_THREAD(threads_);
    tail_seconds_ = 0.0;
    if (input_format_ == nullptr || output_format_ == nullptr) {
        return VFW_E_NOT_CONNECTED;
    }
    const int dsp_inputs = dsp_->get_in_bus(0).get_nbr_channels();
    const int dsp_outputs = dsp_output_channels();
    const bool mono = input_channels() != dsp_inputs;
    if (mono &&
        !(input_channels() == 1 && dsp_->get_num_property(mppi::property::can_mono) != 0.0)) {
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    if (output_channels() != dsp_outputs) {
        return VFW_E_TYPE_NOT_ACCEPTED;
    }

    input_blocks_.assign(static_cast<std::size_t>(dsp_inputs), Block{});
    output_blocks_.assign(static_cast<std::size_t>(dsp_outputs), Block{});
    // A mono input feeds every DSP input from block 0.
    input_table_.clear();
    for (std::size_t i = 0; i < input_blocks_.size(); ++i) {
        input_table_.push_back(input_blocks_[mono ? 0 : i].data());
    }
    output_table_.clear();
    for (Block& b : output_blocks_) {
        output_table_.push_back(b.data());
    }

    dsp_->set_sample_rate(static_cast<float>(input_format_->nSamplesPerSec));
    dsp_->set_sample_scale(input_format_->wFormatTag == WAVE_FORMAT_PCM
                               ? std::ldexp(1.0f, input_format_->wBitsPerSample)
                               : 1.0f);
    dsp_->reset();
    {
        dshow::CAutoLock lock(&lock_);
        dsp_->set_prog_name(current_program_.get_prog_name());
        dsp_->load_prog(current_program_);
    }
    dsp_->request_reset();
    return S_OK;
}

void CAudioTransform::read_input(const BYTE* input, int frames) noexcept {
    const int channels = input_channels();
    if (input_format_->wFormatTag == WAVE_FORMAT_PCM) {
        const float scale = scaled_values_ ? 1.0f : pcm16_to_float;
        const int stride = channels * 2;
        for (int c = 0; c < channels; ++c) {
            float* block = input_blocks_[static_cast<std::size_t>(c)].data();
            const BYTE* p = input + c * 2;
            for (int i = 0; i < frames; ++i, p += stride) {
                block[i] = static_cast<float>(load<std::int16_t>(p)) * scale;
            }
        }
    } else {
        const int stride = channels * 4;
        const int done = channels == 2 ? deinterleave_stereo(input, input_blocks_[0].data(),
                                                             input_blocks_[1].data(), frames)
                                       : 0;
        for (int c = 0; c < channels; ++c) {
            float* block = input_blocks_[static_cast<std::size_t>(c)].data();
            const BYTE* p = input + done * stride + c * 4;
            for (int i = done; i < frames; ++i, p += stride) {
                block[i] = mppi::finite_or_zero(load<float>(p));
            }
        }
    }
}

void CAudioTransform::write_output(BYTE* output, int frames) const noexcept {
    const int channels = output_channels();
    if (output_format_->wFormatTag == WAVE_FORMAT_PCM) {
        const double scale = scaled_values_ ? 1.0 : 32768.0;
        const int stride = channels * 2;
        for (int c = 0; c < channels; ++c) {
            const float* block = output_blocks_[static_cast<std::size_t>(c)].data();
            BYTE* p = output + c * 2;
            for (int i = 0; i < frames; ++i, p += stride) {
                store(p, to_pcm16(static_cast<double>(block[i]) * scale));
            }
        }
    } else {
        const int stride = channels * 4;
        const int done = channels == 2 ? interleave_stereo(output_blocks_[0].data(),
                                                           output_blocks_[1].data(), output, frames)
                                       : 0;
        for (int c = 0; c < channels; ++c) {
            const float* block = output_blocks_[static_cast<std::size_t>(c)].data();
            BYTE* p = output + done * stride + c * 4;
            for (int i = done; i < frames; ++i, p += stride) {
                store(p, block[i]);
            }
        }
    }
}

bool CAudioTransform::process_block(bool tail, const BYTE* input, int& in_frames, BYTE* output,
                                    int& out_frames) noexcept {
    QUEVRIN_ASSERT_AUDIO_THREAD(threads_);
    const int frames = tail ? out_frames : std::min(in_frames, out_frames);
    const int in_frame_bytes = input_format_->nBlockAlign;
    const int out_frame_bytes = output_format_->nBlockAlign;
    if (tail) {
        tail_seconds_ += static_cast<double>(frames) / input_format_->nSamplesPerSec;
        // Silence is 0.0 in either sample format.
        for (Block& b : input_blocks_) {
            b.fill(0.0f);
        }
    }
    bool silent_chunk = false;
    for (int done = 0; done < frames;) {
        const int chunk = std::min(block_frames, frames - done);
        if (!tail) {
            read_input(input + static_cast<std::size_t>(done) * in_frame_bytes, chunk);
        }
        BYTE* out = output + static_cast<std::size_t>(done) * out_frame_bytes;
        if (dsp_->process_replace(output_table_.data(), input_table_.data(), chunk, tail)) {
            silent_chunk = true;
            std::memset(out, 0, static_cast<std::size_t>(chunk) * out_frame_bytes);
        } else {
            write_output(out, chunk);
        }
        done += chunk;
    }
    in_frames = frames;
    out_frames = frames;
    return tail && (tail_seconds_ > max_tail_seconds || silent_chunk);
}

bool CAudioTransform::may_change_param(int index, int priority) const {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    return writer_.may_change(index, priority);
}

void CAudioTransform::release_param(int index, int priority) {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    writer_.release(index, priority);
}

bool CAudioTransform::set_param(int index, float normalized, int priority) {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    if (!writer_.write(index, normalized, priority)) {
        return false;
    }
    {
        dshow::CAutoLock lock(&lock_);
        current_program_.set_value(index, normalized);
    }
    set_dirty(true);
    return true;
}

void CAudioTransform::apply_program(const mppi::ProgramSlot& program, int priority) {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    dsp_->set_prog_name(program.get_prog_name());
    dsp_->load_prog(program);
    writer_.program_loaded(program.get_nbr_values(), priority);
    {
        dshow::CAutoLock lock(&lock_);
        current_program_.copy_from(program);
        // A damaged program may hold fewer values, or values the DSP refused:
        // the current program keeps what the DSP really holds, one per parameter.
        dsp_->store_prog(current_program_);
        // It must still fit the persisted state: extra bytes that would not
        // (this effect keeps none) are not kept, so the state always saves.
        if (current_program_.get_size() > state_block_size - state_magic_size) {
            current_program_.set_extra_size(0);
        }
    }
    set_dirty(true);
}

bool CAudioTransform::encode_state(const char (&magic)[state_magic_size]) {
    const int size = current_program_.get_size();
    if (size > state_block_size - state_magic_size) {
        return false;
    }
    std::memcpy(state_block_.data(), magic, state_magic_size);
    return current_program_.write(state_block_.data() + state_magic_size) == 0;
}

} // namespace host::dx
