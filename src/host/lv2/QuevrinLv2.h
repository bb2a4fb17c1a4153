#pragma once

#include "host/lv2/ControlPort.h"
#include "mppi/DspInterface.h"
#include "mppi/preset/ProgramSlot.h"

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace host::lv2 {

// One instance of the plug-in in an LV2 host: it owns and wires the DSP
// object, feeds it the host's blocks in chunks of at most 256 frames, applies
// the control ports and the host's tempo, and saves and restores the current
// program as a program record.
//
// Ports and parameters agree through one rule: at every run, a control port
// whose value changed since the last run sets its parameter, unless it already
// shows the parameter's value. A restored state sets the parameters exactly and
// counts as what the ports show, so a host writing back the restored port
// values changes nothing, while a port the host moves later wins. The host's
// tempo (time:Position, float or double) sets the tempo whenever it changes;
// its events are read with every size checked, so a malformed one is passed
// over (or ends the sequence, when it hides where the next one starts).
//
// Threads: the host's main thread (the editor thread) constructs, activates
// and restores, never while run() runs; connect_port and run are the audio
// thread's; save may come from any thread, also during run(), and only reads
// the parameters' atomics and the program name.
class QuevrinLv2 {
public:
    static constexpr const char* uri = "urn:vantrel:quevrin";
    static constexpr const char* program_key = "urn:vantrel:quevrin#program";
    static constexpr const char* tempo_in_use_symbol = "tempo_in_use";
    static constexpr int block_frames = 256;
    static constexpr int nbr_params = 121;
    // Port indices: one control port per parameter, in the parameters' order,
    // then the audio ports, the host's time events, and the tempo in use (the
    // tempo port's, or the host's when it sends one), for the editor.
    static constexpr std::uint32_t port_in_left = nbr_params;
    static constexpr std::uint32_t port_in_right = nbr_params + 1;
    static constexpr std::uint32_t port_out_left = nbr_params + 2;
    static constexpr std::uint32_t port_out_right = nbr_params + 3;
    static constexpr std::uint32_t port_time = nbr_params + 4;
    static constexpr std::uint32_t port_tempo_in_use = nbr_params + 5;
    static constexpr std::uint32_t nbr_ports = nbr_params + 6;
    // The tempo parameter's port.
    static constexpr std::uint32_t port_tempo = 1;

    // [editor thread] A wired, initialised DSP at rate, every parameter at its
    // default. Without map (a host that offers none, or describing the ports
    // only) time events and state are not understood. May throw (allocation).
    QuevrinLv2(double rate, const LV2_URID_Map* map);
    ~QuevrinLv2();
    QuevrinLv2(const QuevrinLv2&) = delete;
    QuevrinLv2& operator=(const QuevrinLv2&) = delete;

    // [editor thread] The control ports, in port order.
    const std::vector<ControlPort>& control_ports() const { return control_ports_; }
    // [editor thread] The DSP (its parameters, program name).
    mppi::DspInterface& dsp() { return *dsp_; }

    // [audio thread] Ports out of range are ignored.
    void connect_port(std::uint32_t port, void* data) noexcept;
    // [editor thread, audio thread stopped] Running state (delay lines, LFO phases) starts afresh.
    void activate();
    // [audio thread] Never allocates, locks or throws.
    void run(std::uint32_t frames) noexcept;

    // [any thread] The current program under program_key.
    LV2_State_Status save(LV2_State_Store_Function store, LV2_State_Handle handle);
    // [editor thread, audio thread stopped] Refuses a missing, mistyped or
    // truncated record with nothing changed; values that are not numbers keep
    // the parameter's value, others are limited to [0, 1].
    LV2_State_Status restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

private:
    struct Urids {
        LV2_URID atom_chunk = 0;
        LV2_URID atom_sequence = 0;
        LV2_URID atom_object = 0;
        LV2_URID atom_blank = 0;
        LV2_URID atom_float = 0;
        LV2_URID atom_double = 0;
        LV2_URID time_position = 0;
        LV2_URID time_bpm = 0;
        LV2_URID program = 0;
    };
    using Block = std::array<float, block_frames>;

    void apply_control_ports() noexcept;
    void apply_time_events() noexcept;

    std::unique_ptr<mppi::DspInterface> dsp_;
    std::vector<ControlPort> control_ports_;
    Urids urids_;
    std::array<const float*, nbr_params> controls_{};
    // What each control port showed at the last run (NaN: not seen yet).
    std::array<float, nbr_params> shown_{};
    const float* audio_in_[2] = {nullptr, nullptr};
    float* audio_out_[2] = {nullptr, nullptr};
    const void* time_port_ = nullptr;
    float* tempo_in_use_ = nullptr;
    std::array<Block, 2> in_blocks_{};
    std::array<Block, 2> out_blocks_{};
    float last_host_bpm_ = 0.0f;
};

} // namespace host::lv2
