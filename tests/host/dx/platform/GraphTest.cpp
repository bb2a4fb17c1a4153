// A source -> pass-through transform -> sink chain connected pin to pin as a
// graph would: negotiation, allocators, states, streaming, flushing, end of
// stream, reconnection, and that every object is gone afterwards.
#include "AudioTypes.h"
#include "FakeFilterGraph.h"
#include "PassThroughFilter.h"
#include "TestSinkFilter.h"
#include "TestSourceFilter.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>

using namespace dshow;

namespace {

const CMediaType stereo16 = make_audio_type(WAVE_FORMAT_PCM, 2, 44100, 16);

std::vector<BYTE> ramp(std::size_t size) {
    std::vector<BYTE> bytes(size);
    std::iota(bytes.begin(), bytes.end(), BYTE{0});
    return bytes;
}

class GraphTest : public ::testing::Test {
protected:
    void SetUp() override {
        baseline = CBaseObject::ObjectsActive();
        transform =
            static_cast<PassThroughFilter*>(PassThroughFilter::CreateInstance(nullptr, &hr));
        transform->AddRef();
    }
    void TearDown() override {
        for (CBaseFilter* filter :
             {static_cast<CBaseFilter*>(source), static_cast<CBaseFilter*>(transform),
              static_cast<CBaseFilter*>(sink)}) {
            if (filter != nullptr) {
                filter->Stop();
                for (int i = 0; i < filter->GetPinCount(); ++i) {
                    filter->GetPin(i)->Disconnect();
                }
            }
        }
        for (CBaseFilter* filter :
             {static_cast<CBaseFilter*>(source), static_cast<CBaseFilter*>(transform),
              static_cast<CBaseFilter*>(sink)}) {
            if (filter != nullptr) {
                filter->Release();
            }
        }
        EXPECT_EQ(CBaseObject::ObjectsActive(), baseline) << "objects left alive";
    }

    // Source and sink around the transform, both connections made.
    void build(const CMediaType& type = stereo16, LONG buffers = 4, LONG size = 1024,
               TestSinkFilter* sink_filter = nullptr) {
        source = TestSourceFilter::create(type, buffers, size);
        sink = sink_filter != nullptr ? sink_filter : TestSinkFilter::create();
        ASSERT_EQ(source->output()->Connect(transform->GetPin(0), nullptr), S_OK);
        ASSERT_EQ(transform->GetPin(1)->Connect(sink->input(), nullptr), S_OK);
    }
    // As a graph does: downstream filters change state first.
    void for_each_downstream_first(HRESULT (IMediaFilter::*step)()) {
        EXPECT_EQ((sink->*step)(), S_OK);
        EXPECT_EQ((transform->*step)(), S_OK);
        EXPECT_EQ((source->*step)(), S_OK);
    }
    void run() {
        for_each_downstream_first(&IMediaFilter::Pause);
        EXPECT_EQ(sink->Run(0), S_OK);
        EXPECT_EQ(transform->Run(0), S_OK);
        EXPECT_EQ(source->Run(0), S_OK);
    }

