#include "HeadlessGui.h"

#include "mppi/DspInterface.h"

namespace {

template <typename T>
void keep(std::deque<T>& recorded, T entry) {
    if (recorded.size() == HeadlessGui::max_recorded) {
        recorded.pop_front();
    }
    recorded.push_back(std::move(entry));
}

} // namespace

void HeadlessGui::note(const char* call) {
    keep(record_->calls, std::string(call));
}

void HeadlessGui::load_resources() {
    if (host_ != nullptr) {
        host_->init_notice();
    }
    note("load_resources");
}

void HeadlessGui::set_host(mppi::HostGuiInterface* host) {
    if (host != host_.get()) {
        host_.reset(host);
    }
    note("set_host");
}

void HeadlessGui::set_dsp(mppi::DspInterface* dsp) {
    dsp_ = dsp;
    record_->nbr_params = dsp != nullptr ? dsp->get_nbr_param() : 0;
    note("set_dsp");
}

HeadlessGui::~HeadlessGui() = default;

void HeadlessGui::set_window(pengui::WindowInterface* window) {
    if (window != window_.get()) {
        window_.reset(window);
    }
    note("set_window");
}

void HeadlessGui::open(void* parent) {
    if (window_ != nullptr) {
        window_->open(parent);
    }
    note("open");
}

void HeadlessGui::close() {
    if (window_ != nullptr) {
        window_->close();
    }
    note("close");
}

void HeadlessGui::get_size(int& w, int& h) {
    w = width;
    h = height;
}

void HeadlessGui::get_view_size(int& w, int& h) {
    get_size(w, h);
}

void HeadlessGui::param_changed(int index, float normalized, int priority) {
    keep(record_->param_changes, ParamChange{index, normalized, priority});
}
