// CMediaType owns a deep copy of its format block and pUnk, and the media-type
// helpers keep task memory balanced.
#include "AudioTypes.h"

#include <gtest/gtest.h>

using namespace dshow;

namespace {

// Counts references so a test can see them taken and given back.
class CountedUnknown : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
    ULONG references = 1;
};

TEST(MediaTypeTest, copies_own_their_format_block) {
    const CMediaType original = make_audio_type(WAVE_FORMAT_PCM, 2, 44100, 16);
    CMediaType copy(original);
    ASSERT_EQ(copy.FormatLength(), sizeof(WAVEFORMATEX));
    EXPECT_NE(copy.Format(), original.Format());
    EXPECT_TRUE(copy == original);
    copy.Format()[0] = 3; // format tag becomes IEEE float
    EXPECT_FALSE(copy == original);
    EXPECT_EQ(wave_format(original)->wFormatTag, WAVE_FORMAT_PCM);

    CMediaType assigned;
    assigned = original;
    EXPECT_TRUE(assigned == original);
    const CMediaType& same = assigned;
    assigned = same; // self-assignment keeps the block
    EXPECT_TRUE(assigned == original);
}

TEST(MediaTypeTest, format_buffer_can_be_set_grown_and_reset) {
    CMediaType type;
    const BYTE bytes[] = {1, 2, 3, 4};
    ASSERT_TRUE(type.SetFormat(bytes, 4));
    ASSERT_NE(type.ReallocFormatBuffer(8), nullptr);
    EXPECT_EQ(type.FormatLength(), 8u);
    EXPECT_EQ(type.Format()[3], 4);
    ASSERT_NE(type.ReallocFormatBuffer(2), nullptr);
    EXPECT_EQ(type.Format()[1], 2);
    type.ResetFormatBuffer();
    EXPECT_EQ(type.Format(), nullptr);
    EXPECT_EQ(type.FormatLength(), 0u);
    EXPECT_EQ(type.AllocFormatBuffer(0), nullptr);
}

TEST(MediaTypeTest, copies_hold_a_reference_on_punk) {
    CountedUnknown unknown;
    {
        CMediaType type = make_audio_type(WAVE_FORMAT_PCM, 1, 8000, 16);
        type.pUnk = &unknown;
        unknown.AddRef();
        CMediaType copy(type);
        EXPECT_EQ(unknown.references, 3u);
        AM_MEDIA_TYPE* created = CreateMediaType(&copy);
        ASSERT_NE(created, nullptr);
        EXPECT_EQ(unknown.references, 4u);
        DeleteMediaType(created);
    }
    EXPECT_EQ(unknown.references, 1u);
}

TEST(MediaTypeTest, partial_types_match_on_the_guids_they_set) {
    const CMediaType full = make_audio_type(WAVE_FORMAT_PCM, 2, 44100, 16);
    CMediaType any;
    CMediaType audio;
    audio.SetType(&MEDIATYPE_Audio);
    CMediaType float_audio = audio;
    float_audio.SetSubtype(&MEDIASUBTYPE_IEEE_FLOAT);
    const CMediaType other_rate = make_audio_type(WAVE_FORMAT_PCM, 2, 48000, 16);
    struct Case {
        const CMediaType* partial;
        bool partially_specified;
        bool matches;
    } const cases[] = {
        {&any, true, true},   {&audio, true, true},        {&float_audio, true, false},
        {&full, false, true}, {&other_rate, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.partial->IsPartiallySpecified() != FALSE, c.partially_specified);
        EXPECT_EQ(full.MatchesPartial(c.partial) != FALSE, c.matches);
    }
}

TEST(MediaTypeTest, sample_size_and_validity) {
    CMediaType type;
    EXPECT_FALSE(type.IsValid());
    EXPECT_EQ(type.GetSampleSize(), 1u);
    type.SetSampleSize(0);
    EXPECT_FALSE(type.IsFixedSize());
    EXPECT_EQ(type.GetSampleSize(), 0u);
    type.SetSampleSize(4);
    EXPECT_TRUE(type.IsFixedSize());
    EXPECT_EQ(type.GetSampleSize(), 4u);
    type.SetType(&MEDIATYPE_Audio);
    EXPECT_TRUE(type.IsValid());
}

} // namespace
