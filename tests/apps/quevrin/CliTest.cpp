// The quevrin program end to end: real files through the real executable and
// the plug-in module beside it.
#include "support/Noise.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <csignal>
#include <thread>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quevrin-cli-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf " + dir).c_str()); }

    std::string path(const std::string& name) const { return dir + "/" + name; }

    // The program with `args`; `before` and `after` are shell text around it
    // (an input piped in, a reader started first).
    Outcome run(const std::string& args, const std::string& before = "",
                const std::string& after = "") const {
        const std::string out = path("stdout.txt"), err = path("stderr.txt");
        const std::string command =
            before + std::string(QUEVRIN_CLI_PATH) + " " + args + " >" + out + " 2>" + err + after;
        const int raw = std::system(command.c_str());
        return Outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
    }

    static std::string slurp(const std::string& file) {
        std::ifstream in(file);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    static bool exists(const std::string& file) {
        struct stat st;
        return stat(file.c_str(), &st) == 0;
    }

    // Writes interleaved frames as a WAV of the given subtype.
    void write_wav(const std::string& name, const std::vector<float>& frames, int channels,
                   int rate, int subtype, int major = SF_FORMAT_WAV) const {
        SF_INFO info{};
        info.channels = channels;
        info.samplerate = rate;
        info.format = major | subtype;
        SNDFILE* f = sf_open(path(name).c_str(), SFM_WRITE, &info);
        ASSERT_NE(f, nullptr);
        sf_writef_float(f, frames.data(), sf_count_t(frames.size() / std::size_t(channels)));
        sf_close(f);
    }

    struct Audio {
        int channels = 0, rate = 0, format = 0;
        std::vector<float> frames;
        std::vector<short> shorts;
    };
    Audio read(const std::string& name) const {
        SF_INFO info{};
        SNDFILE* f = sf_open(path(name).c_str(), SFM_READ, &info);
        Audio a;
        if (f == nullptr)
            return a;
        a.channels = info.channels;
        a.rate = info.samplerate;
        a.format = info.format;
        a.frames.resize(std::size_t(info.frames * info.channels));
        sf_readf_float(f, a.frames.data(), info.frames);
        sf_seek(f, 0, SEEK_SET);
        a.shorts.resize(a.frames.size());
        sf_readf_short(f, a.shorts.data(), info.frames);
        sf_close(f);
        return a;
    }

    std::string dir;
};

std::vector<float> impulse(int frames, int channels, float amplitude) {
    std::vector<float> v(std::size_t(frames * channels), 0.0f);
    for (int c = 0; c < channels; ++c)
        v[std::size_t(c)] = amplitude;
    return v;
}

} // namespace

TEST_F(CliTest, defaults_give_halving_echoes_every_16538_samples_in_float) {
    write_wav("in.wav", impulse(100, 2, 1.0f), 2, 44100, SF_FORMAT_FLOAT);
    const Outcome r = run("render " + path("in.wav") + " " + path("out.wav") + " --tail 1 --quiet");
    ASSERT_EQ(r.status, 0) << r.err;
    const Audio a = read("out.wav");
    ASSERT_EQ(a.channels, 2);
    EXPECT_EQ(a.format & SF_FORMAT_SUBMASK, SF_FORMAT_FLOAT);
    ASSERT_EQ(a.frames.size(), std::size_t(100 + 44100) * 2);
    for (std::size_t i = 0; i < a.frames.size() / 2; ++i) {
        const float expected = i == 0 ? 1.0f : i == 16538 ? 0.5f : i == 33076 ? 0.25f : 0.0f;
        ASSERT_EQ(a.frames[2 * i], expected) << i;
        ASSERT_EQ(a.frames[2 * i + 1], expected) << i;
    }
}

TEST_F(CliTest, sixteen_bit_stays_sixteen_bit_with_exact_echoes) {
    write_wav("in.wav", impulse(10, 2, 16384.0f / 32768.0f), 2, 44100, SF_FORMAT_PCM_16);
    const Outcome r = run("render " + path("in.wav") + " " + path("out.wav") + " --tail 1 --quiet");
    ASSERT_EQ(r.status, 0) << r.err;
    const Audio a = read("out.wav");
    EXPECT_EQ(a.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_16);
    ASSERT_GT(a.shorts.size(), std::size_t(33076 * 2 + 1));
    EXPECT_EQ(a.shorts[0], 16384);
    EXPECT_EQ(a.shorts[16538 * 2], 8192);
    EXPECT_EQ(a.shorts[16538 * 2 + 1], 8192);
    EXPECT_EQ(a.shorts[33076 * 2], 4096);
}