    LONG baseline = 0;
    HRESULT hr = S_OK;
    TestSourceFilter* source = nullptr;
    PassThroughFilter* transform = nullptr;
    TestSinkFilter* sink = nullptr;
};

TEST_F(GraphTest, streams_samples_in_buffer_sized_pieces_and_ends_the_stream) {
    build();
    AM_MEDIA_TYPE connected{};
    ASSERT_EQ(sink->input()->ConnectionMediaType(&connected), S_OK);
    EXPECT_TRUE(CMediaType(connected) == stereo16);
    FreeMediaType(connected);
    run();
    EXPECT_EQ(transform->start_count(), 1);

    const std::vector<BYTE> bytes = ramp(3000);
    REFERENCE_TIME start = 0, stop = 1000;
    ASSERT_EQ(source->push(bytes.data(), 3000, &start, &stop), S_OK);
    ASSERT_EQ(sink->samples().size(), 3u);
    EXPECT_EQ(sink->samples()[0].data.size(), 1024u);
    EXPECT_EQ(sink->samples()[2].data.size(), 952u);
    EXPECT_EQ(sink->received_bytes(), bytes);
    EXPECT_TRUE(sink->samples()[0].has_time);
    EXPECT_EQ(sink->samples()[0].stop, 1000);
    EXPECT_FALSE(sink->samples()[1].has_time);
    EXPECT_TRUE(sink->samples()[1].sync_point);

    EXPECT_EQ(source->end_of_stream(), S_OK);
    EXPECT_EQ(sink->end_of_stream_count(), 1);
    for_each_downstream_first(&IMediaFilter::Stop);
    EXPECT_EQ(transform->stop_count(), 1);
    // Stopped: the allocators are decommitted.
    EXPECT_EQ(source->push(bytes.data(), 10, nullptr, nullptr), VFW_E_NOT_COMMITTED);
}

TEST_F(GraphTest, allocator_properties_decided_upstream_reach_the_sink) {
    build(stereo16, 3, 1000, TestSinkFilter::create(0, 16, 8));
    ALLOCATOR_PROPERTIES props{};
    ASSERT_NE(sink->input()->allocator(), nullptr);
    ASSERT_EQ(sink->input()->allocator()->GetProperties(&props), S_OK);
    EXPECT_EQ(props.cBuffers, 3);
    EXPECT_EQ(props.cbBuffer, 1008); // 1000 rounded up to the sink's alignment
    EXPECT_EQ(props.cbAlign, 16);
    EXPECT_EQ(props.cbPrefix, 8);
}

TEST_F(GraphTest, transform_refuses_input_types_it_cannot_take) {
    CMediaType compressed = stereo16;
    compressed.SetTemporalCompression(TRUE);
    CMediaType not_audio = stereo16;
    not_audio.SetType(&FORMAT_None);
    CMediaType short_format = stereo16;
    short_format.ReallocFormatBuffer(12);
    for (const CMediaType* type : {&compressed, &not_audio, &short_format}) {
        auto* offering = TestSourceFilter::create(*type, 1, 64);
        EXPECT_EQ(offering->output()->Connect(transform->GetPin(0), nullptr),
                  VFW_E_NO_ACCEPTABLE_TYPES);
        EXPECT_EQ(offering->output()->Connect(transform->GetPin(0), type), VFW_E_TYPE_NOT_ACCEPTED);
        EXPECT_FALSE(offering->output()->IsConnected());
        EXPECT_FALSE(transform->input()->IsConnected());
        offering->Release();
    }
}

TEST_F(GraphTest, connection_rules_are_enforced) {
    build(stereo16, 4, 1024, TestSinkFilter::create());
    auto* mono_sink = TestSinkFilter::create(1);
    auto* other = TestSourceFilter::create(stereo16, 1, 64);
    IPin* pin = nullptr;
    // A refusing sink, directions, order and occupancy.
    EXPECT_EQ(transform->GetPin(1)->Connect(mono_sink->input(), nullptr), VFW_E_ALREADY_CONNECTED);
    EXPECT_EQ(other->output()->Connect(transform->GetPin(1), &stereo16), VFW_E_INVALID_DIRECTION);
    EXPECT_EQ(other->output()->Connect(sink->input(), &stereo16), VFW_E_ALREADY_CONNECTED);
    EXPECT_EQ(transform->GetPin(1)->Disconnect(), S_OK);
    EXPECT_EQ(sink->input()->Disconnect(), S_OK);
    EXPECT_EQ(sink->input()->Disconnect(), S_FALSE);
    EXPECT_EQ(sink->input()->ConnectedTo(&pin), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(transform->GetPin(1)->Connect(mono_sink->input(), nullptr),
              VFW_E_NO_ACCEPTABLE_TYPES);
    EXPECT_FALSE(mono_sink->input()->IsConnected());
    // The output cannot connect before the input.
    EXPECT_EQ(transform->GetPin(0)->Disconnect(), S_OK);
    EXPECT_EQ(source->output()->Disconnect(), S_OK);
    EXPECT_EQ(transform->GetPin(1)->Connect(sink->input(), &stereo16), E_UNEXPECTED);
    // No connecting or disconnecting while active.
    ASSERT_EQ(source->output()->Connect(transform->GetPin(0), nullptr), S_OK);
    ASSERT_EQ(transform->Pause(), S_OK);
    EXPECT_EQ(transform->GetPin(1)->Connect(sink->input(), nullptr), VFW_E_NOT_STOPPED);
    EXPECT_EQ(transform->GetPin(0)->Disconnect(), VFW_E_NOT_STOPPED);
    EXPECT_EQ(transform->Stop(), S_OK);
    mono_sink->Release();
    other->Release();
}

TEST_F(GraphTest, query_accept_follows_the_transform_check) {
    build();
    const CMediaType other_rate = make_audio_type(WAVE_FORMAT_PCM, 2, 48000, 16);
    EXPECT_EQ(transform->GetPin(1)->QueryAccept(&stereo16), S_OK);
    EXPECT_EQ(transform->GetPin(1)->QueryAccept(&other_rate), S_FALSE);
    EXPECT_EQ(sink->input()->QueryAccept(&other_rate), S_OK);
}

TEST_F(GraphTest, flushing_discards_samples_until_it_ends) {
    build();
    run();
    const std::vector<BYTE> bytes = ramp(100);
    EXPECT_EQ(source->begin_flush(), S_OK);
    EXPECT_EQ(sink->flush_count(), 1);
    EXPECT_EQ(source->push(bytes.data(), 100, nullptr, nullptr), S_FALSE);
    EXPECT_TRUE(sink->samples().empty());
    EXPECT_EQ(source->end_flush(), S_OK);
    EXPECT_EQ(source->push(bytes.data(), 100, nullptr, nullptr), S_OK);
    EXPECT_EQ(sink->samples().size(), 1u);
}

TEST_F(GraphTest, new_segment_travels_downstream) {
    build();
    run();
    EXPECT_EQ(source->new_segment(10, 1000, 2.0), S_OK);
    EXPECT_EQ(sink->segment_start(), 10);
    EXPECT_EQ(sink->segment_rate(), 2.0);
    EXPECT_EQ(transform->input()->CurrentRate(), 2.0);
}

TEST_F(GraphTest, receive_multiple_and_can_block_go_through_the_input_pin) {
    build();
    run();
    IMemInputPin* input = nullptr;
    ASSERT_EQ(
        transform->GetPin(0)->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input)),
        S_OK);
    EXPECT_EQ(input->ReceiveCanBlock(), S_OK); // the sink renders: it may block
    IMediaSample* samples[2] = {};
    for (IMediaSample*& sample : samples) {
        ASSERT_EQ(source->output()->GetDeliveryBuffer(&sample, nullptr, nullptr, 0), S_OK);
        sample->SetActualDataLength(8);
    }
    LONG processed = 0;
    EXPECT_EQ(input->ReceiveMultiple(samples, 2, &processed), S_OK);
    EXPECT_EQ(processed, 2);
    EXPECT_EQ(sink->samples().size(), 2u);
    for (IMediaSample* sample : samples) {
        sample->Release();
    }
    input->Release();
}

