#include "Commands.h"

#include "OutputFile.h"
#include "PluginModule.h"
#include "ProgramSetup.h"

#include "mppi/DspInterface.h"
#include "mppi/NormalizedParamInterface.h"
#include "mppi/preset/BankFile.h"
#include "mppi/preset/BankManager.h"
#include "sys/Resource.h"

#include <cstdio>
#include <exception>

namespace {

void print_params(mppi::DspInterface& dsp) {
    for (int i = 0; i < dsp.get_nbr_param(); ++i) {
        const mppi::NormalizedParamInterface& p = *dsp.get_param(i);
        std::printf("%d\t%s\t%s\t%s\t%.6f\n", i, p.get_name().c_str(),
                    p.to_text(p.get_internal()).c_str(), p.get_unit().c_str(),
                    double(p.get_normalized()));
    }
}
} // namespace

int run_guarded(int argc, char** argv, const std::function<int(const Options&)>& command) {
    try {
        return command(parse_options(argc, argv));
    } catch (const UsageError& e) {
        std::fprintf(stderr, "quevrin: %s\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quevrin: %s\n", e.what());
        return 1;
    }
}

int presets_command(const Options& o) {
    PluginModule module(module_path(o));
    const std::vector<std::string> names = module.preset_names();
    for (std::size_t i = 0; i < names.size(); ++i)
        std::printf("%zu\t%s\n", i, names[i].c_str());
    return 0;
}

int params_command(const Options& o) {
    PluginModule module(module_path(o));
    configure(module, o);
    print_params(module.dsp());
    return 0;
}

int bank_command(const Options& o) {
    if (o.operands.size() != 2 || (o.operands[0] != "dump" && o.operands[0] != "defaults"))
        throw UsageError("bank takes dump FILE or defaults OUTPUT.pbk; see quevrin bank --help");
    const std::string& path = o.operands[1];
    if (o.operands[0] == "defaults") {
        std::size_t size = 0;
        const void* data = sys::get_ressource("VNPB", "default_preset_bank", &size);
        mppi::BankManager bank;
        if (data == nullptr || mppi::load_bank_memory(data, size, bank, false) != mppi::bank_ok)
            throw InternalError("the built-in default bank is missing");
        OutputFile output(path);
        const int code = mppi::save_bank_file(output.write_path(), bank);
        if (code != mppi::bank_ok)
            throw UsageError(path + ": " + mppi::bank_error_text(code));
        output.commit();
        return 0;
    }
    const mppi::BankManager bank = read_bank(path);
    PluginModule module(module_path(o));
    for (int i = 0; i < bank.get_nbr_progs(); ++i) {
        mppi::ProgramSlot program;
        bank.get_prog(i, program);
        module.apply_program(program);
        std::printf("%s# %d\t%s\n", i > 0 ? "\n" : "", i, program.get_prog_name().c_str());
        print_params(module.dsp());
    }
    return 0;
}
