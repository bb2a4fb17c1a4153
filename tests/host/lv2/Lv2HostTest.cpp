// The plug-in as LV2 hosts load it, through lilv: state saved and restored
// into a second instance renders the same, every preset loads exactly, bad
// state is refused or sanitized, the host's tempo arrives and malformed time
// events are passed over, sample rates are taken up to the engine's limit,
// run() never allocates, and lv2apply renders what `quevrin render` renders.
#include "effect/SampleRateLimit.h"
#include "host/lv2/QuevrinLv2.h"
#include "mppi/preset/BankFile.h"
#include "mppi/preset/BankManager.h"
#include "support/AllocationCounter.h"
#include "support/AtomImage.h"
#include "support/GuardedBytes.h"
#include "support/LilvHost.h"
#include "sys/Resource.h"

#include <gtest/gtest.h>
#include <lv2/presets/presets.h>
#include <lv2/state/state.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <unistd.h>

namespace {

constexpr const char* uri = "urn:vantrel:quevrin";
constexpr double rate = 48000.0;

struct Signal {
    std::vector<float> left;
    std::vector<float> right;
};

// A decaying tone on the left, noise on the right, then silence for the echoes.
Signal test_signal(std::size_t frames) {
    Signal s{std::vector<float>(frames), std::vector<float>(frames)};
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> noise(-0.3f, 0.3f);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double env = t < 0.25 ? std::exp(-t * 6.0) : 0.0;
        s.left[i] = static_cast<float>(0.5 * env * std::sin(2.0 * M_PI * 440.0 * t));
        s.right[i] = static_cast<float>(env) * noise(rng);
    }
    return s;
}

class Lv2Host : public ::testing::Test {
protected:
    Lv2Host() : host_({QUEVRIN_LV2_BUNDLE}), plugin_(host_.plugin(uri)) {}

    std::unique_ptr<Lv2Runner> make() {
        auto r = std::make_unique<Lv2Runner>(host_, plugin_, rate, 4096);
        EXPECT_NE(r->instance(), nullptr);
        return r;
    }

    const LV2_State_Interface* state_of(Lv2Runner& r) {
        return static_cast<const LV2_State_Interface*>(
            lilv_instance_get_extension_data(r.instance(), LV2_STATE__interface));
    }

    // The program record the instance saves.
    mppi::ProgramSlot saved_program(Lv2Runner& r) {
        std::vector<unsigned char> blob;
        auto store = [](LV2_State_Handle h, uint32_t, const void* value, size_t size, uint32_t,
                        uint32_t) {
            auto* b = static_cast<std::vector<unsigned char>*>(h);
            const auto* p = static_cast<const unsigned char*>(value);
            b->assign(p, p + size);
            return LV2_STATE_SUCCESS;
        };
        EXPECT_EQ(state_of(r)->save(lilv_instance_get_handle(r.instance()), store, &blob, 0,
                                    host_.features()),
                  LV2_STATE_SUCCESS);
        mppi::ProgramSlot program;
        EXPECT_EQ(program.read(blob.data(), static_cast<int>(blob.size())), 0);
        return program;
    }

    void render(Lv2Runner& r, const Signal& in, Signal& out, std::uint32_t block = 512) {
        r.render(in.left, in.right, out.left, out.right, block);
    }

    LilvHost host_;
    const LilvPlugin* plugin_;
};