TEST_F(GraphTest, a_sample_of_a_refused_type_stops_the_stream) {
    source = TestSourceFilter::create(stereo16, 2, 64);
    sink = TestSinkFilter::create(2);
    ASSERT_EQ(source->output()->Connect(sink->input(), nullptr), S_OK);
    ASSERT_EQ(sink->Run(0), S_OK);
    ASSERT_EQ(source->Run(0), S_OK);
    IMediaSample* sample = nullptr;
    ASSERT_EQ(source->output()->GetDeliveryBuffer(&sample, nullptr, nullptr, 0), S_OK);
    CMediaType mono = make_audio_type(WAVE_FORMAT_PCM, 1, 44100, 16);
    ASSERT_EQ(sample->SetMediaType(&mono), S_OK);
    EXPECT_EQ(source->output()->Deliver(sample), VFW_E_INVALIDMEDIATYPE);
    ASSERT_EQ(sample->SetMediaType(nullptr), S_OK);
    EXPECT_EQ(source->output()->Deliver(sample), VFW_E_RUNTIME_ERROR);
    sample->Release();
}

TEST_F(GraphTest, a_new_input_type_makes_the_filter_ask_its_graph_to_reconnect_the_output) {
    build();
    auto* graph = new FakeFilterGraph();
    transform->JoinFilterGraph(graph, WIDE_TEXT("pass"));
    const CMediaType rate48k = make_audio_type(WAVE_FORMAT_PCM, 2, 48000, 16);
    ASSERT_EQ(source->output()->Disconnect(), S_OK);
    ASSERT_EQ(transform->GetPin(0)->Disconnect(), S_OK);
    source->Release();
    source = TestSourceFilter::create(rate48k, 4, 1024);

    ASSERT_EQ(source->output()->Connect(transform->GetPin(0), nullptr), S_OK);
    EXPECT_EQ(graph->pending(), 1u);
    EXPECT_EQ(graph->perform_reconnects(), S_OK);
    AM_MEDIA_TYPE connected{};
    ASSERT_EQ(sink->input()->ConnectionMediaType(&connected), S_OK);
    EXPECT_TRUE(CMediaType(connected) == rate48k);
    FreeMediaType(connected);

    // Outside a graph a new input that needs the output reconnected is refused.
    ASSERT_EQ(source->output()->Disconnect(), S_OK);
    ASSERT_EQ(transform->GetPin(0)->Disconnect(), S_OK);
    transform->JoinFilterGraph(nullptr, nullptr);
    auto* third = TestSourceFilter::create(stereo16, 1, 64);
    EXPECT_EQ(third->output()->Connect(transform->GetPin(0), &stereo16), VFW_E_NOT_IN_GRAPH);
    EXPECT_EQ(third->output()->Connect(transform->GetPin(0), nullptr), VFW_E_NO_ACCEPTABLE_TYPES);
    EXPECT_FALSE(transform->GetPin(0)->IsConnected());
    EXPECT_FALSE(third->output()->IsConnected());
    third->Release();
    graph->Release();
}

