#include "Commands.h"

#include "AudioFile.h"
#include "AudioSink.h"
#include "AudioSource.h"
#include "DemoPhrase.h"
#include "FileChecks.h"
#include "OutputFile.h"
#include "PluginModule.h"
#include "TypedValue.h"

#include "mppi/DspInterface.h"
#include "mppi/HostGuiInterface.h"
#include "mppi/NormalizedParamInterface.h"
#include "mppi/ParamTextInput.h"
#include "mppi/preset/BankFile.h"
#include "mppi/preset/BankManager.h"
#include "sys/Resource.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>

namespace {

constexpr int default_buffer_frames = 4096;
constexpr int host_priority = 200;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string bank_message(int code) {
    switch (code) {
    case mppi::bank_err_open:
        return "cannot be opened";
    case mppi::bank_err_read_header:
        return "is too short to be a bank file";
    case mppi::bank_err_magic:
        return "is not a Quevrin bank file";
    case mppi::bank_err_read_payload:
        return "is cut short";
    case mppi::bank_err_decode:
        return "holds a damaged bank";
    case mppi::bank_err_write_header:
    case mppi::bank_err_write_payload:
        return "could not be written completely";
    case mppi::bank_err_encode:
        return "cannot hold this bank";
    default:
        return "failed with code " + std::to_string(code);
    }
}

std::vector<unsigned char> read_file(const std::string& path) {
    check_readable(path);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw UsageError(path + ": cannot be read");
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

std::string seconds_text(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g s", seconds);
    return text;
}

void warn(const std::string& sentence) {
    std::fprintf(stderr, "quevrin: warning: %s\n", sentence.c_str());
}

int find_param(mppi::DspInterface& dsp, const std::string& name) {
    const std::string wanted = lower(name);
    for (int i = 0; i < dsp.get_nbr_param(); ++i)
        if (lower(dsp.get_param(i)->get_name()) == wanted)
            return i;
    throw UsageError("no parameter is named \"" + name + "\"; see quevrin params");
}

// A bank file that holds at least one program.
mppi::BankManager read_bank(const std::string& path) {
    check_readable(path);
    mppi::BankManager bank;
    const int code = mppi::load_bank_file(path, bank, false);
    if (code != mppi::bank_ok)
        throw UsageError(path + ": " + bank_message(code));
    if (bank.get_nbr_progs() < 1)
        throw UsageError(path + ": holds no programs; its program count is damaged");
    return bank;
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

// One change of the program: a whole preset, or one parameter's value.
struct Change {
    int preset = -1;
    int param = -1;
    float normalized = 0.0f;
};

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
    return o.module.empty() ? default_module_path() : o.module;
}

void print_params(mppi::DspInterface& dsp) {
    for (int i = 0; i < dsp.get_nbr_param(); ++i) {
        const mppi::NormalizedParamInterface& p = *dsp.get_param(i);
        std::printf("%d\t%s\t%s\t%s\t%.6f\n", i, p.get_name().c_str(),
                    p.to_text(p.get_internal()).c_str(), p.get_unit().c_str(),
                    double(p.get_normalized()));
    }
}

CMediaType audio_type(AudioFile::Sample sample, int channels, int rate) {
    WAVEFORMATEX f{};
    f.wFormatTag = sample == AudioFile::Sample::int16 ? WAVE_FORMAT_PCM : WAVE_FORMAT_IEEE_FLOAT;
    f.nChannels = WORD(channels);
    f.nSamplesPerSec = DWORD(rate);
    f.wBitsPerSample = sample == AudioFile::Sample::int16 ? 16 : 32;
    f.nBlockAlign = WORD(channels * f.wBitsPerSample / 8);
    f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
    CMediaType type;
    type.SetType(&MEDIATYPE_Audio);
    type.SetSubtype(sample == AudioFile::Sample::int16 ? &MEDIASUBTYPE_PCM
                                                       : &MEDIASUBTYPE_IEEE_FLOAT);
    type.SetFormatType(&FORMAT_WaveFormatEx);
    type.SetSampleSize(f.nBlockAlign);
    type.SetFormat(reinterpret_cast<const BYTE*>(&f), sizeof f);
    return type;
}

// Where the frames come from: an audio file, or the built-in demo phrase.
class Input {
public:
    explicit Input(const std::string& path) : path_(path) {
        if (path.empty()) {
            demo_ = DemoPhrase::render();
            return;
        }
        check_readable(path);
        std::string error;
        if (!file_.open_read(path, error))
            throw UsageError(path + ": " + error);
        if (file_.channels() > 2)
            throw UsageError(path + ": " + std::to_string(file_.channels()) +
                             " channels; Quevrin takes mono or stereo");
        if (file_.rate() <= 0)
            throw UsageError(path + ": no sample rate");
    }
    std::string name() const { return path_.empty() ? "demo phrase" : path_; }
    int channels() const { return path_.empty() ? DemoPhrase::channels : file_.channels(); }
    int rate() const { return path_.empty() ? DemoPhrase::rate : file_.rate(); }
    long long frames() const {
        return path_.empty() ? (long long)(demo_.size() / DemoPhrase::channels) : file_.frames();
    }
    AudioFile::Sample sample() const {
        return path_.empty() ? AudioFile::Sample::float32 : file_.sample();
    }
    int frame_bytes() const { return channels() * (sample() == AudioFile::Sample::int16 ? 2 : 4); }
    // Up to `count` frames into `buffer`; 0 at the end.
    long read(std::vector<unsigned char>& buffer, long count) {
        if (!path_.empty())
            return file_.read(buffer.data(), count);
        const long total = long(frames());
        const long n = std::min(count, total - demo_position_);
        std::copy_n(reinterpret_cast<const unsigned char*>(demo_.data()) +
                        std::size_t(demo_position_) * std::size_t(frame_bytes()),
                    std::size_t(n) * std::size_t(frame_bytes()), buffer.begin());
        demo_position_ += n;
        return n;
    }

private:
    std::string path_;
    AudioFile file_;
    std::vector<float> demo_;
    long demo_position_ = 0;
};

class Progress {
public:
    explicit Progress(bool shown) : shown_(shown && isatty(STDERR_FILENO)) {}
    void show(double fraction) {
        if (!shown_)
            return;
        const int width = 40;
        const int filled = int(std::clamp(fraction, 0.0, 1.0) * width);
        if (filled == last_)
            return;
        last_ = filled;
        std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(std::size_t(filled), '#').c_str(),
                     std::string(std::size_t(width - filled), ' ').c_str(), int(fraction * 100.0));
    }
    void done() {
        if (shown_ && last_ >= 0)
            std::fprintf(stderr, "\r%60s\r", "");
    }

private:
    bool shown_;
    int last_ = -1;
};

// Our one reference to a filter of this host, given up at the end of the scope.
class Reference {
public:
    explicit Reference(IBaseFilter* filter) : filter_(filter) {}
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;
    ~Reference() { filter_->Release(); }

private:
    IBaseFilter* filter_;
};

void check(HRESULT hr, const char* what) {
    if (FAILED(hr))
        throw InternalError(std::string(what) + " failed (" + std::to_string(long(hr)) + ")");
}

} // namespace