TEST_F(Lv2Host, a_saved_state_restored_into_a_second_instance_renders_the_same) {
    ASSERT_NE(plugin_, nullptr);
    auto a = make();
    *a->control("d1_time") = 0.5f;
    *a->control("d1_fdbk") = 72.5f;
    *a->control("d1_filt_type") = 0.0f;
    *a->control("d1_filt_cutoff_lfo_depth") = 40.0f;
    *a->control("tap_2_level") = -6.0f;
    a->queue_tempo(97.0f);
    const Signal in = test_signal(48000);
    Signal first;
    render(*a, in, first);

    // Through Turtle text and back, as a session file holds it.
    LilvState* saved = lilv_state_new_from_instance(
        plugin_, a->instance(), host_.urid_map(), nullptr, nullptr, nullptr, nullptr,
        Lv2Runner::get_port_value, a.get(), 0, host_.features());
    ASSERT_NE(saved, nullptr);
    char* text = lilv_state_to_string(host_.world(), host_.urid_map(), host_.urid_unmap(), saved,
                                      "urn:vantrel:quevrin:test-state", nullptr);
    LilvState* loaded = lilv_state_new_from_string(host_.world(), host_.urid_map(), text);
    ASSERT_NE(loaded, nullptr);
    char* again = lilv_state_to_string(host_.world(), host_.urid_map(), host_.urid_unmap(), loaded,
                                       "urn:vantrel:quevrin:test-state", nullptr);
    EXPECT_STREQ(text, again);
    lilv_free(again);

    auto b = make();
    lilv_state_restore(loaded, b->instance(), Lv2Runner::set_port_value, b.get(), 0,
                       host_.features());
    // The tempo is the host's, not the session's: the host sends it again.
    b->queue_tempo(97.0f);
    render(*b, in, first);
    const mppi::ProgramSlot pa = saved_program(*a);
    const mppi::ProgramSlot pb = saved_program(*b);
    EXPECT_EQ(pa.values(), pb.values());
    EXPECT_EQ(pa.get_prog_name(), pb.get_prog_name());

    // Both settled on the same history (parameter glides ended): they start
    // afresh and render the same input bit for bit.
    for (Lv2Runner* r : {a.get(), b.get()}) {
        lilv_instance_deactivate(r->instance());
        lilv_instance_activate(r->instance());
    }
    Signal out_a;
    Signal out_b;
    render(*a, in, out_a);
    render(*b, in, out_b);
    EXPECT_EQ(out_a.left, out_b.left);
    EXPECT_EQ(out_a.right, out_b.right);
    EXPECT_NE(out_a.left, in.left);

    // At another block size only the filters' 1e-20 denormal guards, added to
    // the first sample of each pair in a block, may move.
    lilv_instance_deactivate(b->instance());
    lilv_instance_activate(b->instance());
    render(*b, in, out_b, 333);
    for (std::size_t i = 0; i < in.left.size(); ++i) {
        ASSERT_NEAR(out_b.left[i], out_a.left[i], 1e-15) << i;
        ASSERT_NEAR(out_b.right[i], out_a.right[i], 1e-15) << i;
    }

    lilv_free(text);
    lilv_state_free(saved);
    lilv_state_free(loaded);
}

TEST_F(Lv2Host, every_preset_loads_the_static_preset_exactly) {
    std::size_t size = 0;
    const void* data = sys::get_ressource("VNPB", "static_presets", &size);
    mppi::BankManager bank;
    ASSERT_EQ(mppi::load_bank_memory(data, size, bank, false), mppi::bank_ok);

    LilvNode* preset_class = lilv_new_uri(host_.world(), LV2_PRESETS__Preset);
    LilvNodes* presets = lilv_plugin_get_related(plugin_, preset_class);
    ASSERT_EQ(lilv_nodes_size(presets), static_cast<unsigned>(bank.get_nbr_progs()));
    auto r = make();
    LILV_FOREACH(nodes, i, presets) {
        const LilvNode* preset = lilv_nodes_get(presets, i);
        lilv_world_load_resource(host_.world(), preset);
        LilvState* state = lilv_state_new_from_world(host_.world(), host_.urid_map(), preset);
        ASSERT_NE(state, nullptr);
        lilv_state_restore(state, r->instance(), Lv2Runner::set_port_value, r.get(), 0,
                           host_.features());
        // A run applies the port values the host wrote: they must change nothing.
        Signal in = test_signal(64);
        Signal out;
        render(*r, in, out);
        const mppi::ProgramSlot got = saved_program(*r);
        bool found = false;
        for (int p = 0; p < bank.get_nbr_progs(); ++p) {
            const mppi::ProgramSlot& want = bank.use_prog(p);
            if (want.get_prog_name() == lilv_state_get_label(state)) {
                found = true;
                EXPECT_EQ(got.get_prog_name(), want.get_prog_name());
                // The tempo follows the host; every other value is the preset's.
                for (int k = 0; k < 121; ++k) {
                    EXPECT_EQ(got.get_value(k), want.get_value(k))
                        << want.get_prog_name() << ", parameter " << k;
                }
            }
        }
        EXPECT_TRUE(found) << lilv_state_get_label(state);
        lilv_state_free(state);
    }
    lilv_nodes_free(presets);
    lilv_node_free(preset_class);
}