TEST_F(GraphTest, pins_are_found_by_id_and_describe_themselves) {
    IPin* pin = nullptr;
    ASSERT_EQ(transform->FindPin(WIDE_TEXT("In"), &pin), S_OK);
    EXPECT_EQ(pin, static_cast<IPin*>(transform->GetPin(0)));
    PIN_INFO info{};
    ASSERT_EQ(pin->QueryPinInfo(&info), S_OK);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(info.achName)), u"Input");
    EXPECT_EQ(info.dir, PINDIR_INPUT);
    EXPECT_EQ(info.pFilter, static_cast<IBaseFilter*>(transform));
    info.pFilter->Release();
    pin->Release();
    ASSERT_EQ(transform->FindPin(WIDE_TEXT("Output"), &pin), S_OK);
    pin->Release();
    EXPECT_EQ(transform->FindPin(WIDE_TEXT("Input"), &pin), VFW_E_NOT_FOUND);
    EXPECT_EQ(pin, nullptr);

    auto* graph = new FakeFilterGraph();
    transform->JoinFilterGraph(graph, WIDE_TEXT("delay"));
    FILTER_INFO filter_info{};
    ASSERT_EQ(transform->QueryFilterInfo(&filter_info), S_OK);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(filter_info.achName)), u"delay");
    EXPECT_EQ(filter_info.pGraph, graph);
    filter_info.pGraph->Release();
    transform->JoinFilterGraph(nullptr, nullptr);
    graph->Release();
}

} // namespace
