#include "bankc/BankCompiler.h"

#include "mppi/ParamTextInput.h"
#include "mppi/preset/BankFile.h"
#include "mppi/preset/BankManager.h"
#include "mppi/preset/ProgramSlot.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <vector>

namespace bankc {

namespace {

constexpr std::size_t max_name_length = mppi::ProgramSlot::name_field_size - 1;

struct BuiltInBank {
    const char* name;
    int programs;
};
constexpr BuiltInBank built_in_banks[] = {{"default_preset_bank", 8}, {"static_presets", 34}};

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string base_name(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.find('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

} // namespace

int expected_program_count(const std::string& path) {
    const std::string name = base_name(path);
    for (const BuiltInBank& bank : built_in_banks)
        if (name == bank.name)
            return bank.programs;
    return 0;
}

BankCompiler::BankCompiler() {
    algo_.init();
    algo_.reset();
    for (int i = 0; i < algo_.get_nbr_param(); ++i)
        index_by_name_.emplace(lower(algo_.get_param(i)->get_name()), i);
}

int BankCompiler::find_param(const std::string& name) const {
    const auto found = index_by_name_.find(lower(name));
    return found == index_by_name_.end() ? -1 : found->second;
}

bool BankCompiler::compile(const std::string& source, const std::string& file_name,
                           int expected_programs, mppi::BankManager& bank, std::string& error) {
    std::vector<mppi::ProgramSlot> programs;
    std::map<std::string, int> line_of_name;
    std::string current_name;
    bool in_program = false;
    int line_number = 0;

    const auto fail = [&](const std::string& problem) {
        error = file_name + ":" + std::to_string(line_number) + ": " + problem;
        return false;
    };
    const auto close_program = [&] {
        if (!in_program)
            return;
        mppi::ProgramSlot slot;
        algo_.store_prog(slot);
        slot.set_prog_name(current_name);
        programs.push_back(slot);
    };

    std::istringstream lines(source);
    std::string raw;
    while (std::getline(lines, raw)) {
        ++line_number;
        const std::string line = trimmed(raw);
        if (line.empty() || line[0] == '#')
            continue;

        if (line.front() == '[' && line.back() == ']') {
            close_program();
            const std::string name = line.substr(1, line.size() - 2);
            const int count = int(programs.size()) + 1;
            if (expected_programs > 0 && count > expected_programs)
                return fail("program " + std::to_string(count) + " is one too many: this bank " +
                            "holds " + std::to_string(expected_programs) + " programs");
            if (name.empty())
                return fail("empty program name");
            if (name.size() > max_name_length)
                return fail("program name '" + name + "' is longer than " +
                            std::to_string(max_name_length) + " characters");
            const auto [previous, added] = line_of_name.emplace(name, line_number);
            if (!added)
                return fail("duplicate program name '" + name + "' (first at line " +
                            std::to_string(previous->second) + ")");
            current_name = name;
            in_program = true;
            algo_.reset();
            continue;
        }

        const auto equals = line.find('=');
        if (equals == std::string::npos)
            return fail("expected '[Program name]' or 'Parameter name = value', got '" + line +
                        "'");
        if (!in_program)
            return fail("parameter line before the first '[Program name]'");
        const std::string name = trimmed(line.substr(0, equals));
        const std::string value = trimmed(line.substr(equals + 1));
        const int index = find_param(name);
        if (index < 0)
            return fail("unknown parameter '" + name + "'");
        mppi::NormalizedParamInterface& param = *algo_.get_param(index);
        float normalized = 0.0f;
        if (!mppi::read_param_text(param, value, normalized))
            return fail("value '" + value + "' not understood for " + param.get_name());
        param.set_normalized(normalized);
    }
    close_program();

    const int count = int(programs.size());
    if (count == 0)
        return fail("no programs");
    if (expected_programs > 0 && count != expected_programs)
        return fail("this bank holds " + std::to_string(expected_programs) + " programs, found " +
                    std::to_string(count));

    bank.set_nbr_progs(count);
    for (int i = 0; i < count; ++i)
        bank.set_prog(i, programs[std::size_t(i)]);
    return true;
}

int compile_file(const std::string& source_path, const std::string& output_path,
                 std::string& error) {
    constexpr int failed = 2;
    std::ifstream in(source_path, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) {
        error = source_path + ": cannot be read";
        return failed;
    }
    mppi::BankManager bank;
    BankCompiler compiler;
    if (!compiler.compile(text.str(), source_path, expected_program_count(source_path), bank,
                          error))
        return failed;
    const int code = mppi::save_bank_file(output_path, bank);
    if (code != mppi::bank_ok) {
        error = output_path + ": cannot be written (code " + std::to_string(code) + ")";
        return failed;
    }
    return 0;
}

} // namespace bankc