TEST_F(CliTest, a_mono_file_gives_a_stereo_file) {
    write_wav("in.wav", impulse(10, 1, 0.5f), 1, 48000, SF_FORMAT_FLOAT);
    const Outcome r =
        run("render " + path("in.wav") + " " + path("out.wav") + " --tail 0.5 --quiet");
    ASSERT_EQ(r.status, 0) << r.err;
    const Audio a = read("out.wav");
    EXPECT_EQ(a.channels, 2);
    EXPECT_EQ(a.rate, 48000);
    EXPECT_EQ(a.frames[0], 0.5f);
    EXPECT_EQ(a.frames[1], 0.5f);
}

TEST_F(CliTest, a_saved_state_reproduces_the_output_bit_for_bit) {
    write_wav("in.wav", impulse(2000, 2, 0.3f), 2, 44100, SF_FORMAT_FLOAT);
    Outcome r =
        run("render " + path("in.wav") + " " + path("a.wav") +
            " --preset 3 --set \"D1 fdbk=70\" --tail 2 --quiet --save-state " + path("state.bin"));
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream state(path("state.bin"), std::ios::binary | std::ios::ate);
    EXPECT_EQ(int(state.tellg()), 4116);
    r = run("render " + path("in.wav") + " " + path("b.wav") + " --state " + path("state.bin") +
            " --tail 2 --quiet");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read("a.wav").frames, read("b.wav").frames);
    // and differs from the defaults
    r = run("render " + path("in.wav") + " " + path("c.wav") + " --tail 2 --quiet");
    EXPECT_NE(read("a.wav").frames, read("c.wav").frames);
}

TEST_F(CliTest, without_feedback_only_the_dry_signal_remains) {
    const std::vector<float> in = test::noise_samples(44100 * 2);
    write_wav("in.wav", in, 2, 44100, SF_FORMAT_FLOAT);
    const Outcome r = run("render " + path("in.wav") + " " + path("out.wav") +
                          " --set \"D1 fdbk=0\" --tail 1 --quiet");
    ASSERT_EQ(r.status, 0) << r.err;
    const Audio a = read("out.wav");
    ASSERT_EQ(a.frames.size(), in.size() + 44100 * 2);
    for (std::size_t i = 0; i < a.frames.size(); ++i)
        ASSERT_EQ(a.frames[i], i < in.size() ? in[i] : 0.0f) << i;
}

namespace {

// The tab-separated fields of each line of a listing.
std::vector<std::vector<std::string>> rows(const std::string& listing) {
    std::vector<std::vector<std::string>> result;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        result.emplace_back();
        for (std::string field; std::getline(fields, field, '\t');)
            result.back().push_back(field);
    }
    return result;
}

// Whether a value typed back shows as it was shown. A frequency keeps five
// characters, cut rather than rounded, so it may come back one step of its
// last digit lower.
bool shows_alike(const std::string& shown, const std::string& back) {
    char* end = nullptr;
    const double value = std::strtod(shown.c_str(), &end);
    if (shown == back || end == shown.c_str() || *end != '\0')
        return shown == back;
    const std::size_t point = shown.find('.');
    const int decimals = point == std::string::npos ? 0 : int(shown.size() - point - 1);
    return std::abs(std::strtod(back.c_str(), nullptr) - value) < 1.01 * std::pow(10.0, -decimals);
}

} // namespace