TEST_F(Lv2Host, bad_state_is_refused_or_sanitized_and_never_crashes) {
    auto r = make();
    *r->control("d1_fdbk") = 30.0f;
    Signal in = test_signal(64);
    Signal out;
    render(*r, in, out);
    const mppi::ProgramSlot before = saved_program(*r);
    std::vector<unsigned char> good(static_cast<std::size_t>(before.get_size()));
    ASSERT_EQ(before.write(good.data()), 0);

    struct Stored {
        const unsigned char* bytes; // null: no such property
        std::size_t size;
        uint32_t type;
    };
    const uint32_t chunk = host_.map(LV2_ATOM__Chunk);
    const uint32_t string = host_.map(LV2_ATOM__String);

    // A record whose values are all NaN but two: the feedback of line 1
    // (index 64) and its LFO period, out of range (limited to 1).
    mppi::ProgramSlot nan_program = before;
    for (int k = 0; k < 121; ++k) {
        nan_program.set_value(k, std::numeric_limits<float>::quiet_NaN());
    }
    nan_program.set_value(64, 0.25f);
    nan_program.set_value(65, 7.0f);
    std::vector<unsigned char> nan_bytes(static_cast<std::size_t>(nan_program.get_size()));
    nan_program.write(nan_bytes.data());
    // A record holding only three values.
    mppi::ProgramSlot short_program = before;
    short_program.set_nbr_values(3);
    short_program.set_value(2, 0.5f);
    std::vector<unsigned char> short_bytes(static_cast<std::size_t>(short_program.get_size()));
    short_program.write(short_bytes.data());

    struct Case {
        const char* what;
        Stored stored;
        LV2_State_Status status;
        std::vector<std::pair<int, float>> changed; // index, expected normalized
    };
    std::vector<Case> cases;
    cases.push_back({"missing", {nullptr, 0, chunk}, LV2_STATE_ERR_NO_PROPERTY, {}});
    cases.push_back({"wrong type", {good.data(), good.size(), string}, LV2_STATE_ERR_BAD_TYPE, {}});
    cases.push_back({"NaN values",
                     {nan_bytes.data(), nan_bytes.size(), chunk},
                     LV2_STATE_SUCCESS,
                     {{64, 0.25f}, {65, 1.0f}}});
    cases.push_back({"three values",
                     {short_bytes.data(), short_bytes.size(), chunk},
                     LV2_STATE_SUCCESS,
                     {{2, 0.5f}}});
    // Truncations of a good record, down to nothing.
    for (std::size_t n = 0; n < good.size(); n += 7) {
        cases.push_back({"truncated", {good.data(), n, chunk}, LV2_STATE_ERR_UNKNOWN, {}});
    }
    auto retrieve = [](LV2_State_Handle h, uint32_t, size_t* size, uint32_t* type,
                       uint32_t* flags) -> const void* {
        const auto* s = static_cast<const Stored*>(h);
        *size = s->size;
        *type = s->type;
        *flags = LV2_STATE_IS_POD;
        return s->bytes;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ", " + std::to_string(c.stored.size));
        // Back to the good program first.
        Stored g{good.data(), good.size(), chunk};
        ASSERT_EQ(state_of(*r)->restore(lilv_instance_get_handle(r->instance()), retrieve, &g, 0,
                                        host_.features()),
                  LV2_STATE_SUCCESS);
        EXPECT_EQ(state_of(*r)->restore(lilv_instance_get_handle(r->instance()), retrieve,
                                        const_cast<Stored*>(&c.stored), 0, host_.features()),
                  c.status);
        render(*r, in, out);
        mppi::ProgramSlot want = before;
        for (const auto& [k, v] : c.changed) {
            want.set_value(k, v);
        }
        const mppi::ProgramSlot got = saved_program(*r);
        EXPECT_EQ(got.values(), want.values());
        for (const float v : out.left) {
            ASSERT_TRUE(std::isfinite(v));
        }
    }
}

TEST_F(Lv2Host, the_host_tempo_sets_the_tempo_and_nonsense_tempos_are_ignored) {
    struct Case {
        float bpm;
        float expected_bpm;
    };
    const Case cases[] = {{100.0f, 100.0f},
                          {300.0f, 150.0f},
                          {-5.0f, 150.0f},
                          {std::numeric_limits<float>::quiet_NaN(), 150.0f},
                          {45.0f, 90.0f}};
    auto r = make();
    Signal in = test_signal(256);
    Signal out;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bpm);
        r->queue_tempo(c.bpm);
        render(*r, in, out, 256);
        const float tempo = saved_program(*r).get_value(1) * 180.0f + 60.0f;
        EXPECT_NEAR(tempo, c.expected_bpm, 1e-3);
        // What the editor shows.
        EXPECT_NEAR(*r->control("tempo_in_use"), c.expected_bpm, 1e-3);
    }
}

