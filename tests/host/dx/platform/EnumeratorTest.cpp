// The pin and media-type enumerators follow the COM enumerator rules and
// notice when what they enumerate changes.
#include "AudioTypes.h"
#include "TestSourceFilter.h"
#include "host/dx/platform/CTransformFilter.h"

#include <gtest/gtest.h>

#include <string>

using namespace dshow;

namespace {

const CLSID clsid_minimal = {
    0x5A1E0004, 0x0000, 0x4000, {0x80, 0x00, 0x51, 0x55, 0x45, 0x56, 0x52, 0x04}};

// A transform with the base class's own pins.
class MinimalTransform : public CTransformFilter {
public:
    MinimalTransform() : CTransformFilter("MinimalTransform", nullptr, clsid_minimal) {}
    HRESULT CheckInputType(const CMediaType*) override { return S_OK; }
    HRESULT CheckTransform(const CMediaType*, const CMediaType*) override { return S_OK; }
    HRESULT GetMediaType(int, CMediaType*) override { return VFW_S_NO_MORE_ITEMS; }
    HRESULT DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES*) override { return S_OK; }
};

std::u16string id_of(IPin* pin) {
    LPWSTR id = nullptr;
    EXPECT_EQ(pin->QueryId(&id), S_OK);
    std::u16string text(reinterpret_cast<const char16_t*>(id));
    CoTaskMemFree(id);
    return text;
}

class EnumeratorTest : public ::testing::Test {
protected:
    void SetUp() override { baseline = CBaseObject::ObjectsActive(); }
    void TearDown() override { EXPECT_EQ(CBaseObject::ObjectsActive(), baseline); }
    LONG baseline = 0;
};

TEST_F(EnumeratorTest, pins_enumerate_in_order_with_skip_reset_and_clone) {
    auto* filter = new MinimalTransform();
    filter->AddRef();
    IEnumPins* pins = nullptr;
    ASSERT_EQ(filter->EnumPins(&pins), S_OK);
    IPin* got[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(pins->Next(3, got, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(id_of(got[0]), u"XForm In");
    EXPECT_EQ(id_of(got[1]), u"XForm Out");
    got[0]->Release();
    got[1]->Release();
    EXPECT_EQ(pins->Next(2, got, nullptr), E_INVALIDARG);
    EXPECT_EQ(pins->Next(1, got, nullptr), S_FALSE); // at the end

    EXPECT_EQ(pins->Reset(), S_OK);
    EXPECT_EQ(pins->Skip(1), S_OK);
    IEnumPins* clone = nullptr;
    ASSERT_EQ(pins->Clone(&clone), S_OK);
    ASSERT_EQ(clone->Next(1, got, nullptr), S_OK);
    EXPECT_EQ(id_of(got[0]), u"XForm Out");
    got[0]->Release();
    EXPECT_EQ(pins->Skip(2), S_FALSE);

    // A change of pins puts every enumerator out of step until it is reset.
    filter->IncrementPinVersion();
    EXPECT_EQ(clone->Next(1, got, &fetched), VFW_E_ENUM_OUT_OF_SYNC);
    EXPECT_EQ(clone->Skip(1), VFW_E_ENUM_OUT_OF_SYNC);
    IEnumPins* second = nullptr;
    EXPECT_EQ(clone->Clone(&second), VFW_E_ENUM_OUT_OF_SYNC);
    EXPECT_EQ(clone->Reset(), S_OK);
    EXPECT_EQ(clone->Skip(2), S_OK);
    clone->Release();
    pins->Release();
    filter->Release();
}

TEST_F(EnumeratorTest, media_types_come_out_as_task_memory_copies) {
    const CMediaType type = make_audio_type(WAVE_FORMAT_IEEE_FLOAT, 2, 96000, 32);
    auto* source = TestSourceFilter::create(type, 1, 64);
    IEnumMediaTypes* types = nullptr;
    ASSERT_EQ(source->output()->EnumMediaTypes(&types), S_OK);
    AM_MEDIA_TYPE* got[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(types->Next(2, got, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    EXPECT_TRUE(CMediaType(*got[0]) == type);
    EXPECT_NE(got[0]->pbFormat, type.Format());
    DeleteMediaType(got[0]);

    EXPECT_EQ(types->Skip(1), S_FALSE);
    EXPECT_EQ(types->Reset(), S_OK);
    EXPECT_EQ(types->Skip(1), S_OK);
    EXPECT_EQ(types->Next(1, got, nullptr), S_FALSE);
    IEnumMediaTypes* clone = nullptr;
    ASSERT_EQ(types->Clone(&clone), S_OK);
    EXPECT_EQ(clone->Next(1, got, nullptr), S_FALSE); // the clone kept the position
    clone->Reset();
    EXPECT_EQ(clone->Next(1, got, nullptr), S_OK);
    DeleteMediaType(got[0]);
    source->output()->IncrementTypeVersion();
    EXPECT_EQ(clone->Next(1, got, nullptr), VFW_E_ENUM_OUT_OF_SYNC);

    IUnknown* unknown = nullptr;
    EXPECT_EQ(clone->QueryInterface(IID_IEnumPins, reinterpret_cast<void**>(&unknown)),
              E_NOINTERFACE);
    EXPECT_EQ(clone->QueryInterface(IID_IEnumMediaTypes, reinterpret_cast<void**>(&unknown)), S_OK);
    unknown->Release();
    clone->Release();
    types->Release();
    source->Release();
}

} // namespace
