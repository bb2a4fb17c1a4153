#include "Commands.h"

#include "AudioFile.h"
#include "AudioSink.h"
#include "AudioSource.h"
#include "DemoPhrase.h"
#include "FileChecks.h"
#include "OutputFile.h"
#include "PluginModule.h"
#include "ProgramSetup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

constexpr int default_buffer_frames = 4096;

std::string seconds_text(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g s", seconds);
    return text;
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
        fraction = std::clamp(fraction, 0.0, 1.0);
        const int filled = int(fraction * width);
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
    const bool trim = o.tail_mode == Options::Tail::automatic;
    const double tail_seconds = o.tail_mode == Options::Tail::seconds ? o.tail
                                : trim                                ? Options::max_tail_seconds
                                       : 2.0 * Options::max_tail_seconds; // more than it renders
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
