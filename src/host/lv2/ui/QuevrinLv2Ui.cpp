#include "host/lv2/ui/QuevrinLv2Ui.h"

#include "editor/ZentrovaGui.h"
#include "effect/Algo.h"
#include "host/lv2/HostDspLv2.h"
#include "host/lv2/ui/HostGuiLv2.h"
#include "pengui/x11/DisplayScaleX11.h"
#include "pengui/x11/ErrorTrapX11.h"
#include "pengui/x11/EventLoopX11.h"
#include "pengui/x11/WindowX11.h"
#include "sys/Clock.h"

namespace host::lv2::ui {

namespace {
// The window's size until the editor asks for its own, as in the filter.
constexpr int initial_window_size = 100;
} // namespace

QuevrinLv2Ui::QuevrinLv2Ui(std::unique_ptr<pengui::EventLoopX11> loop) : loop_(std::move(loop)) {}

std::unique_ptr<QuevrinLv2Ui> QuevrinLv2Ui::create(unsigned long parent, LV2UI_Write_Function write,
                                                   LV2UI_Controller controller,
                                                   const LV2UI_Resize* resize,
                                                   double scale_factor) {
    // A connection of its own: the host's toolkit never sees the editor's
    // events, and cleanup closes everything the editor made on the server.
    std::unique_ptr<pengui::EventLoopX11> loop = pengui::EventLoopX11::connect();
    if (loop == nullptr || write == nullptr) {
        return nullptr;
    }
    std::unique_ptr<QuevrinLv2Ui> ui(new QuevrinLv2Ui(std::move(loop)));
    ui->model_ = std::make_unique<effect::Algo>();
    ui->gui_ = std::make_unique<editor::ZentrovaGui>();
    auto window =
        std::make_unique<pengui::WindowX11>(*ui->loop_, initial_window_size, initial_window_size);
    window->set_scale(scale_factor > 0 ? pengui::Scale::at_most(scale_factor)
                                       : pengui::display_scale(ui->loop_->display()));
    ui->window_ = window.get();
    ui->gui_->set_window(window.release());

    // The model's host answers as the plug-in's does: the host supplies the
    // tempo, so the editor shows it without a spin and programs leave it alone.
    ui->model_->set_host(std::make_unique<HostDspLv2>());
    ui->model_->set_gui(ui->gui_.get());
    ui->gui_->set_dsp(ui->model_.get());
    ui->model_->init();
    ui->ports_ = control_ports_of(*ui->model_);
    auto host =
        std::make_unique<HostGuiLv2>(*ui->model_, ui->ports_, write, controller, resize, sys::now);
    ui->host_ = host.get();
    ui->gui_->set_host(std::move(host));
    ui->host_->set_gui(ui->gui_.get());
    ui->gui_->load_resources();
    ui->gui_->build();

    int width = 0;
    int height = 0;
    ui->gui_->get_size(width, height);
    ui->host_->resize_window(width, height);
    ui->gui_->open(pengui::WindowX11::parent_handle(parent));
    if (ui->gui_->open_result() != 0) {
        return nullptr;
    }
    return ui;
}

QuevrinLv2Ui::~QuevrinLv2Ui() {
    // A host may destroy its window, and the editor's with it, before the
    // cleanup: the requests on the gone window then fail, and Xlib's default
    // handler would end the host's process. The trap takes those errors.
    pengui::ErrorTrapX11 trap(loop_->display());
    if (gui_ != nullptr) {
        gui_->stop();
        gui_->close();
    }
    if (model_ != nullptr) {
        model_->stop();
    }
    // The GUI goes first, with its window and host services; the connection
    // last, once the server has answered everything.
    gui_.reset();
    model_.reset();
    trap.sync();
}

unsigned long QuevrinLv2Ui::widget() const {
    return window_->native();
}

void QuevrinLv2Ui::port_event(std::uint32_t port, std::uint32_t size, std::uint32_t format,
                              const void* buffer) {
    host_->port_event(port, size, format, buffer);
}

int QuevrinLv2Ui::idle() {
    loop_->dispatch();
    host_->apply_held();
    return 0;
}

} // namespace host::lv2::ui
