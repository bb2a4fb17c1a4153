#pragma once

#include "host/lv2/ControlPort.h"
#include "mppi/HostGuiInterface.h"
#include "mppi/ParamWriter.h"
#include "mppi/ThreadCheck.h"

#include <lv2/ui/ui.h>

#include <cstdint>
#include <vector>

namespace mppi {
class DspInterface;
class GuiInterface;
} // namespace mppi

namespace host::lv2::ui {

// What an LV2 host offers the editor: the plug-in's control ports, and nothing
// else. The editor reads names, texts and ranges from a model DSP that never
// processes audio; this object keeps the model's parameters and the ports in
// step both ways, through the filter's parameter-write protocol
// (mppi::ParamWriter). An editor change (a knob, a program recall, a morph
// step) is a write of the model that becomes a port write in the port's own
// unit. A port value from the host is the host's own value: it waits while an
// editor writer holds the parameter, so the editor ends up showing what the
// port holds.
//
// Owned by the GUI. Everything runs on the host's UI thread (the editor
// thread); test builds check it.
class HostGuiLv2 : public mppi::HostGuiInterface {
public:
    // Seconds, for the write priorities.
    using Clock = double (*)();

    // [editor thread] The model's ports as ports_ describe them; every write
    // goes to write(controller, ...) in ui:floatProtocol. resize may be null
    // (the host offers no ui:resize). The model, the ports and the resize
    // feature must outlive this object.
    HostGuiLv2(mppi::DspInterface& model, const std::vector<ControlPort>& ports,
               LV2UI_Write_Function write, LV2UI_Controller controller, const LV2UI_Resize* resize,
               Clock clock);

    // [editor thread] The editor told of port values; not owned, null to stop.
    void set_gui(mppi::GuiInterface* gui);

    // [editor thread] A value of a control port in ui:floatProtocol; the
    // tempo comes from the plug-in's tempo in use, not from the tempo port.
    // Other ports, protocols, sizes and values that are not numbers are ignored.
    void port_event(std::uint32_t port, std::uint32_t size, std::uint32_t format,
                    const void* buffer);
    // [editor thread] Applies the held-back port values whose hold has ended.
    void apply_held();

    // [editor thread] Does nothing.
    void init_notice() override {}
    // [editor thread] "can_resize_window": non-zero when the host offers
    // ui:resize (the window then fits the editor); 0.0 for other keys.
    double get_num_property(const char* key) override;
    // [editor thread]
    bool may_change_param(int index, int priority) override;
    // [editor thread]
    void release_param(int index, int priority) override;
    // [editor thread] Claims the parameter, sets the model and writes the
    // port; false with nothing changed when refused or out of range.
    bool set_param(int index, float normalized, int priority) override;
    // [editor thread] The model loads program (the tempo stays the host's),
    // every parameter is claimed for priority and the editor told; the ports
    // that changed are written.
    void set_prog(const mppi::ProgramSlot& program, int priority) override;
    // [editor thread] Resizes the editor window and tells the host the size;
    // returns 0 (a host that refuses keeps its own size).
    int resize_window(int width, int height) override;

private:
    void write_port(int index);

    mppi::DspInterface& model_;
    const std::vector<ControlPort>& ports_;
    LV2UI_Write_Function write_;
    LV2UI_Controller controller_;
    const LV2UI_Resize* resize_;
    mppi::GuiInterface* gui_ = nullptr;
    mppi::ParamWriter writer_;
    mutable mppi::ThreadCheck threads_;
};

} // namespace host::lv2::ui
