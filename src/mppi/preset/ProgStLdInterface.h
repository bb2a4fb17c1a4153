#pragma once

namespace mppi {

class BankManager;
class DspInterface;
class HostGuiInterface;
class ProgramSlot;

// The seam between the editor's preset panel and the plug-in: reads the DSP's
// current program, keeps programs in a bank and sends mixed programs to the
// host. The bank, the host GUI services and the DSP are not owned and must
// outlive this object. Every operation runs on the editor thread.
//
// An editor may create its interpolator before the bank and the plug-in are
// known; the preset manager then points it at them with set_targets before
// any other operation runs.
class ProgStLdInterface {
public:
    // The writer priority of whole programs sent to the host.
    static constexpr int send_priority = 150;

    ProgStLdInterface() = default;
    ProgStLdInterface(BankManager& bank, HostGuiInterface& host_gui, DspInterface& dsp)
        : bank_(&bank), host_gui_(&host_gui), dsp_(&dsp) {}
    virtual ~ProgStLdInterface() = default;

    // Mixes `from` and `to` at `position` in [0, 1] (0: from, 1: to) into
    // `out`, which may be one of them; 0 on success.
    // [editor thread] Points the seam at the bank, the host and the DSP.
    void set_targets(BankManager& bank, HostGuiInterface& host_gui, DspInterface& dsp) {
        bank_ = &bank;
        host_gui_ = &host_gui;
        dsp_ = &dsp;
    }

    virtual int interpolate(ProgramSlot& out, const ProgramSlot& from, const ProgramSlot& to,
                            double position) = 0;

    // Copies the slot into bank program `index`.
    void store_to_bank(int index, const ProgramSlot& slot);
    // Copies bank program `index` into the slot.
    void load_from_bank(int index, ProgramSlot& slot) const;
    // Fills the slot with the DSP's current program and its name.
    void capture(ProgramSlot& slot);
    // Sends the mix of `from` and `to` at `position`, named like `to`, to the
    // host as a whole program. Returns interpolate's result; nothing is sent
    // when it fails.
    int send(const ProgramSlot& from, const ProgramSlot& to, double position);

private:
    BankManager* bank_ = nullptr;
    HostGuiInterface* host_gui_ = nullptr;
    DspInterface* dsp_ = nullptr;
};

} // namespace mppi
