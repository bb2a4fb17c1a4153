#include "Options.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

const char* const commands[] = {"render", "presets", "params", "bank", "screenshot", "editor"};

bool is_command(const std::string& word) {
    for (const char* c : commands)
        if (word == c)
            return true;
    return false;
}

double number(const std::string& option, const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(v))
        throw UsageError(option + " needs a number, not \"" + text + "\"");
    return v;
}

int frame_count(const std::string& option, const std::string& text) {
    const double v = number(option, text);
    if (v != std::floor(v) || v < 1 || v > Options::max_buffer_frames)
        throw UsageError(option + " takes a whole number of frames from 1 to " +
                         std::to_string(Options::max_buffer_frames) + ", not \"" + text + "\"");
    return int(v);
}

// An index from 0; how far it may go is checked where the count is known.
long long index_number(const std::string& option, const std::string& text) {
    const double v = number(option, text);
    if (v != std::floor(v) || v < 0 || v > 1e15)
        throw UsageError(option + " needs an index (a whole number from 0), not \"" + text + "\"");
    return (long long)v;
}

std::pair<std::string, std::string> assignment(const std::string& option, const std::string& text) {
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0)
        throw UsageError(option + " needs NAME=VALUE, not \"" + text + "\"");
    return {text.substr(0, eq), text.substr(eq + 1)};
}

} // namespace

Options parse_options(int argc, char** argv) {
    Options o;
    std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError(a + " needs a value");
            return args[++i];
        };
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--quiet" || a == "-q") {
            o.quiet = true;
        } else if (a == "--module") {
            o.module = value();
        } else if (a == "--preset") {
            o.preset = value();
        } else if (a == "--bank") {
            o.bank = value();
        } else if (a == "--program") {
            o.program = int(std::min(index_number(a, value()), (long long)INT_MAX));
        } else if (a == "--state") {
            o.state = value();
        } else if (a == "--save-state") {
            o.save_state = value();
        } else if (a == "--set") {
            o.sets.push_back(assignment(a, value()));
        } else if (a == "--set-normalized") {
            const std::string& text = value();
            if (text.find('=') == std::string::npos)
                throw UsageError(a +
                                 " needs INDEX=VALUE (a parameter index and a value from 0 "
                                 "to 1), not \"" +
                                 text + "\"");
            const auto [index, v] = assignment(a, text);
            const double n = number(a, v);
            if (n < 0.0 || n > 1.0)
                throw UsageError(a + " needs a value from 0 to 1, not \"" + v + "\"");
            o.normalized_sets.emplace_back(index_number(a, index), float(n));
        } else if (a == "--tempo") {
            // The same typed value as --set Tempo=BPM, so that both agree.
            const std::string& text = value();
            if (number(a, text) <= 0.0)
                throw UsageError("--tempo needs a tempo above 0 BPM, not \"" + text + "\"");
            o.sets.emplace_back("Tempo", text);
        } else if (a == "--tail") {
            const std::string& text = value();
            if (text == "auto") {
                o.tail_mode = Options::Tail::automatic;
            } else if (text == "full") {
                o.tail_mode = Options::Tail::full;
            } else {
                o.tail_mode = Options::Tail::seconds;
                o.tail = number(a, text);
                if (o.tail < 0.0)
                    throw UsageError("--tail needs auto, full or a duration of 0 seconds or more");
                if (o.tail > Options::max_tail_seconds)
                    throw UsageError("--tail takes at most 15 seconds, the longest tail the "
                                     "filter renders");
            }
        } else if (a == "--at") {
            const double seconds = number(a, value());
            if (seconds < 0.0 || seconds > 1e9)
                throw UsageError("--at needs a time from 0 to 1e9 seconds, not " + args[i]);
            const auto [name, text] = assignment(a, value());
            o.changes.push_back(TimedChange{seconds, name, text});
        } else if (a == "--type") {
            o.type = value();
        } else if (a == "--focus") {
            o.focus = value();
            if (o.focus.empty())
                throw UsageError("--focus needs the name of a parameter; see quevrin params");
        } else if (a == "--audio") {
            o.audio = value();
            if (o.audio.empty())
                throw UsageError("--audio needs a device (see --list-audio-devices) or none");
        } else if (a == "--latency") {
            o.latency_ms = number(a, value());
            if (o.latency_ms < 1.0 || o.latency_ms > 1000.0)
                throw UsageError("--latency takes 1 to 1000 milliseconds, not " + args[i]);
        } else if (a == "--list-audio-devices") {
            o.list_audio_devices = true;
        } else if (a == "--demo") {
            o.demo = true;
        } else if (a == "--buffer-frames") {
            o.buffer_frames = frame_count(a, value());
        } else if (a == "--allocator-frames") {
            o.allocator_frames = frame_count(a, value());
        } else if (a.size() > 1 && a[0] == '-') {
            throw UsageError("unknown option " + a + "; see quevrin --help");
        } else if (o.command.empty()) {
            if (!is_command(a))
                throw UsageError("unknown command \"" + a + "\"; see quevrin --help");
            o.command = a;
        } else {
            o.operands.push_back(a);
        }
    }
    if (!o.focus.empty() && o.command != "screenshot")
        throw UsageError("--focus goes only with screenshot");
    if ((!o.audio.empty() || o.list_audio_devices || o.latency_ms > 0.0) && o.command != "editor")
        throw UsageError("--audio, --latency and --list-audio-devices go only with editor");
    if (o.bank.empty() != (o.program < 0))
        throw UsageError("--bank and --program go together");
    if (!o.state.empty() && (!o.preset.empty() || !o.bank.empty()))
        throw UsageError("--state sets the whole program; it cannot go with --preset or --bank");
    std::stable_sort(
        o.changes.begin(), o.changes.end(),
        [](const TimedChange& a, const TimedChange& b) { return a.seconds < b.seconds; });
    return o;
}

