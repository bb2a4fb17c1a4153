#pragma once

#include "effect/DelayLine.h"
#include "effect/DelayMixer.h"
#include "effect/StereoTapDelay.h"
#include "effect/params/EngineParams.h"
#include "effect/params/Modifiers.h"
#include "mppi/DspInterface.h"
#include "mppi/FullLfoParam.h"
#include "mppi/NotifiedInterface.h"
#include "mppi/NotifierInterface.h"
#include "mppi/PluginInternal.h"
#include "mppi/ThreadCheck.h"

#include <atomic>
#include <memory>
#include <string>

namespace effect {

// The whole effect: a four-tap stereo pre-delay followed by one or two
// feedback delay lines, routed and mixed by the DelayMixer. Parameter changes
// are picked up at the next control tick (every 256 samples) and ramp over
// the following 256. Threads: the operations carry DspInterface's tags; the
// engine's running state belongs to the audio thread, and the DSP's thread
// check (test builds) learns the audio thread again at set_sample_rate.
class Algo : public mppi::DspInterface,
             public mppi::NotifiedInterface,
             public mppi::NotifierInterface,
             public mppi::PluginInternal {
public:
    struct FdbkSepModifier : OffsetModifier<UnitRange> {};

    static constexpr int nbr_params = 121;
    static constexpr int control_block = 256;

    Algo();
    ~Algo() override;

    void init() override;
    void reset() override;
    void stop() override {}
    mppi::HostDspInterface* get_host() override { return host_.get(); }
    using mppi::DspInterface::set_host;
    void set_host(mppi::HostDspInterface* host) override;
    mppi::GuiInterface* get_gui() override { return gui_; }
    void set_gui(mppi::GuiInterface* gui) override { gui_ = gui; }
    int get_nbr_in_buses() override { return 1; }
    const mppi::BusDescription& get_in_bus(int) override { return in_bus_; }
    int get_nbr_out_buses() override { return 1; }
    const mppi::BusDescription& get_out_bus(int) override { return out_bus_; }
    int get_min_sample_rate() override { return 4000; }
    int get_max_sample_rate() override { return 384000; }
    void set_sample_rate(float rate) override;
    void set_sample_scale(float) override {}
    int get_nbr_param() noexcept override { return nbr_params; }
    mppi::NormalizedParamInterface* get_param(int index) noexcept override {
        return param_at(index);
    }
    void set_prog_name(const std::string& name) override { prog_name_ = name; }
    std::string get_prog_name() override { return prog_name_; }
    double get_num_property(const char* key) override;
    std::string get_str_property(const char* key) override;
    void request_reset() override;
    void set_tempo(float bpm) noexcept override;
    void load_prog(const mppi::ProgramSlot& program) override;
    void store_prog(mppi::ProgramSlot& program) override;
    bool process_replace(float* const* out, const float* const* in, int frames,
                         bool tail) noexcept override;
    bool process_add(float* const* out, const float* const* in, int frames,
                     bool tail) noexcept override;

    // [any thread] A parameter of the engine itself changed.
    void notify(mppi::NotifierInterface* source) noexcept override;

    StereoTapDelay& taps() { return taps_; }
    DelayLine& line(int index) { return lines_[index]; }

private:
    template <bool Add>
    void process(float* const* out, const float* const* in, int frames) noexcept;
    void apply_flags() noexcept;
    void reset_running_state() noexcept;

    std::unique_ptr<mppi::HostDspInterface> host_;
    mppi::GuiInterface* gui_ = nullptr;
    std::shared_ptr<ParamFlags> flags_;
    std::shared_ptr<ParamTempo> tempo_;
    std::shared_ptr<ParamDryLvl> dry_level_;
    mppi::FullLfoParam<FdbkSepModifier, 1> separation_;
    std::atomic<bool> flags_changed_{false};
    std::atomic<bool> tempo_changed_{false};
    bool tempo_owned_ = true;
    bool two_line_ = false;
    StereoTapDelay taps_;
    DelayLine lines_[2];
    DelayMixer mixer_;
    float sample_rate_ = 44100.0f;
    int countdown_ = 0;
    float scratch_left_[control_block] = {};
    float scratch_right_[control_block] = {};
    std::atomic<bool> reset_requested_{false};
    std::string prog_name_;
    mppi::BusDescription in_bus_;
    mppi::BusDescription out_bus_;
    mppi::ThreadCheck threads_;
};

} // namespace effect
