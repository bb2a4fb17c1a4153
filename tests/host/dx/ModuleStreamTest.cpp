// Streaming through quevrin.so: splitting over output buffers, mono to
// stereo, the tail after the end of the stream, and the output of whole
// streams against the engine run directly.
#include "ModuleGraph.h"
#include "effect/Algo.h"
#include "mppi/preset/BankManager.h"
#include "support/Noise.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

std::vector<BYTE> to_bytes(const void* data, std::size_t size) {
    const auto* p = static_cast<const BYTE*>(data);
    return std::vector<BYTE>(p, p + size);
}

// A sine, a low noise, a full-scale burst and silence: every path of the engine
// and both ends of the 16-bit range.
std::vector<float> test_signal(int frames, int channels, DWORD rate) {
    std::vector<float> signal(static_cast<std::size_t>(frames) * channels);
    test::Noise noise(12345);
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            const double t = static_cast<double>(i) / rate;
            double v = 0.5 * std::sin(2 * M_PI * (440.0 + 110.0 * c) * t) +
                       0.05 * (static_cast<double>(noise.next()) - 0.5);
            if (i > frames / 8 && i < frames / 8 + 300) {
                v = (i % 50 < 25) ? 1.2 : -1.2;
            }
            if (i > frames * 3 / 4) {
                v = 0.0;
            }
            signal[static_cast<std::size_t>(i) * channels + c] = static_cast<float>(v);
        }
    }
    return signal;
}

std::int16_t to_pcm16(float v) {
    const double r = std::floor(static_cast<double>(v) * 32768.0 + 0.5);
    return static_cast<std::int16_t>(std::fmin(std::fmax(r, -32768.0), 32767.0));
}

// The engine alone, in chunks of 256 frames, from interleaved samples of
// `channels` channels (a mono input feeds both engine inputs), to stereo.
std::vector<float> engine_output(const mppi::ProgramSlot* program, DWORD rate,
                                 const std::vector<float>& input, int channels) {
    effect::Algo engine;
    engine.init();
    engine.set_sample_rate(static_cast<float>(rate));
    engine.reset();
    if (program != nullptr) {
        engine.set_prog_name(program->get_prog_name());
        engine.load_prog(*program);
    }
    engine.request_reset();
    const int frames = static_cast<int>(input.size()) / channels;
    std::vector<float> output(static_cast<std::size_t>(frames) * 2);
    float in[2][256];
    float out[2][256];
    const float* in_table[2] = {in[0], channels == 2 ? in[1] : in[0]};
    float* out_table[2] = {out[0], out[1]};
    for (int done = 0; done < frames; done += 256) {
        const int chunk = std::min(256, frames - done);
        for (int i = 0; i < chunk; ++i) {
            for (int c = 0; c < channels; ++c) {
                in[c][i] = input[static_cast<std::size_t>(done + i) * channels + c];
            }
        }
        engine.process_replace(out_table, in_table, chunk, false);
        for (int i = 0; i < chunk; ++i) {
            output[static_cast<std::size_t>(done + i) * 2] = out[0][i];
            output[static_cast<std::size_t>(done + i) * 2 + 1] = out[1][i];
        }
    }
    return output;
}

TEST_F(ModuleTest, an_input_buffer_is_split_over_output_buffers_with_times_on_the_first_only) {
    build(make_audio_type(WAVE_FORMAT_PCM, 2, 44100, 16), 2, 4000);
    // Downstream buffers of 300 frames.
    ALLOCATOR_PROPERTIES request{4, 1200, 1, 0};
    ALLOCATOR_PROPERTIES actual{};
    ASSERT_EQ(sink->input()->allocator()->SetProperties(&request, &actual), S_OK);
    run();
    std::vector<std::int16_t> samples(2000);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(i);
    }
    REFERENCE_TIME start = 1000000;
    REFERENCE_TIME stop = 1226757;
    ASSERT_EQ(source->push(reinterpret_cast<const BYTE*>(samples.data()), 4000, &start, &stop),
              S_OK);
    const auto& received = sink->samples();
    ASSERT_EQ(received.size(), 4u);
    const std::size_t frames[] = {300, 300, 300, 100};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(received[i].data.size(), frames[i] * 4) << "sample " << i;
        EXPECT_EQ(received[i].has_time, i == 0) << "sample " << i;
        EXPECT_FALSE(received[i].type_attached);
    }
    EXPECT_EQ(received[0].start, start);
    EXPECT_EQ(received[0].stop, stop);
    EXPECT_TRUE(received[0].sync_point) << "the input's sync point is carried over";
}

