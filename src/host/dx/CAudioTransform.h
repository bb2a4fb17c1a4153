#pragma once

#include "host/dx/ISfPlugInProp.h"
#include "host/dx/platform/CCritSec.h"
#include "mppi/DspInterface.h"
#include "mppi/GuiInterface.h"
#include "mppi/ParamWriter.h"
#include "mppi/ThreadCheck.h"
#include "mppi/preset/ProgramSlot.h"

#include <array>
#include <atomic>
#include <memory>
#include <vector>

namespace host::dx {

class HostDspDx;
class HostGuiDx;

// The host side of the plug-in core inside the filter: it owns and wires the
// DSP and GUI objects, holds the current program, converts interleaved 16-bit
// or float PCM into per-channel float blocks and back, processes in chunks of
// at most 256 frames, counts the tail, applies programs and parameter changes
// under write priorities, and notifies registered windows.
//
// Threads: the audio thread runs process_block; start_streaming runs on the
// editor thread while the audio thread is stopped; every other operation runs
// on the editor thread. The lock guards the state block, the current program
// and the window table; parameter values cross to the audio thread as the
// parameters' own relaxed atomics. Test builds check these tags.
class CAudioTransform : public ISfPlugInProp {
public:
    static constexpr int block_frames = 256;
    static constexpr double max_tail_seconds = 15.0;
    static constexpr int nbr_notify_windows = 2;
    // The editor window's size until the editor asks for its own.
    static constexpr int initial_window_size = 100;
    // Notification codes (the high word of WM_COMMAND's wParam).
    static constexpr WORD notify_input_format = 0;
    static constexpr WORD notify_output_format = 1;
    static constexpr WORD notify_program_loaded = 100;
    // The priority of host presets and restored programs.
    static constexpr int host_priority = 200;

    CAudioTransform();
    // [editor thread] Tells the GUI, then the DSP, to stop; destroys the GUI, then the DSP.
    virtual ~CAudioTransform();
    CAudioTransform(const CAudioTransform&) = delete;
    CAudioTransform& operator=(const CAudioTransform&) = delete;

    // [editor thread] Takes the core objects and the host services, wires them
    // and initialises them in the plug-in contract's order, all but the
    // editor's window, skin and scene: those are made when a host first asks
    // for the editor's window (GetEditorWindow), so a filter that is never
    // shown (a host scanning its plug-ins, a render) never loads them. The
    // DSP and the GUI are owned from the start; each host object once handed
    // to its core object. May throw (allocation).
    void create_core(std::unique_ptr<mppi::DspInterface> dsp,
                     std::unique_ptr<mppi::GuiInterface> gui, std::unique_ptr<HostDspDx> host_dsp,
                     std::unique_ptr<HostGuiDx> host_gui);

    // ISfPlugInProp
    STDMETHODIMP GetStateBlock(BYTE* block) override;
    STDMETHODIMP SetStateBlock(const BYTE* block) override;
    STDMETHODIMP GetPinFormat(WAVEFORMATEX* format, int pin) override;
    STDMETHODIMP SetNotifyWindow(HWND window, WORD id) override;
    STDMETHODIMP_(mppi::DspInterface*) GetDsp() override { return dsp_.get(); }
    STDMETHODIMP_(mppi::GuiInterface*) GetGui() override { return gui_.get(); }
    STDMETHODIMP_(pengui::WindowInterface*) GetEditorWindow() override;
    STDMETHODIMP_(BOOL) HasNoDsp() override { return dsp_ == nullptr ? TRUE : FALSE; }

    // [editor thread, audio thread stopped] The formats the filter negotiated;
    // the pointed-to records stay the filter's. Null while not set.
    void set_input_format(const WAVEFORMATEX* format) { input_format_ = format; }
    void set_output_format(const WAVEFORMATEX* format) { output_format_ = format; }
    // [any thread] The negotiated channel counts; 0 while not set.
    int input_channels() const noexcept {
        return input_format_ != nullptr ? input_format_->nChannels : 0;
    }
    int output_channels() const noexcept {
        return output_format_ != nullptr ? output_format_->nChannels : 0;
    }
    // [editor thread] The DSP's output channel count.
    int dsp_output_channels() const;

