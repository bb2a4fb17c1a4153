#include "FakeDsp.h"

#include "mppi/PropertyKeys.h"

#include <algorithm>
#include <cstring>

FakeDsp::FakeDsp(std::shared_ptr<std::vector<std::string>> log) : log_(std::move(log)) {}

FakeDsp::~FakeDsp() {
    note("dsp.destroyed");
}

void FakeDsp::set_host(mppi::HostDspInterface* host) {
    host_.reset(host);
    note("dsp.set_host");
}

void FakeDsp::set_gui(mppi::GuiInterface* gui) {
    gui_ = gui;
    note("dsp.set_gui");
}

std::string FakeDsp::get_prog_name() {
    note("dsp.get_prog_name");
    return prog_name_;
}

double FakeDsp::get_num_property(const char* key) {
    note(std::string("dsp.get_num_property ") + key);
    if (std::strcmp(key, mppi::property::can_mono) == 0) {
        return can_mono ? 1.0 : 0.0;
    }
    if (std::strcmp(key, mppi::property::can_scaled_val) == 0) {
        return can_scaled_val ? 1.0 : 0.0;
    }
    return 0.0;
}

void FakeDsp::load_prog(const mppi::ProgramSlot& program) {
    note("dsp.load_prog");
    const int count = std::min(nbr_params, program.get_nbr_values());
    for (int i = 0; i < count; ++i) {
        params_[i].set_normalized(program.get_value(i));
    }
}

void FakeDsp::store_prog(mppi::ProgramSlot& program) {
    note("dsp.store_prog");
    program.set_nbr_values(nbr_params);
    for (int i = 0; i < nbr_params; ++i) {
        program.set_value(i, params_[i].get_normalized());
    }
}

bool FakeDsp::process_replace(float* const* out, const float* const* in, int frames,
                              bool tail) noexcept {
    chunks.push_back(frames);
    tail_flags.push_back(tail);
    for (int c = 0; c < 2; ++c) {
        seen[c].insert(seen[c].end(), in[c], in[c] + frames);
    }
    for (int i = 0; i < frames; ++i, ++produced_) {
        const float v = script.empty() ? 0.0f : script[produced_ % script.size()];
        out[0][i] = v;
        out[1][i] = v;
    }
    return silent_from_call > 0 && static_cast<int>(chunks.size()) >= silent_from_call;
}

bool FakeDsp::process_add(float* const*, const float* const*, int, bool) noexcept {
    return false;
}