// Sizes that claim more than holds them, at any depth, are never followed:
// each sequence ends where reading on would fault. The good tempo before a
// lie still counts, and one sent after them all does too.
TEST_F(Lv2Host, malformed_time_events_are_passed_over_without_reading_past_them) {
    auto r = make();
    const AtomImage::Urids u(host_.urid_map());
    auto position = [&u](double bpm) {
        return AtomImage(u).sequence_header().position_event(bpm, u.float_type).sized().bytes();
    };
    auto with = [](std::vector<std::uint8_t> b, std::size_t at, std::uint32_t v) {
        std::memcpy(b.data() + at, &v, sizeof v);
        return b;
    };
    // Offsets in a one-position sequence: the event's size (24), the tempo
    // value's size (48) and type (52).
    std::vector<std::uint8_t> object_of_3_9_gb = with(position(150.0), 24, 3900000000u);
    object_of_3_9_gb.resize(8 + 399);
    object_of_3_9_gb = with(object_of_3_9_gb, 0, 399);
    std::vector<std::uint8_t> header_cut = position(150.0);
    header_cut.resize(16 + 10);
    header_cut = with(header_cut, 0, 18);
    AtomImage good_then_lie(u);
    good_then_lie.sequence_header().position_event(97.0, u.float_type);
    good_then_lie.position_event(150.0, u.float_type).sized();
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        float tempo; // in use afterwards
    };
    const Case cases[] = {
        {"an object claiming 3.9 GB in 399 bytes", object_of_3_9_gb, 120.0f},
        {"an event header cut short", header_cut, 120.0f},
        {"an event past its sequence", with(position(150.0), 24, 1000), 120.0f},
        {"a tempo value past its object", with(position(150.0), 48, 1000), 120.0f},
        {"an object nested as the tempo, claiming 3.9 GB",
         with(with(position(150.0), 52, u.object), 48, 3900000000u), 120.0f},
        {"a double tempo of 4 bytes", with(position(150.0), 52, u.double_type), 120.0f},
        {"a good tempo before a lying event", with(good_then_lie.bytes(), 72, 100000), 97.0f},
        {"a good tempo after them all", position(133.0), 133.0f},
    };
    GuardedBytes guarded(4096);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        lilv_instance_connect_port(r->instance(), host::lv2::QuevrinLv2::port_time,
                                   guarded.place(c.bytes));
        r->run_in_place(64);
        EXPECT_NEAR(*r->control("tempo_in_use"), c.tempo, 1e-3);
    }
}

// Up to the highest rate the engine serves, and not a hertz beyond: that
// one is refused at once, with the reason in the host's log.
TEST_F(Lv2Host, instantiates_up_to_the_highest_rate_served_and_says_why_it_stops) {
    const double top = effect::SampleRateLimit::max_rate();
    for (const double served : {1.0, 768000.0, top}) {
        Lv2Runner r(host_, plugin_, served, 64);
        EXPECT_NE(r.instance(), nullptr) << served;
    }
    host_.take_log();
    for (const double refused : {double(std::nextafter(float(top), 1e30f)), 1e12}) {
        Lv2Runner r(host_, plugin_, refused, 64);
        EXPECT_EQ(r.instance(), nullptr) << refused;
        EXPECT_NE(host_.take_log().find("cannot run at"), std::string::npos) << refused;
    }
}

TEST_F(Lv2Host, run_never_allocates_even_when_ports_and_tempo_change) {
    auto r = make();
    Signal in = test_signal(4096);
    Signal out{std::vector<float>(4096), std::vector<float>(4096)};
    r->run(in.left.data(), in.right.data(), out.left.data(), out.right.data(), 4096);
    float* fdbk = r->control("d2_fdbk");
    float* time = r->control("d1_time");
    test::AllocationCounter counter;
    for (int i = 0; i < 50; ++i) {
        *fdbk = static_cast<float>(i);
        *time = 0.25f + 0.01f * static_cast<float>(i);
        r->run_in_place(4096);
    }
    EXPECT_EQ(counter.count(), 0);
}