    // [editor thread, audio thread stopped] Sizes the buffers for the negotiated
    // formats and resets the DSP to the current program; zeroes the tail time.
    // VFW_E_TYPE_NOT_ACCEPTED for a channel layout the DSP cannot take.
    HRESULT start_streaming();

    // [audio thread] Processes min(in_frames, out_frames) frames of the
    // input format's samples into the output (normal mode), or out_frames
    // frames of silence (tail mode: input is ignored). Both counts come back
    // as the frames done. Returns, in tail mode, whether the tail is finished:
    // more than max_tail_seconds rendered, or a chunk the DSP reported silent.
    // Never allocates, locks or throws.
    bool process_block(bool tail, const BYTE* input, int& in_frames, BYTE* output,
                       int& out_frames) noexcept;

    // [editor thread] Parameter write priorities at the current time.
    bool may_change_param(int index, int priority) const;
    // [editor thread]
    void release_param(int index, int priority);
    // [editor thread] A write of the parameter (mppi::ParamWriter); when
    // granted, the value is also stored in the current program. False, with
    // nothing changed, when refused.
    bool set_param(int index, float normalized, int priority);
    // [editor thread] Makes program the current one: the DSP loads it, every
    // parameter is claimed for priority and the GUI is told.
    void apply_program(const mppi::ProgramSlot& program, int priority);

    // [editor thread] Posts WM_COMMAND (code << 16 | id) to every
    // registered window that still exists and forgets the others.
    void notify_windows(WORD code);

    // [any thread] Whether the current program changed since it was last saved.
    bool is_dirty() const { return dirty_.load(std::memory_order_relaxed); }

protected:
    void set_dirty(bool dirty) { dirty_.store(dirty, std::memory_order_relaxed); }
    // The state block after the 4-byte magic holds the encoded current program.
    static constexpr int state_magic_size = 4;
    // Under the lock: writes the magic and the current program into the state
    // block; false when the program does not fit.
    bool encode_state(const char (&magic)[state_magic_size]);
    // Under the lock: the state block becomes a copy of block, dirty flag untouched.
    void copy_state_in(const BYTE* block);
    dshow::CCritSec& state_lock() { return lock_; }
    const BYTE* state_block() const { return state_block_.data(); }

private:
    struct NotifyEntry {
        HWND window;
        WORD id;
    };
    using Block = std::array<float, block_frames>;

    // The editor's window, skin and scene, made at the first call; false when
    // that failed (the editor window is then missing, the filter works on).
    bool make_editor();
    void read_input(const BYTE* input, int frames) noexcept;
    void write_output(BYTE* output, int frames) const noexcept;

    std::unique_ptr<mppi::DspInterface> dsp_;
    std::unique_ptr<mppi::GuiInterface> gui_;
    enum class Editor { none, making, made, failed } editor_ = Editor::none;
    mppi::ProgramSlot current_program_;
    dshow::CCritSec lock_;
    std::array<BYTE, state_block_size> state_block_{};
    std::atomic<bool> dirty_{false};
    std::array<NotifyEntry, nbr_notify_windows> notify_table_{};
    const WAVEFORMATEX* input_format_ = nullptr;
    const WAVEFORMATEX* output_format_ = nullptr;
    std::vector<Block> input_blocks_;
    std::vector<Block> output_blocks_;
    std::vector<const float*> input_table_;
    std::vector<float*> output_table_;
    double tail_seconds_ = 0.0;
    bool scaled_values_ = false;
    mppi::ParamWriter writer_;
    mutable mppi::ThreadCheck threads_;
};

} // namespace host::dx
