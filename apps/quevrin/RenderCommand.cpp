#include "Commands.h"

#include "AudioFile.h"
#include "AudioInput.h"
#include "AudioSink.h"
#include "AudioSource.h"
#include "FileChecks.h"
#include "FilterGraph.h"
#include "OutputFile.h"
#include "PluginModule.h"
#include "ProgramSetup.h"

#include "sys/UserMessage.h"

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

// The input and output operands of render; a single operand is never both.
std::pair<std::string, std::string> render_operands(const Options& o) {
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

// The files of a render, checked before any is opened: the input (empty for
// the demo phrase), the output and its audio type.
struct RenderFiles {
    std::string input;
    std::string output;
    std::string type;
};

RenderFiles render_files(const Options& o) {
    const auto [input, output] = render_operands(o);
    const std::string type = o.type.empty() ? AudioFile::type_of(output) : lower(o.type);
    if (!AudioFile::known_type(type))
        throw UsageError(
            output + ": " +
            (o.type.empty() ? std::string("unknown output format; name it .wav, "
                                          ".aiff, .flac or .ogg, or give --type")
                            : "--type " + o.type + " is unknown; use " + AudioFile::known_types()));
    refuse_same_files({{"input", input}, {"output", output}, {"--bank file", o.bank}}, o.state,
                      o.save_state);
    for (const std::string& read : {input, o.state, o.bank})
        if (!read.empty())
            check_readable(read);
    return {input, output, type};
}

// Changes at frames of the input, in time order.
struct TimedParamChange {
    long long frame;
    Change change;
    std::string at; // the option as given, for messages
};

std::vector<TimedParamChange> timed_changes(PluginModule& module, const Options& o, int rate) {
    std::vector<TimedParamChange> changes;
    for (const TimedChange& c : o.changes)
        changes.push_back(TimedParamChange{(long long)std::llround(c.seconds * rate),
                                           read_change(module, c.name, c.text, "--at"),
                                           "--at " + seconds_text(c.seconds)});
    return changes;
}

// The seconds of output the sink keeps after the input.
double tail_seconds(const Options& o) {
    switch (o.tail_mode) {
    case Options::Tail::seconds:
        return o.tail;
    case Options::Tail::automatic:
        return Options::max_tail_seconds;
    case Options::Tail::full:
        break;
    }
    return 2.0 * Options::max_tail_seconds; // more than the filter renders
}

// Streams the whole input through the running graph, each change made
// exactly at its frame, then ends the stream; returns the frames read.
long long stream_input(FilterGraph& graph, AudioInput& input, AudioSource& source, AudioSink& sink,
                       PluginModule& module, const std::vector<TimedParamChange>& changes,
                       long read_frames, bool quiet) {
    graph.start(input.name());
    Progress progress(!quiet);
    long long done = 0;
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
        // Read straight into the source's buffers.
        long n = 0;
        const HRESULT hr = source.push_read(
            wanted, [&input](BYTE* to, long frames) { return input.read(to, frames); }, n);
        if (FAILED(hr))
            throw InternalError("streaming failed (" + std::to_string(long(hr)) + ")");
        if (n <= 0)
            break;
        done += n;
        progress.show(input.frames() > 0 ? double(done) / double(input.frames()) : 0.0);
        if (sink.failed() || hr == S_FALSE)
            break;
    }
    for (; next != changes.end(); ++next)
        warn(next->at + ": the input ends at " + seconds_text(double(done) / input.rate()) +
             ", so that change is not made");
    sink.end_input();
    check(source.end_of_stream(), "ending the stream");
    progress.done();
    graph.stop();
    return done;
}

// All outputs or none: the audio and the state are complete before either
// takes its name.
void complete_outputs(AudioFile& out, const AudioSink& sink, OutputFile& output,
                      std::optional<OutputFile>& state_output, PluginModule& module) {
    if (!sink.ended())
        throw InternalError("the filter did not end the stream");
    if (!out.close() || sink.failed())
        throw UsageError(output.path() + ": cannot be written completely" +
                         (out.write_error() != 0 ? "; " + sys::write_failure(out.write_error())
                                                 : std::string()));
    if (state_output)
        state_output->write(module.save_state());
    output.commit();
    if (state_output)
        state_output->commit();
    if (sink.clipped() > 0)
        warn(std::to_string(sink.clipped()) +
             " samples of the 16-bit output were clipped at full scale; lower the "
             "program's levels to avoid it");
}

// One line on stderr: the lengths in and out, the peak and the speed.
void report(const AudioInput& input, long long done, const AudioFile& out, const AudioSink& sink,
            std::chrono::steady_clock::time_point started) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double out_seconds = double(out.frames()) / input.rate();
    const double peak_db = sink.peak() > 0.0f ? 20.0 * std::log10(sink.peak()) : -INFINITY;
    std::fprintf(stderr, "%s: %.2f s in, %.2f s out, peak %.1f dBFS, %.0fx real time\n",
                 input.name().c_str(), double(done) / input.rate(), out_seconds, peak_db,
                 seconds > 0.0 ? out_seconds / seconds : 0.0);
}

} // namespace

int render_command(const Options& o) {
    const RenderFiles files = render_files(o);
    // Every output is created (empty, under a temporary name) before any work.
    OutputFile output(files.output);
    std::optional<OutputFile> state_output;
    if (!o.save_state.empty())
        state_output.emplace(o.save_state, OutputFile::Create::on_write);

    AudioInput input(files.input);
    const auto started = std::chrono::steady_clock::now();
    PluginModule module(module_path(o));
    configure(module, o);
    const std::vector<TimedParamChange> changes = timed_changes(module, o, input.rate());

    AudioFile out;
    std::string error;
    if (!out.open_write(output.write_path(), files.type, 2, input.rate(), input.sample(), error))
        throw UsageError(files.output + ": " + error);
    const int buffer_frames = o.buffer_frames > 0 ? o.buffer_frames : default_buffer_frames;
    AudioSource* source =
        AudioSource::create(input.media_type(), buffer_frames, o.allocator_frames);
    const FilterReference source_reference(source);
    AudioSink* sink =
        AudioSink::create(out, (long long)std::llround(tail_seconds(o) * input.rate()),
                          o.tail_mode == Options::Tail::automatic);
    const FilterReference sink_reference(sink);
    // The graph comes apart before the references go.
    FilterGraph graph(*source, module, *sink, *sink->input());
    const long long done = stream_input(graph, input, *source, *sink, module, changes,
                                        long(buffer_frames) * 4, o.quiet);
    complete_outputs(out, *sink, output, state_output, module);
    if (!o.quiet)
        report(input, done, out, *sink, started);
    return 0;
}
