// The quevrin program end to end: real files through the real executable and
// the plug-in module beside it.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
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

    Outcome run(const std::string& args) const {
        const std::string out = path("stdout.txt"), err = path("stderr.txt");
        const std::string command =
            std::string(QUEVRIN_CLI_PATH) + " " + args + " >" + out + " 2>" + err;
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
                   int rate, int subtype) const {
        SF_INFO info{};
        info.channels = channels;
        info.samplerate = rate;
        info.format = SF_FORMAT_WAV | subtype;
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
    std::vector<float> in(44100 * 2);
    for (std::size_t i = 0; i < in.size(); ++i)
        in[i] = float((i * 7919) % 1000) / 1000.0f - 0.5f;
    write_wav("in.wav", in, 2, 44100, SF_FORMAT_FLOAT);
    const Outcome r = run("render " + path("in.wav") + " " + path("out.wav") +
                          " --set \"D1 fdbk=0\" --tail 1 --quiet");
    ASSERT_EQ(r.status, 0) << r.err;
    const Audio a = read("out.wav");
    ASSERT_EQ(a.frames.size(), in.size() + 44100 * 2);
    for (std::size_t i = 0; i < a.frames.size(); ++i)
        ASSERT_EQ(a.frames[i], i < in.size() ? in[i] : 0.0f) << i;
}

TEST_F(CliTest, listings) {
    Outcome r = run("presets");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 34);
    EXPECT_NE(r.out.find("\tPing-pong delay - 3/4 beat\n"), std::string::npos);

    r = run("params --set \"d1 FDBK=25\" --tempo 500");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 121);
    EXPECT_NE(r.out.find("0\tFlags\tBT 1\t\t0.250000\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("1\tTempo\t125.000\tBPM\t0.361111\n"), std::string::npos);
    EXPECT_NE(r.out.find("64\tD1 fdbk\t25.0\t%\t0.250000\n"), std::string::npos);
    EXPECT_NE(r.out.find("68\tD1 filt type\tResonator\t\t0.666667\n"), std::string::npos);

    r = run("bank defaults " + path("defaults.pbk"));
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream bank(path("defaults.pbk"), std::ios::binary | std::ios::ate);
    EXPECT_EQ(int(bank.tellg()), 4496);
    r = run("bank dump " + path("defaults.pbk"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 8 * 122 + 7);

    EXPECT_EQ(run("--version").status, 0);
    r = run("render --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("--preset"), std::string::npos);
}

TEST_F(CliTest, errors_name_the_problem_and_leave_no_output) {
    std::vector<float> six(100 * 6, 0.1f);
    write_wav("six.wav", six, 6, 44100, SF_FORMAT_FLOAT);
    write_wav("in.wav", impulse(100, 2, 0.5f), 2, 44100, SF_FORMAT_FLOAT);
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
        {"render " + path("missing.wav") + " " + out, 2, "missing.wav: "},
        {"render " + in + " " + path("out.mp9"), 2, "unknown output format"},
        {"render " + in + " " + out + " --preset Nonsense", 2, "no preset is named"},
        {"render " + in + " " + out + " --preset 99", 2, "there are 34 presets"},
        {"render " + in + " " + out + " --bank " + path("junk.pbk") + " --program 0", 2,
         "junk.pbk: is not a Quevrin bank file"},
        {"render " + in + " " + out + " --bank " + path("none.pbk") + " --program 0", 2,
         "none.pbk: cannot be opened"},
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
