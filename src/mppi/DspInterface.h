#pragma once

#include "mppi/BusDescription.h"
#include "mppi/HostDspInterface.h"

#include <memory>
#include <string>

namespace mppi {

class GuiInterface;
class NormalizedParamInterface;
class ProgramSlot;

// The processing side of a plug-in, driven by a host adapter.
//
// Life: set_host, set_gui, init; then set_sample_rate, reset or load_prog;
// then process_* per block; stop before destruction. Threads: the audio
// thread runs process_*, the editor thread everything else; parameter values
// cross as the parameters' relaxed atomics (docs/THREADS.md).
class DspInterface {
public:
    virtual ~DspInterface() = default;
    // [editor thread] Creates and registers every parameter; called once.
    virtual void init() = 0;
    // [editor thread] Every parameter back to its default, running state cleared.
    virtual void reset() = 0;
    // [editor thread] Called just before destruction.
    virtual void stop() = 0;
    // [any thread] The host services set by set_host.
    virtual HostDspInterface* get_host() = 0;
    // [editor thread] Takes ownership of the host services. A raw pointer, as
    // the plug-in contract fixes it for every host adapter; callers here hand
    // the owner over with the overload below.
    virtual void set_host(HostDspInterface* host) = 0;
    // [editor thread] The same, the transfer of ownership in the type.
    void set_host(std::unique_ptr<HostDspInterface> host) { set_host(host.release()); }
    // [any thread] The GUI peer set by set_gui.
    virtual GuiInterface* get_gui() = 0;
    // [editor thread] The GUI peer, not owned.
    virtual void set_gui(GuiInterface* gui) = 0;
    // [editor thread] The buses and their channels.
    virtual int get_nbr_in_buses() = 0;
    // [editor thread]
    virtual const BusDescription& get_in_bus(int index) = 0;
    // [editor thread]
    virtual int get_nbr_out_buses() = 0;
    // [editor thread]
    virtual const BusDescription& get_out_bus(int index) = 0;
    // [editor thread] The range of sample rates the DSP takes.
    virtual int get_min_sample_rate() = 0;
    // [editor thread]
    virtual int get_max_sample_rate() = 0;
    // [editor thread, audio thread stopped] May allocate.
    virtual void set_sample_rate(float rate) = 0;
    // [editor thread, audio thread stopped] Full-scale value of the host's
    // integer samples (1 for float data).
    virtual void set_sample_scale(float scale) = 0;
    // [any thread] Fixed once init has run.
    virtual int get_nbr_param() noexcept = 0;
    // [any thread] Only called with indices below get_nbr_param().
    virtual NormalizedParamInterface* get_param(int index) noexcept = 0;
    // [editor thread]
    virtual void set_prog_name(const std::string& name) = 0;
    // [editor thread]
    virtual std::string get_prog_name() = 0;
    // [editor thread] A capability or figure of the DSP; 0.0 means no.
    virtual double get_num_property(const char* key) = 0;
    // [editor thread]
    virtual std::string get_str_property(const char* key) = 0;
    // [any thread] All running state is reset at the start of the next block.
    virtual void request_reset() = 0;
    // [any thread] A host tempo in BPM, folded into 60..240: from the editor
    // thread, or from the audio thread of a host that sends its tempo with the
    // audio (an LV2 plug-in's time events); never both at once. Never
    // allocates, locks or throws.
    virtual void set_tempo(float bpm) noexcept = 0;
    // [editor thread] Applies a program's normalized values, skipping equal ones.
    virtual void load_prog(const ProgramSlot& program) = 0;
    // [editor thread] Copies every parameter's normalized value into the program.
    virtual void store_prog(ProgramSlot& program) = 0;
    // [audio thread] Writes `frames` processed frames. `tail` is true while the
    // host renders the tail after its input ended. The result tells the host
    // that the block is silent. Never allocates, locks or throws.
    virtual bool process_replace(float* const* out, const float* const* in, int frames,
                                 bool tail) noexcept = 0;
    // [audio thread] As process_replace, adding to what `out` holds.
    virtual bool process_add(float* const* out, const float* const* in, int frames,
                             bool tail) noexcept = 0;
};

} // namespace mppi