// lv2apply runs one frame per call; the engine's output does not depend on
// the host's block size, so the file equals `quevrin render`'s bit for bit.
std::vector<float> read_float_file(const std::string& path, int& channels) {
    SF_INFO info{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    if (f == nullptr) {
        return {};
    }
    std::vector<float> data(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(f, data.data(), info.frames);
    sf_close(f);
    channels = info.channels;
    return data;
}

TEST_F(Lv2Host, lv2apply_renders_what_quevrin_render_renders) {
#ifdef QUEVRIN_SANITIZED
    GTEST_SKIP() << "lv2apply cannot load a module built with sanitizers";
#endif
    const std::string dir =
        ::testing::TempDir() + "quevrin_lv2apply_" + std::to_string(getpid()) + "/";
    // lv2apply finds the plug-in on LV2_PATH: a folder holding only the bundle.
    std::filesystem::create_directories(dir + "path");
    std::filesystem::create_directory_symlink(QUEVRIN_LV2_BUNDLE, dir + "path/quevrin.lv2");
    struct Cleanup {
        std::string dir;
        ~Cleanup() { std::filesystem::remove_all(dir); }
    } cleanup{dir};
    const Signal in = test_signal(24000);
    {
        SF_INFO info{};
        info.samplerate = static_cast<int>(rate);
        info.channels = 2;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* f = sf_open((dir + "in.wav").c_str(), SFM_WRITE, &info);
        ASSERT_NE(f, nullptr);
        std::vector<float> frames;
        for (std::size_t i = 0; i < in.left.size(); ++i) {
            frames.push_back(in.left[i]);
            frames.push_back(in.right[i]);
        }
        sf_writef_float(f, frames.data(), static_cast<sf_count_t>(in.left.size()));
        sf_close(f);
    }
    LilvNode* preset_class = lilv_new_uri(host_.world(), LV2_PRESETS__Preset);
    LilvNodes* presets = lilv_plugin_get_related(plugin_, preset_class);
    // The defaults, then three programs without distortion.
    for (const std::string name : {"", "Ping-pong delay - 3/4 beat", "Multi-tap - triplet cascade",
                                   "Filter sweep - resonant low-pass"}) {
        SCOPED_TRACE(name);
        std::string controls;
        std::string preset_arg;
        if (!name.empty()) {
            preset_arg = " --preset \"" + name + "\"";
            LILV_FOREACH(nodes, i, presets) {
                const LilvNode* preset = lilv_nodes_get(presets, i);
                lilv_world_load_resource(host_.world(), preset);
                LilvState* state =
                    lilv_state_new_from_world(host_.world(), host_.urid_map(), preset);
                if (state != nullptr && name == lilv_state_get_label(state)) {
                    auto add = [](const char* symbol, void* out, const void* value, uint32_t,
                                  uint32_t) {
                        char v[32];
                        std::snprintf(v, sizeof v, "%.9g",
                                      static_cast<double>(*static_cast<const float*>(value)));
                        *static_cast<std::string*>(out) += std::string(" -c ") + symbol + " " + v;
                    };
                    lilv_state_emit_port_values(state, add, &controls);
                }
                lilv_state_free(state);
            }
            ASSERT_FALSE(controls.empty());
        }
        const std::string lv2_out = dir + "lv2.wav";
        const std::string cli_out = dir + "cli.wav";
        ASSERT_EQ(std::system(("LV2_PATH=" + dir + "path " LV2APPLY " -i " + dir + "in.wav -o " +
                               lv2_out + controls + " " + uri)
                                  .c_str()),
                  0);
        ASSERT_EQ(std::system((std::string(QUEVRIN_CLI) + " render " + dir + "in.wav " + cli_out +
                               preset_arg + " --tail 0 --quiet")
                                  .c_str()),
                  0);
        int lc = 0;
        int cc = 0;
        const std::vector<float> a = read_float_file(lv2_out, lc);
        const std::vector<float> b = read_float_file(cli_out, cc);
        ASSERT_EQ(lc, 2);
        ASSERT_EQ(cc, 2);
        ASSERT_EQ(a.size(), in.left.size() * 2);
        ASSERT_GE(b.size(), a.size());
        EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin()));
    }
    lilv_nodes_free(presets);
    lilv_node_free(preset_class);
}

} // namespace
