// The audio path with the real engine: block processing, in normal and tail
// mode and in both sample formats, allocates nothing once streaming started.
#include "host/dx/CSfPlugIn.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(AudioPathTest, block_processing_never_allocates) {
    for (WORD tag : {WORD{WAVE_FORMAT_PCM}, WORD{WAVE_FORMAT_IEEE_FLOAT}}) {
        for (WORD channels : {WORD{1}, WORD{2}}) {
            HRESULT hr = S_OK;
            auto* filter = static_cast<host::dx::CSfPlugIn*>(
                host::dx::CSfPlugIn::CreateInstance(nullptr, &hr));
            ASSERT_NE(filter, nullptr);
            filter->NonDelegatingAddRef();
            WAVEFORMATEX in{};
            in.wFormatTag = tag;
            in.nChannels = channels;
            in.nSamplesPerSec = 48000;
            in.wBitsPerSample = tag == WAVE_FORMAT_PCM ? 16 : 32;
            in.nBlockAlign = static_cast<WORD>(channels * in.wBitsPerSample / 8);
            WAVEFORMATEX out = in;
            out.nChannels = 2;
            out.nBlockAlign = static_cast<WORD>(2 * in.wBitsPerSample / 8);
            filter->set_input_format(&in);
            filter->set_output_format(&out);
            ASSERT_EQ(filter->start_streaming(), S_OK);
            std::vector<BYTE> input(1000 * in.nBlockAlign, 0x11);
            std::vector<BYTE> output(1000 * out.nBlockAlign);

            long allocations = 0;
            {
                test::AllocationCounter counter;
                int in_frames = 1000;
                int out_frames = 1000;
                filter->process_block(false, input.data(), in_frames, output.data(), out_frames);
                in_frames = 0;
                out_frames = 1000;
                filter->process_block(true, nullptr, in_frames, output.data(), out_frames);
                allocations = counter.count();
            }
            EXPECT_EQ(allocations, 0) << "tag " << tag << ", " << channels << " channels";
            filter->NonDelegatingRelease();
        }
    }
}

} // namespace