// Each listed program is taken by index and by name, and its values, typed
// back with --set as params shows them (names in another case), show alike.
TEST_F(CliTest, presets_lists_programs_whose_shown_values_set_takes_back) {
    const auto programs = rows(run("presets").out);
    ASSERT_GT(programs.size(), 1u);
    std::set<std::string> listings;
    for (std::size_t i = 0; i < programs.size(); ++i) {
        ASSERT_EQ(programs[i].size(), 2u) << i;
        EXPECT_EQ(programs[i][0], std::to_string(i));
        const std::string shown = run("params --preset " + programs[i][0]).out;
        EXPECT_EQ(run("params --preset \"" + programs[i][1] + "\"").out, shown);
        const auto values = rows(shown);
        std::string typed = "params";
        for (auto row : values) {
            std::transform(row[1].begin(), row[1].end(), row[1].begin(),
                           [](unsigned char c) { return char(std::toupper(c)); });
            typed += " --set \"" + row[1] + "=" + row[2] + "\"";
        }
        const auto back = rows(run(typed).out);
        ASSERT_EQ(back.size(), values.size()) << programs[i][1];
        for (std::size_t p = 0; p < back.size(); ++p)
            EXPECT_TRUE(shows_alike(values[p][2], back[p][2])) << programs[i][1] << values[p][1];
        listings.insert(shown);
    }
    EXPECT_EQ(listings.size(), programs.size()) << "two programs hold the same values";
}

// "# N<tab>NAME" and the program's lines as params lists them, a blank line
// between programs.
TEST_F(CliTest, bank_dump_shows_each_program_of_the_file_as_params_reads_it) {
    const std::string bank = path("defaults.pbk"), program = " --program ";
    ASSERT_EQ(run("bank defaults " + bank).status, 0);
    const std::string dump = run("bank dump " + bank).out;
    std::string expected;
    int n = 0;
    for (const auto& row : rows(dump)) {
        if (row.size() == 2 && row[0] == "# " + std::to_string(n)) {
            expected += (n > 0 ? "\n" : "") + row[0] + "\t" + row[1] + "\n" +
                        run("params --bank " + bank + program + std::to_string(n)).out;
            ++n;
        }
    }
    EXPECT_GT(n, 1);
    EXPECT_EQ(dump, expected);
}

TEST_F(CliTest, render_help_lists_only_options_render_takes) {
    const Outcome help = run("render --help");
    ASSERT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    int options = 0;
    for (const auto& row : rows(help.out)) {
        if (row.empty() || row[0].rfind("  --", 0) != 0)
            continue;
        const Outcome r = run("render " + row[0].substr(2, row[0].find(' ', 2) - 2));
        EXPECT_EQ(r.status, 2) << row[0];
        EXPECT_EQ(r.err.find("unknown option"), std::string::npos) << r.err;
        ++options;
    }
    EXPECT_GT(options, 10);
}

// Start-up is part of the product: a command loads the libraries its work
// needs and no others (the dynamic loader names every file it opens).
TEST_F(CliTest, each_command_loads_only_the_libraries_it_uses) {
    write_wav("in.wav", std::vector<float>(200, 0.1f), 2, 44100, SF_FORMAT_FLOAT);
    ASSERT_EQ(run("bank defaults " + path("b.pbk")).status, 0);
    struct Case {
        std::string args;
        std::vector<std::string> loaded, not_loaded;
    };
    const std::vector<std::string> everything = {"libsndfile", "libX11", "libportaudio",
                                                 "libpng16"};
    const Case cases[] = {
        {"--version", {}, everything},
        {"presets", {}, everything},
        {"params --set \"D1 fdbk=25\"", {}, everything},
        {"bank dump " + path("b.pbk"), {}, everything},
        {"render " + path("in.wav") + " " + path("out.wav"),
         {"libsndfile"},
         {"libX11", "libportaudio", "libpng16"}},
        {"screenshot " + path("s.png"), {"libpng16"}, {"libsndfile"}},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.args, "LD_DEBUG=files ");
        ASSERT_EQ(r.status, 0) << c.args << ": " << r.err;
        for (const std::string& lib : c.loaded)
            EXPECT_NE(r.err.find("file=" + lib), std::string::npos) << c.args << " " << lib;
        for (const std::string& lib : c.not_loaded)
            EXPECT_EQ(r.err.find("file=" + lib), std::string::npos) << c.args << " " << lib;
    }
}