std::string help_text(const std::string& command) {
    if (command == "render")
        return "usage: quevrin render INPUT OUTPUT [options]\n"
               "       quevrin render --demo OUTPUT [options]\n"
               "Renders INPUT (any file libsndfile reads, \"-\" for standard input; with --demo,\n"
               "the built-in demo phrase) through the Quevrin filter, tail included, into\n"
               "OUTPUT (.wav, .aiff, .flac, .ogg, .au, .caf or .w64; \"-\" for standard output).\n"
               "16-bit PCM stays 16-bit; everything else becomes 32-bit float. OUTPUT is\n"
               "replaced only when the render is complete; no file is both read and written.\n"
               "\n"
               "  --demo                   render the built-in demo phrase\n"
               "  --type FORMAT            the output format when OUTPUT's name gives none\n"
               "                           (standard output, a FIFO, a device): wav, aiff,\n"
               "                           flac, ogg, au, caf or w64\n"
               "  --preset NAME|INDEX      one of the static presets (see quevrin presets)\n"
               "  --bank FILE --program N  program N (from 0) of a bank file\n"
               "  --state FILE             load a saved filter state first (not with --preset\n"
               "                           or --bank)\n"
               "  --save-state FILE        save the filter state afterwards (it may be the\n"
               "                           --state FILE)\n"
               "  --set \"NAME=TEXT\"        set a parameter by its full name, as typed in the\n"
               "                           editor (\"D1 time=3/4\", \"D1 filt type=Low-pass\");\n"
               "                           a value the parameter limits is warned about\n"
               "  --set-normalized I=V     set parameter index I to the normalized value V\n"
               "  --tempo BPM              the tempo, as --set Tempo=BPM (60 to 240)\n"
               "  --at SECONDS \"NAME=TEXT\" change a parameter at that time of the input, at\n"
               "                           its exact frame; --at SECONDS preset=NAME|INDEX\n"
               "                           changes the program (repeatable)\n"
               "  --tail auto|full|SECONDS auto (the default): until the last sample above\n"
               "                           -120 dBFS (16-bit: not 0), at most 15 s; full: all\n"
               "                           the filter renders (15 s and the rest of its last\n"
               "                           buffer); or exactly SECONDS after the input, at\n"
               "                           most 15\n"
               "  --buffer-frames N        frames per buffer the source delivers (at most\n"
               "                           1048576)\n"
               "  --allocator-frames N     frames each buffer can hold (the filter's output\n"
               "                           buffers, and so its tail pieces, follow it)\n"
               "  --module PATH            the plug-in module (default: quevrin.so beside this\n"
               "                           program, or installed in ../lib/quevrin)\n"
               "  --quiet                  no progress and no summary\n";
    if (command == "presets")
        return "usage: quevrin presets\nLists the static presets: index and name.\n";
    if (command == "params")
        return "usage: quevrin params [--preset ...|--state FILE|--bank FILE --program N|--set "
               "...]\n"
               "Lists the 121 parameters, tab-separated: index, full name, value, unit,\n"
               "normalized value.\n";
    if (command == "screenshot")
        return "usage: quevrin screenshot OUTPUT.png [--preset ...|--state FILE|--bank FILE "
               "--program N] [--set ...] [--focus NAME]\n"
               "Draws the editor (500 x 422 pixels) with the program set up as for render\n"
               "into a PNG file (named .png, or - for standard output).\n"
               "\n"
               "  --focus NAME             press the control of that parameter first, so\n"
               "                           that its detail panel shows\n";
    if (command == "editor")
        return "usage: quevrin editor [INPUT] [--preset ...|--state FILE|--bank FILE --program N]\n"
               "                      [--set ...] [--save-state FILE] [--audio DEVICE|none]\n"
               "                      [--latency MS]\n"
               "       quevrin editor --list-audio-devices\n"
               "Opens the editor in a window titled \"Quevrin\" (an X display is needed). With\n"
               "INPUT it plays the file in a loop through the filter while the editor runs,\n"
               "and prints the latency at the start and the underruns at the end. Closing\n"
               "the window, SIGINT (Ctrl-C), SIGTERM or SIGHUP ends the program; the state is\n"
               "saved whichever way it ends, the loss of the X display included.\n"
               "\n"
               "  --save-state FILE        save the filter state when the editor ends (it may\n"
               "                           be the --state FILE, to go on with a session)\n"
               "  --audio DEVICE|none      the output device, by index or part of its name\n"
               "                           (default: the system's default output); none\n"
               "                           plays silently, paced by a clock\n"
               "  --latency MS             the most the player's buffer adds to the output's\n"
               "                           latency (default 25); more for a slow machine\n"
               "  --list-audio-devices     list the audio output devices and end\n";
    if (command == "bank")
        return "usage: quevrin bank dump FILE\n"
               "       quevrin bank defaults OUTPUT.pbk\n"
               "dump lists every program of a bank file in the form of quevrin params;\n"
               "defaults writes the built-in default bank as a bank file.\n";
    return "usage: quevrin COMMAND [options]\n"
           "Quevrin, a stereo delay by Vantrel, run as a DirectShow filter.\n"
           "\n"
           "Commands:\n"
           "  render INPUT OUTPUT     render audio through the filter\n"
           "  render --demo OUTPUT    render the built-in demo phrase\n"
           "  presets                 list the static presets\n"
           "  params                  list the parameters and their values\n"
           "  bank dump FILE          list the programs of a bank file\n"
           "  bank defaults OUTPUT    write the built-in default bank\n"
           "  screenshot OUTPUT.png   draw the editor into a PNG file\n"
           "  editor [INPUT]          open the editor in a window, playing INPUT live\n"
           "\n"
           "quevrin COMMAND --help tells more; quevrin --version gives the version.\n";
}