TEST_F(ModuleTest, mono_input_doubles_the_buffers_and_comes_out_stereo) {
    build(make_audio_type(WAVE_FORMAT_PCM, 1, 44100, 16), 3, 2048);
    ALLOCATOR_PROPERTIES props{};
    ASSERT_EQ(sink->input()->allocator()->GetProperties(&props), S_OK);
    EXPECT_EQ(props.cbBuffer, 4096);
    EXPECT_EQ(props.cBuffers, 3);
    run();
    const std::vector<float> signal = test_signal(1024, 1, 44100);
    std::vector<std::int16_t> input(signal.size());
    for (std::size_t i = 0; i < signal.size(); ++i) {
        input[i] = to_pcm16(signal[i]);
    }
    ASSERT_EQ(source->push(reinterpret_cast<const BYTE*>(input.data()), 2048, nullptr, nullptr),
              S_OK);
    ASSERT_EQ(sink->samples().size(), 1u);
    EXPECT_EQ(sink->samples()[0].data.size(), 4096u);
    EXPECT_FALSE(sink->samples()[0].has_time);
}

TEST_F(ModuleTest, end_of_stream_renders_the_engines_tail_for_more_than_15_seconds) {
    const DWORD rate = 44100;
    const LONG buffer = 4096 * 4; // 4096 stereo 16-bit frames
    build(make_audio_type(WAVE_FORMAT_PCM, 2, rate, 16), 2, buffer);
    run();
    const std::vector<std::int16_t> click(2048, 20000);
    ASSERT_EQ(source->push(reinterpret_cast<const BYTE*>(click.data()), 4096, nullptr, nullptr),
              S_OK);
    ASSERT_EQ(source->end_of_stream(), S_OK);
    EXPECT_EQ(sink->end_of_stream_count(), 1);
    std::size_t tail_frames = 0;
    bool echoes = false;
    for (std::size_t i = 1; i < sink->samples().size(); ++i) {
        for (BYTE b : sink->samples()[i].data) {
            echoes = echoes || b != 0;
        }
        EXPECT_EQ(sink->samples()[i].data.size(), static_cast<std::size_t>(buffer));
        tail_frames += sink->samples()[i].data.size() / 4;
    }
    EXPECT_TRUE(echoes) << "the click comes back in the tail";
    EXPECT_GT(static_cast<double>(tail_frames) / rate, 15.0);
    EXPECT_LE(static_cast<double>(tail_frames - buffer / 4) / rate, 15.0);
}

struct StreamCase {
    WORD tag;
    WORD channels;
    DWORD rate;
    int buffer_frames;
};

// Every built-in program (or the default one without a bank), each format.
TEST_F(ModuleTest, whole_streams_equal_the_engine_run_directly) {
    const mppi::BankManager bank = built_in_presets();
    const int programs = std::max(1, bank.get_nbr_progs());
    const StreamCase cases[] = {
        {WAVE_FORMAT_PCM, 2, 44100, 1024},        {WAVE_FORMAT_PCM, 1, 44100, 1024},
        {WAVE_FORMAT_IEEE_FLOAT, 2, 44100, 1024}, {WAVE_FORMAT_IEEE_FLOAT, 1, 44100, 1024},
        {WAVE_FORMAT_PCM, 2, 96000, 2048},        {WAVE_FORMAT_PCM, 1, 96000, 2048},
        {WAVE_FORMAT_IEEE_FLOAT, 2, 96000, 2048}, {WAVE_FORMAT_IEEE_FLOAT, 1, 96000, 2048},
    };
    release_filter();
    int audible_streams = 0;
    for (int p = 0; p < programs; ++p) {
        const mppi::ProgramSlot* program = bank.get_nbr_progs() > 0 ? &bank.use_prog(p) : nullptr;
        for (const StreamCase& c : cases) {
            SCOPED_TRACE(testing::Message() << "program " << p << ", tag " << c.tag << ", "
                                            << c.channels << " channels, " << c.rate << " Hz");
            create_filter();
            if (program != nullptr) {
                ASSERT_EQ(presets->SetPreset(p), S_OK);
            }
            const WORD bits = c.tag == WAVE_FORMAT_PCM ? 16 : 32;
            const int frame_bytes = c.channels * bits / 8;
            build(make_audio_type(c.tag, c.channels, c.rate, bits), 2,
                  c.buffer_frames * frame_bytes);
            run();

            const int frames = static_cast<int>(c.rate);
            std::vector<float> signal = test_signal(frames, c.channels, c.rate);
            std::vector<BYTE> input;
            if (c.tag == WAVE_FORMAT_PCM) {
                std::vector<std::int16_t> pcm(signal.size());
                for (std::size_t i = 0; i < signal.size(); ++i) {
                    pcm[i] = to_pcm16(signal[i]);
                    signal[i] = pcm[i] / 32768.0f;
                }
                input = to_bytes(pcm.data(), pcm.size() * 2);
            } else {
                input = to_bytes(signal.data(), signal.size() * 4);
            }
            ASSERT_EQ(source->push(input.data(), static_cast<LONG>(input.size()), nullptr, nullptr),
                      S_OK);

            const std::vector<float> expected = engine_output(program, c.rate, signal, c.channels);
            std::vector<BYTE> wanted;
            if (c.tag == WAVE_FORMAT_PCM) {
                std::vector<std::int16_t> pcm(expected.size());
                for (std::size_t i = 0; i < expected.size(); ++i) {
                    pcm[i] = to_pcm16(expected[i]);
                }
                wanted = to_bytes(pcm.data(), pcm.size() * 2);
            } else {
                wanted = to_bytes(expected.data(), expected.size() * 4);
            }
            const std::vector<BYTE> got = sink->received_bytes();
            ASSERT_EQ(got.size(), wanted.size());
            // Programs that hold a loop and take no input are silent from a reset.
            audible_streams +=
                std::count(got.begin(), got.end(), BYTE{0}) != static_cast<long>(got.size());
            EXPECT_TRUE(got == wanted) << "output differs from the engine's";

            release_chain();
        }
    }
    EXPECT_GT(audible_streams, 0);
}