TEST_F(CliTest, errors_name_the_problem_and_leave_no_output) {
    std::vector<float> six(100 * 6, 0.1f);
    write_wav("six.wav", six, 6, 44100, SF_FORMAT_FLOAT);
    write_wav("in.wav", impulse(100, 2, 0.5f), 2, 44100, SF_FORMAT_FLOAT);
    write_wav("fast.wav", impulse(100, 2, 0.5f), 2, 3000000, SF_FORMAT_FLOAT);
    {
        std::ofstream junk(path("junk.pbk"));
        junk << "this is no bank";
    }
    const std::string in = path("in.wav"), out = path("out.wav");
    struct Case {
        std::string args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {"render " + path("six.wav") + " " + out, 2,
         "six.wav: 6 channels; Quevrin takes mono or stereo"},
        {"render " + path("fast.wav") + " " + out, 2, "fast.wav: Quevrin cannot run at 3000000 Hz"},
        {"render " + path("missing.wav") + " " + out, 2, "missing.wav: "},
        {"render " + in + " " + path("out.mp9"), 2, "unknown output format"},
        {"render " + in + " " + out + " --preset Nonsense", 2, "no preset is named"},
        {"render " + in + " " + out + " --preset 99", 2, "there are 34 presets"},
        {"render " + in + " " + out + " --bank " + path("junk.pbk") + " --program 0", 2,
         "junk.pbk: is not a Quevrin bank file"},
        {"render " + in + " " + out + " --bank " + path("none.pbk") + " --program 0", 2,
         "none.pbk: no such file"},
        {"render " + in + " " + out + " --bank " + path("junk.pbk"), 2, "go together"},
        {"render " + in + " " + out + " --state " + path("junk.pbk"), 2,
         "not a saved Quevrin state"},
        {"render " + in + " " + out + " --set \"D9 fdbk=3\"", 2, "no parameter is named"},
        {"render " + in + " " + out + " --set \"D1 filt type=Notch\"", 2,
         "D1 filt type: \"Notch\" is not a value it takes"},
        {"render " + in + " " + out + " --set-normalized 121=0.5", 2, "there are 121"},
        {"render " + in + " " + out + " --tempo -3", 2, "--tempo"},
        {"render " + in + " " + out + " --frobnicate", 2, "unknown option"},
        {"render", 2, "needs an OUTPUT"},
        {"fly", 2, "unknown command"},
        {"render " + in + " " + out + " --focus \"D1 time\"", 2, "only with screenshot"},
        {"render " + in + " " + out + " --scale 2", 2, "only with screenshot and editor"},
        {"render " + in + " " + out + " --module " + path("nothing.so"), 1,
         "cannot load the plug-in module"},
        {"render " + in + " /nonexistent-dir/out.wav", 2, "out.wav"},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(exists(out)) << c.args;
    }
    // Nothing half-written is left in the folder either.
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos)
            << entry.path();
}

namespace {

std::string contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool leaves_no_part_file(const std::string& dir) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        if (entry.path().filename().string().find(".part") != std::string::npos)
            return false;
    return true;
}

} // namespace

TEST_F(CliTest, no_command_destroys_a_file_it_was_not_asked_to_write) {
    write_wav("in.wav", impulse(100, 2, 0.5f), 2, 44100, SF_FORMAT_FLOAT);
    write_wav("old.wav", impulse(50, 2, 0.25f), 2, 44100, SF_FORMAT_FLOAT);
    ASSERT_EQ(link(path("in.wav").c_str(), path("hard.wav").c_str()), 0);
    const std::string in = path("in.wav"), old = path("old.wav");
    const std::string in_bytes = contents(in), old_bytes = contents(old);
    struct Case {
        std::string args;
        std::string message;
    };
    const Case cases[] = {
        {"render " + in, "in.wav: exists and would be overwritten; write quevrin render"},
        {"render " + in + " " + old + " --save-state " + in, "same file as the input"},
        {"render " + in + " " + old + " --save-state " + old, "same file as the output"},
        {"render " + in + " " + path("hard.wav"), "same file as the input"},
        {"render " + in + " " + dir + "/./in.wav", "same file as the input"},
        {"render " + in + " " + old + " --state " + in, "same file as the input"},
        {"render " + in + " " + old + " --save-state " + path("nowhere/s.bin"),
         "s.bin: cannot be written; its folder does not exist"},
        {"render " + in + " " + path("new.wav") + " --save-state " + path("nowhere/s.bin"),
         "its folder does not exist"},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.args + " --tail 0.1");
        EXPECT_EQ(r.status, 2) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_EQ(contents(in), in_bytes) << c.args;
        EXPECT_EQ(contents(old), old_bytes) << c.args;
        EXPECT_FALSE(exists(path("new.wav"))) << c.args;
    }
    EXPECT_TRUE(leaves_no_part_file(dir));
    // The demo phrase is asked for by name.
    const Outcome r = run("render --demo " + path("demo.wav") + " --quiet");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read("demo.wav").rate, 44100);
}

