#include "ProgramSetup.h"

#include "FileChecks.h"
#include "TypedValue.h"

#include "mppi/DspInterface.h"
#include "mppi/HostGuiInterface.h"
#include "mppi/NormalizedParamInterface.h"
#include "mppi/preset/BankFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

constexpr int host_priority = 200;

std::vector<unsigned char> read_file(const std::string& path) {
    check_readable(path);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw UsageError(path + ": cannot be read");
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

mppi::ProgramSlot bank_program(const std::string& path, int index) {
    const mppi::BankManager bank = read_bank(path);
    if (index >= bank.get_nbr_progs())
        throw UsageError(path + ": holds " + std::to_string(bank.get_nbr_progs()) +
                         " programs; --program takes 0 to " +
                         std::to_string(bank.get_nbr_progs() - 1));
    mppi::ProgramSlot program;
    bank.get_prog(index, program);
    return program;
}

// A static preset by index or name (case ignored); `option` names the option.
int preset_index(PluginModule& module, const std::string& option, const std::string& preset) {
    const std::vector<std::string> names = module.preset_names();
    if (!preset.empty() && std::all_of(preset.begin(), preset.end(), ::isdigit)) {
        if (preset.size() > 9 || std::atoi(preset.c_str()) >= int(names.size()))
            throw UsageError("there are " + std::to_string(names.size()) + " presets; " + option +
                             " takes 0 to " + std::to_string(names.size() - 1) + " or a name");
        return std::atoi(preset.c_str());
    }
    for (std::size_t i = 0; i < names.size(); ++i)
        if (lower(names[i]) == lower(preset))
            return int(i);
    throw UsageError("no preset is named \"" + preset + "\"; see quevrin presets");
}

} // namespace

int find_param(mppi::DspInterface& dsp, const std::string& name) {
    const std::string wanted = lower(name);
    for (int i = 0; i < dsp.get_nbr_param(); ++i)
        if (lower(dsp.get_param(i)->get_name()) == wanted)
            return i;
    throw UsageError("no parameter is named \"" + name + "\"; see quevrin params");
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

void warn(const std::string& sentence) {
    std::fprintf(stderr, "quevrin: warning: %s\n", sentence.c_str());
}

mppi::BankManager read_bank(const std::string& path) {
    check_readable(path);
    mppi::BankManager bank;
    const int code = mppi::load_bank_file(path, bank, false);
    if (code != mppi::bank_ok)
        throw UsageError(path + ": " + mppi::bank_error_text(code));
    if (bank.get_nbr_progs() < 1)
        throw UsageError(path + ": holds no programs; its program count is damaged");
    return bank;
}

// Reads "NAME=TEXT" (or preset=NAME|INDEX when `presets` allows it) as the
// change it makes, warning when a typed value was limited or partly ignored.
Change read_change(PluginModule& module, const std::string& name, const std::string& text,
                   const char* option) {
    Change change;
    if (lower(name) == "preset") {
        change.preset = preset_index(module, option, text);
        return change;
    }
    mppi::DspInterface& dsp = module.dsp();
    change.param = find_param(dsp, name);
    const mppi::NormalizedParamInterface& param = *dsp.get_param(change.param);
    TypedValue value;
    if (!read_typed_value(param, text, value))
        throw UsageError(param.get_name() + ": \"" + text + "\" is not a value it takes");
    if (!value.warning.empty())
        warn(value.warning);
    change.normalized = value.normalized;
    return change;
}

// Through the filter's parameter path, as a host makes a change.
void make_change(PluginModule& module, const Change& change) {
    if (change.preset >= 0)
        module.select_preset(change.preset);
    else
        module.host_gui().set_param(change.param, change.normalized, host_priority);
}

// Everything that sets the filter's program, in the order a user expects:
// a whole program first, then single values on top.
void configure(PluginModule& module, const Options& o) {
    if (!o.preset.empty())
        module.select_preset(preset_index(module, "--preset", o.preset));
    if (!o.bank.empty())
        module.apply_program(bank_program(o.bank, o.program));
    if (!o.state.empty() && !module.load_state(read_file(o.state)))
        throw UsageError(o.state + ": not a saved Quevrin state");

    for (const auto& [name, text] : o.sets) {
        if (lower(name) == "preset")
            throw UsageError("--set takes a parameter; a preset is chosen with --preset");
        make_change(module, read_change(module, name, text, "--set"));
    }
    mppi::DspInterface& dsp = module.dsp();
    for (const auto& [index, normalized] : o.normalized_sets) {
        if (index >= dsp.get_nbr_param())
            throw UsageError("--set-normalized: there are " + std::to_string(dsp.get_nbr_param()) +
                             " parameters, 0 to " + std::to_string(dsp.get_nbr_param() - 1));
        module.host_gui().set_param(int(index), normalized, host_priority);
    }
}

// Whether the program holds its loop (the sustain flag, shown as "SL").
bool holds_loop(mppi::DspInterface& dsp) {
    const int flags = find_param(dsp, "Flags");
    const mppi::NormalizedParamInterface& p = *dsp.get_param(flags);
    const std::string shown = " " + p.to_text(p.get_internal()) + " ";
    return shown.find(" SL ") != std::string::npos;
}

std::string module_path(const Options& o) {
    return o.module.empty() ? module_file("quevrin.so") : o.module;
}