// An extensible input plays as its plain form: the same bytes out, under the
// plain stereo type.
TEST_F(ModuleTest, extensible_streams_equal_plain_ones_under_the_plain_type) {
    struct Case {
        WORD tag;
        const GUID* subformat;
        WORD channels;
    };
    const Case cases[] = {{WAVE_FORMAT_PCM, &KSDATAFORMAT_SUBTYPE_PCM, 2},
                          {WAVE_FORMAT_IEEE_FLOAT, &KSDATAFORMAT_SUBTYPE_IEEE_FLOAT, 1}};
    release_filter();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "tag " << c.tag << ", " << c.channels << " channels");
        const WORD bits = c.tag == WAVE_FORMAT_PCM ? 16 : 32;
        const std::vector<float> signal = test_signal(22050, c.channels, 44100);
        std::vector<BYTE> input;
        if (c.tag == WAVE_FORMAT_PCM) {
            std::vector<std::int16_t> pcm(signal.size());
            std::transform(signal.begin(), signal.end(), pcm.begin(), to_pcm16);
            input = to_bytes(pcm.data(), pcm.size() * 2);
        } else {
            input = to_bytes(signal.data(), signal.size() * 4);
        }
        std::vector<BYTE> outputs[2];
        for (int extensible = 0; extensible < 2; ++extensible) {
            create_filter();
            build(extensible ? make_extensible_type(*c.subformat, c.channels, 44100, bits, bits)
                             : make_audio_type(c.tag, c.channels, 44100, bits),
                  2, 4096);
            AM_MEDIA_TYPE connected{};
            ASSERT_EQ(output->ConnectionMediaType(&connected), S_OK);
            const dshow::CMediaType type(connected);
            dshow::FreeMediaType(connected);
            EXPECT_TRUE(IsEqualGUID(*type.Subtype(), c.tag == WAVE_FORMAT_PCM
                                                         ? MEDIASUBTYPE_PCM
                                                         : MEDIASUBTYPE_IEEE_FLOAT));
            ASSERT_EQ(type.FormatLength(), sizeof(WAVEFORMATEX));
            EXPECT_EQ(wave_format(type)->wFormatTag, c.tag);
            EXPECT_EQ(wave_format(type)->nChannels, 2);
            EXPECT_EQ(wave_format(type)->cbSize, 0);
            run();
            ASSERT_EQ(source->push(input.data(), static_cast<LONG>(input.size()), nullptr, nullptr),
                      S_OK);
            outputs[extensible] = sink->received_bytes();
            release_chain();
        }
        EXPECT_FALSE(outputs[0].empty());
        EXPECT_TRUE(outputs[0] == outputs[1]) << "the extensible stream came out differently";
    }
}

} // namespace