TEST_F(CliTest, outputs_through_links_fifos_devices_and_standard_output) {
    write_wav("in.wav", impulse(100, 2, 0.5f), 2, 44100, SF_FORMAT_PCM_16);
    const std::string in = path("in.wav");
    const std::size_t expected = (100 + 4410) * 2;
    ASSERT_EQ(symlink("target.wav", path("link.wav").c_str()), 0);
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    struct Case {
        std::string args, before, after, result;
    };
    const Case cases[] = {
        {path("link.wav"), "", "", "target.wav"},
        {"- --type wav", "", "", "stdout.txt"},
        {"- --type aiff", "", "", "stdout.txt"},
        {path("fifo") + " --type flac", "cat " + path("fifo") + " >" + path("got.flac") + " & ",
         "; wait", "got.flac"},
        {"/dev/null --type ogg", "", "", ""},
    };
    for (const Case& c : cases) {
        const Outcome r =
            run("render " + in + " " + c.args + " --tail 0.1 --quiet", c.before, c.after);
        ASSERT_EQ(r.status, 0) << c.args << "\n" << r.err;
        if (!c.result.empty()) {
            EXPECT_EQ(read(c.result).shorts.size(), expected) << c.args;
        }
    }
    struct stat st;
    ASSERT_EQ(lstat(path("link.wav").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat(path("fifo").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_TRUE(leaves_no_part_file(dir));
}

TEST_F(CliTest, a_signal_removes_the_temporary_file_and_keeps_the_old_output) {
    write_wav("out.wav", impulse(50, 2, 0.25f), 2, 44100, SF_FORMAT_FLOAT);
    const std::string old = contents(path("out.wav"));
    ASSERT_EQ(mkfifo(path("in.fifo").c_str(), 0600), 0);
    for (const int signo : {SIGINT, SIGTERM, SIGHUP}) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            execl(QUEVRIN_CLI_PATH, "quevrin", "render", path("in.fifo").c_str(),
                  path("out.wav").c_str(), "--quiet", static_cast<char*>(nullptr));
            _exit(127);
        }
        // The program holds its temporary output while it waits for the
        // input, which never ends: the writer stays open.
        const int writer = open(path("in.fifo").c_str(), O_WRONLY);
        ASSERT_GE(writer, 0);
        const std::string part = path(".out.wav.part" + std::to_string(pid));
        for (int i = 0; i < 500 && !exists(part); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_TRUE(exists(part));
        kill(pid, signo);
        int status = 0;
        waitpid(pid, &status, 0);
        close(writer);
        ASSERT_TRUE(WIFEXITED(status)) << signo;
        EXPECT_EQ(WEXITSTATUS(status), 128 + signo);
        EXPECT_FALSE(exists(part)) << signo;
        EXPECT_EQ(contents(path("out.wav")), old) << signo;
    }
}

TEST_F(CliTest, streamed_input_is_read_to_its_end_and_keeps_its_tail) {
    const std::vector<float> in = test::noise_samples(30000 * 2);
    write_wav("in.wav", in, 2, 44100, SF_FORMAT_FLOAT);
    write_wav("in.flac", in, 2, 44100, SF_FORMAT_PCM_16, SF_FORMAT_FLAC);
    write_wav("in.ogg", in, 2, 44100, SF_FORMAT_VORBIS, SF_FORMAT_OGG);
    // A WAV written as a stream, its sizes unknown.
    std::string unsized = contents(path("in.wav"));
    for (const char* chunk : {"RIFF", "data"})
        unsized.replace(unsized.find(chunk) + 4, 4, "\xff\xff\xff\xff");
    std::ofstream(path("unsized.wav"), std::ios::binary) << unsized;
    for (const char* name : {"in.wav", "in.flac", "in.ogg", "unsized.wav"}) {
        const Outcome r =
            run("render - " + path("out.wav") + " --tail 0.5", "cat " + path(name) + " | ");
        ASSERT_EQ(r.status, 0) << name << "\n" << r.err;
        EXPECT_NE(r.err.find("-: 0.68 s in, 1.18 s out"), std::string::npos) << name << r.err;
        EXPECT_EQ(read("out.wav").frames.size(), std::size_t(30000 + 22050) * 2) << name;
    }
}

TEST_F(CliTest, the_tail_ends_after_the_last_audible_sample) {
    write_wav("float.wav", impulse(100, 2, 1.0f), 2, 44100, SF_FORMAT_FLOAT);
    write_wav("short.wav", impulse(100, 2, 0.5f), 2, 44100, SF_FORMAT_PCM_16);
    // Quiet enough for the dub echo's tail to fall below -120 dBFS within 15 s.
    write_wav("noise.wav", test::noise_samples(44100 * 2, 0.1f), 2, 44100, SF_FORMAT_FLOAT);
    struct Case {
        std::string input, options;
    };
    const Case cases[] = {
        {"float.wav", ""},
        {"short.wav", ""},
        {"noise.wav", "--set \"D1 fdbk=0\""},
        {"noise.wav", "--preset 10"},
    };
    for (const Case& c : cases) {
        const std::string args = "render " + path(c.input) + " " + c.options + " --quiet ";
        Outcome r = run(args + path("full.wav") + " --tail 15");
        ASSERT_EQ(r.status, 0) << r.err;
        r = run(args + path("auto.wav"));
        ASSERT_EQ(r.status, 0) << r.err;
        const Audio full = read("full.wav"), trimmed = read("auto.wav");
        const bool pcm = (full.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16;
        // The independent reading of "audible": the last frame of the full
        // render above -120 dBFS (16-bit: not 0), but never inside the input.
        std::size_t last = read(c.input).frames.size();
        for (std::size_t i = last; i < full.frames.size(); ++i)
            if (pcm ? full.shorts[i] != 0 : std::abs(full.frames[i]) > 1e-6f)
                last = i + 1;
        last = (last + 1) / 2 * 2;
        ASSERT_LT(last, full.frames.size()) << c.input << c.options;
        ASSERT_EQ(trimmed.frames.size(), last) << c.input << c.options;
        EXPECT_TRUE(std::equal(trimmed.frames.begin(), trimmed.frames.end(), full.frames.begin()))
            << c.input << c.options;
    }
    // full: all the filter renders, its last piece reaching past 15 s.
    ASSERT_EQ(run("render " + path("float.wav") + " " + path("x.wav") + " --tail full").status, 0);
    EXPECT_GT(read("x.wav").frames.size(), std::size_t(100 + 15 * 44100) * 2);
    const Outcome r = run("render " + path("float.wav") + " " + path("x.wav") + " --tail 16");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--tail takes at most 15 seconds"), std::string::npos) << r.err;
}

TEST_F(CliTest, timed_changes_take_effect_exactly_at_their_frame) {
    // 25600 frames a second: one second is exactly 100 control blocks of 256.
    write_wav("in.wav", test::noise_samples(51200 * 2), 2, 25600, SF_FORMAT_FLOAT);
    const std::string args =
        "render " + path("in.wav") + " --set \"D1 fdbk=0\" --tail 0 --quiet --buffer-frames 1000 ";
    ASSERT_EQ(run(args + path("plain.wav")).status, 0);
    const Audio plain = read("plain.wav");
    struct Case {
        std::string change;
        std::size_t frame;
    };
    const Case cases[] = {
        {"--at 1 \"Predly lvl=-oo\"", 25600},
        {"--at 0.5 preset=9", 12800},
        {"--at 1.5 \"preset=Slapback\"", 38400},
    };
    for (const Case& c : cases) {
        const Outcome r = run(args + path("timed.wav") + " " + c.change);
        ASSERT_EQ(r.status, 0) << c.change << "\n" << r.err;
        const Audio timed = read("timed.wav");
        ASSERT_EQ(timed.frames.size(), plain.frames.size());
        const auto first =
            std::mismatch(timed.frames.begin(), timed.frames.end(), plain.frames.begin()).first;
        const std::size_t frame = std::size_t(first - timed.frames.begin()) / 2;
        EXPECT_GE(frame, c.frame) << c.change;
        EXPECT_LT(frame, c.frame + 256) << c.change;
    }
}

TEST_F(CliTest, mistakes_get_one_sentence_and_status_2) {
    write_wav("in.wav", impulse(100, 2, 0.5f), 2, 44100, SF_FORMAT_FLOAT);
    Outcome r = run("bank defaults " + path("bank.pbk"));
    ASSERT_EQ(r.status, 0) << r.err;
    std::string bank = contents(path("bank.pbk"));
    bank[8] = '\xff'; // the program count
    std::ofstream(path("damaged.pbk"), std::ios::binary) << bank;
    std::filesystem::create_directory(path("folder"));
    const std::string in = path("in.wav"), out = path("out.wav");
    struct Case {
        std::string args, message;
    };
    const Case cases[] = {
        {"render " + in + " " + out + " --state " + path("folder"), "folder: is a folder"},
        {"render " + path("folder") + " " + out, "folder: is a folder"},
        {"render " + path("missing.wav") + " " + out, "missing.wav: no such file"},
        {"render " + in + " " + out + " --buffer-frames 1000000000",
         "--buffer-frames takes a whole number of frames from 1 to 1048576"},
        {"render " + in + " " + out + " --allocator-frames 100000000", "--allocator-frames takes"},
        {"bank dump " + path("damaged.pbk"), "damaged.pbk: holds no programs"},
        {"render " + in + " " + out + " --bank " + path("damaged.pbk") + " --program 0",
         "damaged.pbk: holds no programs"},
        {"render " + in + " " + out + " --set-normalized abc", "needs INDEX=VALUE"},
        {"render " + in + " " + out + " --set-normalized -1=0.5", "needs an index"},
        {"render " + in + " " + out + " --set-normalized 999999999999=0.5", "0 to 120"},
        {"render " + in + " " + out + " --state " + path("bank.pbk") + " --preset 1",
         "cannot go with --preset or --bank"},
        {"render " + in + " - ", "unknown output format"},
        {"render " + in + " " + out + " --at 1 preset=99", "--at takes 0 to 33"},
        {"render " + in + " " + out + " --at 1 \"D1 fdbk=lots\"", "not a value it takes"},
        {"screenshot " + path("shot.jpg"), "shot.jpg: a screenshot is written as PNG"},
        {"screenshot " + path("shot.png") + " --focus \"\"", "--focus needs the name"},
        {"render " + in + " " + out + " --latency 20", "go only with editor"},
        {"editor --latency 0.5", "--latency takes 1 to 1000 milliseconds"},
        {"render " + in + " /dev/full --type wav",
         "/dev/full: cannot be written completely; the disk is full"},
    };
    for (const Case& c : cases) {
        r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(exists(out)) << c.args;
    }
}

TEST_F(CliTest, values_the_parameters_change_are_warned_about) {
    struct Case {
        std::string args, warning, line;
    };
    const Case cases[] = {
        {"--set \"D1 fdbk=150\"", "D1 fdbk: 150 is out of range; the value is 100.0 %",
         "64\tD1 fdbk\t100.0"},
        {"--set Tempo=-5", "Tempo: -5 is out of range", "1\tTempo\t60.000"},
        {"--set Tempo=120abc", "Tempo: \"abc\" in \"120abc\" was ignored", "1\tTempo\t120.000"},
        {"--set Tempo=1e9", "Tempo: 1e9 is out of range", "1\tTempo\t240.000"},
        {"--tempo 1e9", "Tempo: 1e9 is out of range", "1\tTempo\t240.000"},
        {"--set \"D1 fdbk=100\"", "", "64\tD1 fdbk\t100.0"},
        {"--set \"Tempo=96 BPM\"", "", "1\tTempo\t96.000"},
        {"--set \"D1 time=3/8\"", "", "60\tD1 time\t3/8"},
        {"--set \"D1 filt type=low-pass\"", "", "68\tD1 filt type\tLow-pass"},
    };
    for (const Case& c : cases) {
        const Outcome r = run("params " + c.args);
        ASSERT_EQ(r.status, 0) << c.args << "\n" << r.err;
        EXPECT_NE(r.out.find(c.line), std::string::npos) << c.args;
        if (c.warning.empty()) {
            EXPECT_EQ(r.err, "") << c.args;
        } else {
            EXPECT_NE(r.err.find("warning: " + c.warning), std::string::npos) << c.args << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        }
    }
    // A program that holds its loop from the start holds only silence.
    write_wav("in.wav", impulse(100, 2, 0.5f), 2, 44100, SF_FORMAT_FLOAT);
    const Outcome r = run("render " + path("in.wav") + " " + path("out.wav") +
                          " --quiet --tail 0 --at 0 \"Flags=BT 1 SL\"");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("holds its loop"), std::string::npos) << r.err;
}

namespace {

// Width and height from a PNG's header, or 0 x 0 when it is not one.
std::pair<int, int> png_size(const std::string& bytes) {
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0)
        return {0, 0};
    const auto be = [&](std::size_t o) {
        return int(std::uint8_t(bytes[o])) << 24 | int(std::uint8_t(bytes[o + 1])) << 16 |
               int(std::uint8_t(bytes[o + 2])) << 8 | int(std::uint8_t(bytes[o + 3]));
    };
    return {be(16), be(20)};
}

TEST_F(CliTest, screenshots_show_the_program_and_the_focused_panel_at_each_scale) {
    struct Case {
        std::string args;
        int status;
        std::string message; // on stderr; empty for a picture
        int width = 500, height = 422;
        std::string before = "";
    };
    const Case cases[] = {
        {"", 0, ""},
        {"--preset \"Ambient wash\" --focus \"D2 time\"", 0, ""},
        {"--focus \"D1 time\"", 0, ""},
        {"--focus Flags", 2, "has no control of its own"},
        {"--focus \"D9 time\"", 2, "no parameter is named"},
        {"--scale 2", 0, "", 1000, 844},
        {"--scale 1.5 --focus \"D1 time\"", 0, "", 750, 633},
        // The desktop's scale is for windows; a screenshot is at 1 unless told.
        {"", 0, "", 500, 422, "QUEVRIN_SCALE=2 "},
        {"--scale 3", 2, "--scale needs 1, 1.5 or 2"},
    };
    std::vector<std::string> pictures;
    for (const Case& c : cases) {
        const std::string out = path("editor.png");
        std::remove(out.c_str());
        const Outcome r = run("screenshot " + out + " " + c.args, c.before);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        if (c.status != 0) {
            EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
            EXPECT_FALSE(exists(out));
            continue;
        }
        std::ifstream in(out, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(png_size(bytes), std::make_pair(c.width, c.height)) << c.args;
        pictures.push_back(bytes);
    }
    // The program and the focus show: every picture differs, but the one
    // asked for at scale 1 is the default one.
    ASSERT_EQ(pictures.size(), 6u);
    for (std::size_t i = 0; i < 5; ++i)
        for (std::size_t j = i + 1; j < 5; ++j)
            EXPECT_NE(pictures[i], pictures[j]) << i << " and " << j;
    EXPECT_EQ(pictures[5], pictures[0]);
}

} // namespace

TEST_F(CliTest, a_render_goes_on_from_the_state_it_saves_into_and_counts_what_it_clips) {
    const std::string state = path("state.bin");
    // Loud 16-bit noise clips where the echoes add up; quiet noise does not.
    std::vector<float> loud = test::noise_samples(20000 * 2);
    for (float& v : loud)
        v *= 1.9f;
    write_wav("loud.wav", loud, 2, 44100, SF_FORMAT_PCM_16);
    write_wav("quiet.wav", test::noise_samples(20000 * 2), 2, 44100, SF_FORMAT_PCM_16);
    Outcome r = run("render " + path("quiet.wav") + " " + path("quiet-out.wav") +
                    " --quiet --set \"D1 fdbk=37\" --save-state " + state);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    r = run("render " + path("loud.wav") + " " + path("out.wav") + " --quiet --state " + state +
            " --save-state " + state + " --set \"D1 time=3/8\"");
    ASSERT_EQ(r.status, 0) << r.err;
    r = run("params --state " + state);
    EXPECT_NE(r.out.find("64\tD1 fdbk\t37.0"), std::string::npos) << "the state read first";
    EXPECT_NE(r.out.find("60\tD1 time\t3/8"), std::string::npos) << "the change saved over it";

    const Audio out = read("out.wav");
    const auto at_full_scale = std::count_if(out.shorts.begin(), out.shorts.end(),
                                             [](short v) { return v == 32767 || v == -32768; });
    ASSERT_GT(at_full_scale, 0);
    r = run("render " + path("loud.wav") + " " + path("out.wav") + " --quiet --state " + state);
    EXPECT_NE(r.err.find("warning: " + std::to_string(at_full_scale) +
                         " samples of the 16-bit output were clipped"),
              std::string::npos)
        << r.err;
}
