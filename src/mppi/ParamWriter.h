#pragma once

#include "mppi/ParamPriorityList.h"

#include <vector>

namespace mppi {

class DspInterface;
class GuiInterface;

// How a host adapter changes the DSP's parameters for its writers: the
// editor's controls, morphs, programs the host applies, and the host's own
// values. A write claims the parameter's write priority (ParamPriority: refused
// while a higher writer holds it), sets the DSP's parameter and tells the
// editor, which shows it on the parameter's controls but the one that wrote.
//
// The host's own values (automation, its generic controls) are the lowest
// writer and reach the editor as a refresh: while another writer holds the
// parameter, the newest one waits and is applied once the hold ends, unless a
// writer sets the parameter first. So a host that echoes the editor's writes
// late never pulls a knob back.
//
// Everything runs on the editor thread.
class ParamWriter {
public:
    // Seconds, for the write priorities.
    using Clock = double (*)();

    // [editor thread]
    explicit ParamWriter(Clock clock) : clock_(clock) {}

    // [editor thread] The DSP whose parameters are written (not owned); one
    // priority per parameter, all unclaimed.
    void attach(DspInterface& dsp);
    // [editor thread] The editor told of changes; not owned, null for none.
    void set_gui(GuiInterface* gui) { gui_ = gui; }

    // [editor thread] Whether a writer of that priority may change the
    // parameter now, without claiming it.
    bool may_change(int index, int priority) const;
    // [editor thread] The writer of that priority gives up its claim.
    void release(int index, int priority);
    // [editor thread] Claims the parameter; when granted, sets the DSP's
    // parameter, drops a waiting host value and tells the editor. False, with
    // nothing changed, when refused or out of range.
    bool write(int index, float normalized, int priority);
    // [editor thread] After the DSP loaded a program of count values: each of
    // those parameters is claimed for priority, its waiting host value
    // dropped, and the editor shown what the DSP took (a damaged program's
    // values never reach a control).
    void program_loaded(int count, int priority);

    // [editor thread] A value the host set the parameter to: taken at once
    // (the DSP set, the editor refreshed), or, while a writer holds the
    // parameter, kept until the hold ends. A value the parameter holds
    // already only drops a waiting one.
    void host_value(int index, float normalized);
    // [editor thread] Takes the waiting host values whose hold has ended.
    void apply_waiting();
    // [editor thread] Whether a host value waits for the parameter.
    bool has_waiting(int index) const;

private:
    void tell_gui(int index, int priority);

    Clock clock_;
    DspInterface* dsp_ = nullptr;
    GuiInterface* gui_ = nullptr;
    ParamPriorityList priorities_;
    // Per parameter: the newest host value waiting, NaN when none.
    std::vector<float> waiting_;
};

} // namespace mppi
