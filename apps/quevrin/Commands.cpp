#include "Commands.h"

#include "AudioFile.h"
#include "AudioSink.h"
#include "AudioSource.h"
#include "DemoPhrase.h"
#include "PluginModule.h"

#include "mppi/DspInterface.h"
#include "mppi/HostGuiInterface.h"
#include "mppi/NormalizedParamInterface.h"
#include "mppi/ParamTextInput.h"
#include "mppi/preset/BankFile.h"
#include "mppi/preset/BankManager.h"
#include "sys/Resource.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

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
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw UsageError(path + ": cannot be read");
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

// Writes through a temporary file beside the target, renamed when complete,
// so that no half-written output is ever left under the target's name.
class AtomicOutput {
public:
    explicit AtomicOutput(const std::string& path)
        : path_(path), temporary_(temporary_name(path)) {}
    ~AtomicOutput() {
        if (!committed_)
            std::remove(temporary_.c_str());
    }
    const std::string& temporary() const { return temporary_; }
    void commit() {
        if (std::rename(temporary_.c_str(), path_.c_str()) != 0)
            throw UsageError(path_ + ": cannot be written");
        committed_ = true;
    }

private:
    static std::string temporary_name(const std::string& path) {
        const std::size_t slash = path.find_last_of('/');
        const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        return dir + "." + name + ".part" + std::to_string(getpid());
    }

    std::string path_;
    std::string temporary_;
    bool committed_ = false;
};

void write_file(const std::string& path, const std::vector<unsigned char>& bytes) {
    AtomicOutput output(path);
    std::ofstream out(output.temporary(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out)
        throw UsageError(path + ": cannot be written");
    output.commit();
}

int find_param(mppi::DspInterface& dsp, const std::string& name) {
    const std::string wanted = lower(name);
    for (int i = 0; i < dsp.get_nbr_param(); ++i)
        if (lower(dsp.get_param(i)->get_name()) == wanted)
            return i;
    throw UsageError("no parameter is named \"" + name + "\"; see quevrin params");
}

mppi::ProgramSlot bank_program(const std::string& path, int index) {
    mppi::BankManager bank;
    const int code = mppi::load_bank_file(path, bank, false);
    if (code != mppi::bank_ok)
        throw UsageError(path + ": " + bank_message(code));
    if (index >= bank.get_nbr_progs())
        throw UsageError(path + ": holds " + std::to_string(bank.get_nbr_progs()) +
                         " programs; --program takes 0 to " +
                         std::to_string(bank.get_nbr_progs() - 1));
    mppi::ProgramSlot program;
    bank.get_prog(index, program);
    return program;
}

// Everything that sets the filter's program, in the order a user expects:
// a whole program first, then single values on top.
void configure(PluginModule& module, const Options& o) {
    if (!o.preset.empty()) {
        const std::vector<std::string> names = module.preset_names();
        int index = -1;
        if (std::all_of(o.preset.begin(), o.preset.end(), ::isdigit)) {
            index = std::atoi(o.preset.c_str());
            if (index >= int(names.size()))
                throw UsageError("there are " + std::to_string(names.size()) +
                                 " presets; --preset takes 0 to " +
                                 std::to_string(names.size() - 1) + " or a name");
        } else {
            for (std::size_t i = 0; i < names.size(); ++i)
                if (lower(names[i]) == lower(o.preset))
                    index = int(i);
            if (index < 0)
                throw UsageError("no preset is named \"" + o.preset + "\"; see quevrin presets");
        }
        module.select_preset(index);
    }
    if (!o.bank.empty())
        module.apply_program(bank_program(o.bank, o.program));
    if (!o.state.empty() && !module.load_state(read_file(o.state)))
        throw UsageError(o.state + ": not a saved Quevrin state");

    mppi::DspInterface& dsp = module.dsp();
    mppi::HostGuiInterface& host = module.host_gui();
    for (const auto& [name, text] : o.sets) {
        const int index = find_param(dsp, name);
        float normalized = 0.0f;
        if (!mppi::read_param_text(*dsp.get_param(index), text, normalized))
            throw UsageError(dsp.get_param(index)->get_name() + ": \"" + text +
                             "\" is not a value it takes");
        host.set_param(index, normalized, host_priority);
    }
    for (const auto& [index, normalized] : o.normalized_sets) {
        if (index >= dsp.get_nbr_param())
            throw UsageError("--set-normalized: there are " + std::to_string(dsp.get_nbr_param()) +
                             " parameters, 0 to " + std::to_string(dsp.get_nbr_param() - 1));
        host.set_param(index, normalized, host_priority);
    }
    if (o.tempo > 0.0) {
        // Folded by octaves into 60..240, as a host's tempo is.
        double bpm = o.tempo;
        while (bpm < 60.0)
            bpm *= 2.0;
        while (bpm > 240.0)
            bpm /= 2.0;
        host.set_param(1, float((bpm - 60.0) / 180.0), host_priority);
    }
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

int render_command(const Options& o) {
    if (o.operands.empty() || o.operands.size() > 2)
        throw UsageError("render needs an OUTPUT file, and may take an INPUT before it");
    const std::string output_path = o.operands.back();
    if (!AudioFile::known_format(output_path))
        throw UsageError(output_path + ": unknown output format; use .wav, .aiff, .flac or .ogg");
    Input input(o.operands.size() == 2 ? o.operands[0] : "");
    const auto started = std::chrono::steady_clock::now();

    PluginModule module(module_path(o));
    configure(module, o);

    AtomicOutput output(output_path);
    AudioFile out;
    std::string error;
    if (!out.open_write(output.temporary(), output_path, 2, input.rate(), input.sample(), error))
        throw UsageError(output_path + ": " + error);

    const int buffer_frames = o.buffer_frames > 0 ? o.buffer_frames : default_buffer_frames;
    const long long limit =
        o.tail >= 0.0 ? input.frames() + (long long)std::llround(o.tail * input.rate()) : LLONG_MAX;
    AudioSource* source =
        AudioSource::create(audio_type(input.sample(), input.channels(), input.rate()),
                            buffer_frames, o.allocator_frames);
    const Reference source_reference(source);
    AudioSink* sink = AudioSink::create(out, limit);
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
        std::vector<unsigned char> buffer(std::size_t(buffer_frames) * 4 *
                                          std::size_t(input.frame_bytes()));
        long long done = 0;
        for (;;) {
            const long n = input.read(buffer, long(buffer_frames) * 4);
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
    output.commit();
    if (!o.save_state.empty())
        write_file(o.save_state, module.save_state());

    if (!o.quiet) {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        const double out_seconds = double(out.frames()) / input.rate();
        const double peak_db = sink->peak() > 0.0f ? 20.0 * std::log10(sink->peak()) : -INFINITY;
        std::fprintf(stderr, "%s: %.2f s in, %.2f s out, peak %.1f dBFS, %.0fx real time\n",
                     input.name().c_str(), double(input.frames()) / input.rate(), out_seconds,
                     peak_db, seconds > 0.0 ? out_seconds / seconds : 0.0);
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
        AtomicOutput output(path);
        const int code = mppi::save_bank_file(output.temporary(), bank);
        if (code != mppi::bank_ok)
            throw UsageError(path + ": " + bank_message(code));
        output.commit();
        return 0;
    }
    mppi::BankManager bank;
    const int code = mppi::load_bank_file(path, bank, false);
    if (code != mppi::bank_ok)
        throw UsageError(path + ": " + bank_message(code));
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
