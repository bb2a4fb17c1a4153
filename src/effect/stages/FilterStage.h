#pragma once

#include "effect/params/DelayLineParams.h"
#include "effect/params/Modifiers.h"
#include "effect/stages/Biquad.h"
#include "mppi/FullLfoParam.h"
#include "mppi/NotifiedInterface.h"
#include "mppi/NotifierInterface.h"
#include "mppi/PluginInternal.h"

#include <atomic>
#include <memory>

namespace effect {

// The first stage of a delay line's loop: reads the delayed samples through a
// second-order filter (low-pass, high-pass, resonator or band-pass) whose
// cutoff, resonance and Q each have an LFO. Coefficients change only at a
// control tick.
//
// Threads: parameters notify from the editor thread and only mark the stage
// changed; everything else belongs to the audio thread.
class FilterStage : public mppi::NotifiedInterface, public mppi::NotifierInterface {
public:
    struct CutoffRange {
        static constexpr double min = 40.0, max = 10240.0;
    };
    struct ResoRange {
        static constexpr double min = 1.0 / 16.0, max = 16.0;
    };
    struct QRange {
        static constexpr double min = 0.1, max = 10.0;
    };
    struct CutoffModifier : OctaveModifier<CutoffRange> {};
    struct ResoModifier : OctaveModifier<ResoRange> {};
    struct QModifier : OctaveModifier<QRange> {};

    // [editor thread] Creates the parameters and adds them: type, then cutoff,
    // resonance and Q, each followed by its LFO period, depth and waveform.
    void init(int line_index, mppi::PluginInternal& plugin);
    // [editor thread] Resonator, 1000 Hz, 0 dB, Q 1, no modulation; state cleared.
    void set_defaults();
    // [audio thread] Glides and LFOs restart, coefficients from the current
    // values, state cleared.
    void reset() noexcept;
    // [editor thread, audio thread stopped] The cutoff stays below 0.49 of the rate.
    void set_sample_rate(float rate);
    // [audio thread] The LFO periods follow the tempo.
    void tempo_changed() noexcept;
    // [audio thread] One control block of n samples: glides and LFOs advance,
    // coefficients follow any change.
    void tick(int n) noexcept;

    // [audio thread] Filters a run of the line into dst, or copies it when the
    // filter is neutral; src may be dst (a gliding read filtered in place).
    void read(float* dst, const float* src, int count) noexcept;
    // [audio thread] Filters the line's gliding read in place; nothing when neutral.
    void filter_in_place(float* block, int count) noexcept { read(block, block, count); }
    // [audio thread] read() of two lines' stages over runs of the same length,
    // the two filters side by side when neither is neutral.
    static void read_pair(FilterStage& a, float* dst_a, const float* src_a, FilterStage& b,
                          float* dst_b, const float* src_b, int count) noexcept {
        read_pair_from(
            a, dst_a, [src_a](int i) { return src_a[i]; }, b, dst_b,
            [src_b](int i) { return src_b[i]; }, count);
    }
    // [audio thread] read_pair() of runs made one sample at a time, as
    // Biquad::process_pair_from() takes them.
    template <class ReadA, class ReadB>
    static void read_pair_from(FilterStage& a, float* dst_a, ReadA read_a, FilterStage& b,
                               float* dst_b, ReadB read_b, int count) noexcept;
    // A resonator with a gain within 0.05 of 1 is left out.
    bool is_neutral() const noexcept;

    // [any thread] A parameter or a modulated value changed.
    void notify(mppi::NotifierInterface* source) noexcept override;

    const Biquad& biquad() const noexcept { return biquad_; }

private:
    void update_coefficients() noexcept;

    std::shared_ptr<ParamDlyFiltType> type_;
    mppi::FullLfoParam<CutoffModifier, 1> cutoff_;
    mppi::FullLfoParam<ResoModifier, 1> reso_;
    mppi::FullLfoParam<QModifier, 1> q_;
    Biquad biquad_;
    std::atomic<bool> filter_changed_{false};
};

template <class ReadA, class ReadB>
void FilterStage::read_pair_from(FilterStage& a, float* dst_a, ReadA read_a, FilterStage& b,
                                 float* dst_b, ReadB read_b, int count) noexcept {
    if (a.is_neutral() || b.is_neutral()) {
        for (int i = 0; i < count; ++i) {
            dst_a[i] = read_a(i);
            dst_b[i] = read_b(i);
        }
        a.filter_in_place(dst_a, count);
        b.filter_in_place(dst_b, count);
    } else {
        Biquad::process_pair_from(a.biquad_, dst_a, read_a, b.biquad_, dst_b, read_b, count);
    }
}

} // namespace effect