namespace {

// The input and output operands of render; a single operand is never both.
std::pair<std::string, std::string> render_files(const Options& o) {
    if (o.demo) {
        if (o.operands.size() != 1)
            throw UsageError("render --demo takes only an OUTPUT file");
        return {"", o.operands[0]};
    }
    if (o.operands.size() == 2)
        return {o.operands[0], o.operands[1]};
    if (o.operands.size() == 1) {
        const std::string& only = o.operands[0];
        struct stat st;
        if (only != "-" && stat(only.c_str(), &st) == 0)
            throw UsageError(only + ": exists and would be overwritten; write quevrin render " +
                             only +
                             " OUTPUT to render it, or quevrin render --demo OUTPUT "
                             "for the demo phrase");
    }
    throw UsageError("render needs an OUTPUT file after its INPUT, or --demo OUTPUT for the "
                     "built-in demo phrase");
}

// Changes at frames of the input, in time order.
struct TimedParamChange {
    long long frame;
    Change change;
    std::string at; // the option as given, for messages
};

} // namespace

int render_command(const Options& o) {
    const auto [input_path, output_path] = render_files(o);
    const std::string type = o.type.empty() ? AudioFile::type_of(output_path) : lower(o.type);
    if (!AudioFile::known_type(type))
        throw UsageError(
            output_path + ": " +
            (o.type.empty() ? std::string("unknown output format; name it .wav, "
                                          ".aiff, .flac or .ogg, or give --type")
                            : "--type " + o.type + " is unknown; use " + AudioFile::known_types()));
    refuse_same_files({{"input", input_path},
                       {"output", output_path},
                       {"--state file", o.state},
                       {"--save-state file", o.save_state},
                       {"--bank file", o.bank}});
    if (!input_path.empty())
        check_readable(input_path);
    if (!o.state.empty())
        check_readable(o.state);
    if (!o.bank.empty())
        check_readable(o.bank);
    // Every output is created (empty, under a temporary name) before any work.
    OutputFile output(output_path);
    std::optional<OutputFile> state_output;
    if (!o.save_state.empty())
        state_output.emplace(o.save_state);

    Input input(input_path);
    const auto started = std::chrono::steady_clock::now();

    PluginModule module(module_path(o));
    configure(module, o);
    std::vector<TimedParamChange> changes;
    for (const TimedChange& c : o.changes)
        changes.push_back(TimedParamChange{(long long)std::llround(c.seconds * input.rate()),
                                           read_change(module, c.name, c.text, "--at"),
                                           "--at " + seconds_text(c.seconds)});

    AudioFile out;
    std::string error;
    if (!out.open_write(output.write_path(), type, 2, input.rate(), input.sample(), error))
        throw UsageError(output_path + ": " + error);

    const int buffer_frames = o.buffer_frames > 0 ? o.buffer_frames : default_buffer_frames;
    const bool trim = o.tail < 0.0;
    const double tail_seconds = trim ? Options::max_tail_seconds : o.tail;
    AudioSource* source =
        AudioSource::create(audio_type(input.sample(), input.channels(), input.rate()),
                            buffer_frames, o.allocator_frames);
    const Reference source_reference(source);
    AudioSink* sink =
        AudioSink::create(out, (long long)std::llround(tail_seconds * input.rate()), trim);
    const Reference sink_reference(sink);
    // The graph comes apart before the references go.
    const auto tear_down = [&] {
        source->Stop();
        module.filter()->Stop();
        sink->Stop();
        source->output()->Disconnect();
        module.input()->Disconnect();
        module.output()->Disconnect();
        sink->input()->Disconnect();
    };
    long long done = 0;
    try {
        if (source->output()->Connect(module.input(), nullptr) != S_OK)
            throw UsageError(input.name() + ": the filter does not take this audio format");
        check(module.output()->Connect(sink->input(), nullptr), "connecting the output");
        check(sink->Pause(), "pausing the sink");
        check(module.filter()->Pause(), "pausing the filter");
        check(source->Pause(), "pausing the source");
        check(sink->Run(0), "running the sink");
        check(module.filter()->Run(0), "running the filter");
        check(source->Run(0), "running the source");

        Progress progress(!o.quiet);
        const long read_frames = long(buffer_frames) * 4;
        std::vector<unsigned char> buffer(std::size_t(read_frames) *
                                          std::size_t(input.frame_bytes()));
        auto next = changes.begin();
        for (; next != changes.end() && next->frame == 0; ++next)
            make_change(module, next->change);
        if (holds_loop(module.dsp()))
            warn("the program holds its loop (SL) from the start, so it will only hold silence; "
                 "set that flag with --at once the input has played");
        for (;;) {
            // A change falls between two buffers, exactly at its frame.
            for (; next != changes.end() && next->frame <= done; ++next)
                make_change(module, next->change);
            const long wanted = next == changes.end()
                                    ? read_frames
                                    : long(std::min<long long>(read_frames, next->frame - done));
            const long n = input.read(buffer, wanted);
            if (n <= 0)
                break;
            const HRESULT hr = source->push(buffer.data(), n);
            if (FAILED(hr))
                throw InternalError("streaming failed (" + std::to_string(long(hr)) + ")");
            done += n;
            progress.show(input.frames() > 0 ? double(done) / double(input.frames()) : 0.0);
            if (sink->failed() || hr == S_FALSE)
                break;
        }
        for (; next != changes.end(); ++next)
            warn(next->at + ": the input ends at " + seconds_text(double(done) / input.rate()) +
                 ", so that change is not made");
        sink->end_input();
        check(source->end_of_stream(), "ending the stream");
        progress.done();
        tear_down();
    } catch (...) {
        tear_down();
        throw;
    }
    if (!sink->ended())
        throw InternalError("the filter did not end the stream");
    if (sink->failed() || !out.close())
        throw UsageError(output_path + ": cannot be written completely");
    // All outputs or none: the state is written before either takes its name.
    if (state_output && !state_output->write(module.save_state()))
        throw UsageError(o.save_state + ": cannot be written completely");
    output.commit();
    if (state_output)
        state_output->commit();

    if (!o.quiet) {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        const double out_seconds = double(out.frames()) / input.rate();
        const double peak_db = sink->peak() > 0.0f ? 20.0 * std::log10(sink->peak()) : -INFINITY;
        std::fprintf(stderr, "%s: %.2f s in, %.2f s out, peak %.1f dBFS, %.0fx real time\n",
                     input.name().c_str(), double(done) / input.rate(), out_seconds, peak_db,
                     seconds > 0.0 ? out_seconds / seconds : 0.0);
    }
    return 0;
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
            throw UsageError(path + ": " + bank_message(code));
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
