#include "AudioOutput.h"
#include "CloseSignals.h"
#include "Commands.h"
#include "EditorSession.h"
#include "FileChecks.h"
#include "FrameRing.h"
#include "HostWindow.h"
#include "LoopPlayer.h"
#include "PluginModule.h"
#include "ProgramSetup.h"

#include "mppi/GuiInterface.h"
#include "pengui/WindowInterface.h"
#include "pengui/x11/WindowX11.h"

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

// The most the ring between the plug-in and the audio output adds to the
// output's own latency, unless --latency says otherwise: little enough that
// a turned knob is heard at once, room enough for the streaming thread's
// scheduling on an idle machine.
constexpr double default_ring_ms = 25.0;

// The ring's length for `ms` at `rate`, in whole frames.
std::size_t ring_frames(double ms, int rate) {
    return std::size_t(ms * 0.001 * rate);
}

// Plays the input while the editor runs, from the start of the loop to its end.
class Playback {
public:
    Playback(PluginModule& module, const std::string& input, const Options& o)
        : player_(module, input, ring_), output_(ring_, player_.rate(), o.audio) {
        ring_.resize(
            ring_frames(o.latency_ms > 0.0 ? o.latency_ms : default_ring_ms, player_.rate()));
    }
    ~Playback() { stop(); }

    void start(bool quiet) {
        player_.start();
        // The output starts once the ring is full, or the first reads could
        // find it short.
        for (int i = 0; i < 1000 && ring_.available() < ring_.capacity() && !player_.failed(); ++i)
            usleep(1000);
        if (player_.failed())
            throw InternalError("the stream broke off before it played");
        output_.start();
        if (!quiet)
            std::fprintf(stderr, "latency: %.1f ms (output %.1f ms on %s, ring %.1f ms)\n",
                         1000.0 * (output_.latency() + double(ring_.capacity()) / player_.rate()),
                         1000.0 * output_.latency(), output_.description().c_str(),
                         1000.0 * double(ring_.capacity()) / player_.rate());
    }
    void stop() {
        output_.stop();
        player_.stop();
    }
    long long underruns() const { return output_.underruns(); }
    bool failed() const { return player_.failed(); }
    int failure_fd() const { return player_.failure_fd(); }

private:
    FrameRing ring_{1};
    LoopPlayer player_;
    AudioOutput output_;
};

} // namespace

int editor_command(const Options& o) {
    if (o.list_audio_devices) {
        const std::vector<std::string> devices = AudioOutput::list_devices();
        for (const std::string& line : devices)
            std::printf("%s\n", line.c_str());
        if (devices.empty())
            std::fprintf(stderr, "quevrin: there is no audio output device; give --audio none to "
                                 "play silently\n");
        return 0;
    }
    if (o.operands.size() > 1)
        throw UsageError("editor takes at most one INPUT file; see quevrin editor --help");
    const std::string input = o.operands.empty() ? std::string() : o.operands[0];
    if (input.empty() && (!o.audio.empty() || o.latency_ms > 0.0))
        throw UsageError("--audio and --latency need an INPUT file to play");
    refuse_same_files({{"input", input}, {"--bank file", o.bank}}, o.state, o.save_state);
    for (const std::string& path : {input, o.state, o.bank})
        if (!path.empty())
            check_readable(path);
    EditorSession session(o.save_state);

    const CloseSignals signals;
    const std::unique_ptr<HostWindow> window = HostWindow::open("Quevrin");
    if (!window)
        throw UsageError("no X display answers (is DISPLAY set?); the editor needs one");

    PluginModule module(module_path(o));
    configure(module, o);
    pengui::WindowInterface& editor_window = module.editor_window();
    if (editor_window.event_fd() < 0)
        throw UsageError("the plug-in module could not reach the X display");
    std::optional<Playback> playback;
    if (!input.empty())
        playback.emplace(module, input, o);

    int width = 0;
    int height = 0;
    module.editor().get_size(width, height);
    window->show(width, height);
    module.editor().open(pengui::WindowX11::parent_handle(window->id()));
    if (playback)
        playback->start(o.quiet);
    session.watch(module);

    pollfd waits[4] = {{window->fd(), POLLIN, 0},
                       {editor_window.event_fd(), POLLIN, 0},
                       {signals.fd(), POLLIN, 0},
                       {playback ? playback->failure_fd() : -1, POLLIN, 0}};
    int deadline = editor_window.dispatch_events();
    while (!window->dispatch() && waits[2].revents == 0) {
        poll(waits, 4, deadline);
        if (waits[3].revents != 0) {
            // The editor stays: the user may still want the sound shaped so far.
            playback->stop();
            waits[3].fd = -1;
            std::fprintf(stderr,
                         "quevrin: %s: the stream broke off while it played (the file was cut "
                         "short or replaced); the playback stopped, the editor stays open\n",
                         input.c_str());
        }
        deadline = editor_window.dispatch_events();
    }

    if (playback)
        playback->stop();
    module.editor().close();
    if (playback && !o.quiet)
        std::fprintf(stderr, "underruns: %lld\n", playback->underruns());
    session.save();
    // The break was told when it happened.
    return playback && playback->failed() ? 2 : 0;
}
