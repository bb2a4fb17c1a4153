// The filter as a host meets it through quevrin.so: class factory, identity
// and interfaces, the input types it takes, reconnection, the window table,
// persistence, the static presets and registration.
#include "FakeFilterGraph.h"
#include "ModuleGraph.h"
#include "effect/SampleRateLimit.h"
#include "host/dx/platform/MemoryStream.h"
#include "host/dx/platform/linux/FilterMapper.h"
#include "mppi/DspInterface.h"
#include "mppi/GuiInterface.h"
#include "mppi/HostGuiInterface.h"
#include "mppi/preset/BankManager.h"
#include "pengui/WindowInterface.h"
#include "support/ScopedEnv.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

using namespace dshow;
using namespace host::dx;

namespace {

std::u16string pin_id(IPin* pin) {
    LPWSTR id = nullptr;
    EXPECT_EQ(pin->QueryId(&id), S_OK);
    std::u16string text(reinterpret_cast<const char16_t*>(id));
    CoTaskMemFree(id);
    return text;
}

std::u16string pin_name(IPin* pin) {
    PIN_INFO info{};
    EXPECT_EQ(pin->QueryPinInfo(&info), S_OK);
    info.pFilter->Release();
    return reinterpret_cast<const char16_t*>(info.achName);
}

TEST_F(ModuleTest, offers_the_filter_class_and_its_interfaces) {
    IClassFactory* factory = nullptr;
    void* none = nullptr;
    EXPECT_EQ(module.get_class_object(CLSID_QuevrinPropertyPage, IID_IClassFactory, &none),
              CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(module.get_class_object(CLSID_Quevrin, IID_IClassFactory,
                                      reinterpret_cast<void**>(&factory)),
              S_OK);
    // Aggregation is only for IUnknown; any object can stand in as the outer one.
    void* aggregated = nullptr;
    EXPECT_EQ(factory->CreateInstance(filter, IID_IBaseFilter, &aggregated), E_NOINTERFACE);
    factory->Release();

    CLSID clsid{};
    EXPECT_EQ(persist->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_Quevrin);
    ULARGE_INTEGER size{};
    EXPECT_EQ(persist->GetSizeMax(&size), S_OK);
    EXPECT_EQ(size.QuadPart, 4116u);

    auto* pages_owner = query<ISpecifyPropertyPages>(filter, IID_ISpecifyPropertyPages);
    ASSERT_NE(pages_owner, nullptr);
    CAUUID pages{};
    EXPECT_EQ(pages_owner->GetPages(&pages), S_OK);
    ASSERT_EQ(pages.cElems, 1u);
    EXPECT_EQ(pages.pElems[0], CLSID_QuevrinPropertyPage);
    CoTaskMemFree(pages.pElems);
    pages_owner->Release();

    EXPECT_EQ(pin_name(input), u"Input");
    EXPECT_EQ(pin_id(input), u"In");
    EXPECT_EQ(pin_name(output), u"Output");
    EXPECT_EQ(pin_id(output), u"Output");
    EXPECT_EQ(input->QueryInternalConnections(nullptr, nullptr), E_NOTIMPL);
    EXPECT_FALSE(prop->HasNoDsp());
    // The editor window, made at 100 x 100, has the editor's size once built.
    ASSERT_NE(prop->GetEditorWindow(), nullptr);
    EXPECT_EQ(prop->GetEditorWindow()->window_width(), 500);
    EXPECT_EQ(prop->GetEditorWindow()->window_height(), 422);
    EXPECT_EQ(prop->GetEditorWindow(), prop->GetGui()->get_window());
    EXPECT_EQ(prop->GetDsp()->get_nbr_param(), 121);
    EXPECT_EQ(prop->GetGui()->get_dsp(), prop->GetDsp());
    WAVEFORMATEX format{};
    EXPECT_EQ(prop->GetPinFormat(&format, 0), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(prop->GetPinFormat(&format, 2), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
}

TEST_F(ModuleTest, takes_only_16_bit_pcm_or_32_bit_float_in_one_or_two_channels) {
    struct Case {
        WORD tag;
        WORD channels;
        WORD bits;
        HRESULT expected;
    };
    const Case cases[] = {
        {WAVE_FORMAT_PCM, 1, 16, S_OK},           {WAVE_FORMAT_PCM, 2, 16, S_OK},
        {WAVE_FORMAT_IEEE_FLOAT, 1, 32, S_OK},    {WAVE_FORMAT_IEEE_FLOAT, 2, 32, S_OK},
        {WAVE_FORMAT_PCM, 2, 8, S_FALSE},         {WAVE_FORMAT_PCM, 2, 24, S_FALSE},
        {WAVE_FORMAT_PCM, 2, 32, S_FALSE},        {WAVE_FORMAT_IEEE_FLOAT, 2, 64, S_FALSE},
        {WAVE_FORMAT_IEEE_FLOAT, 2, 16, S_FALSE}, {WAVE_FORMAT_PCM, 3, 16, S_FALSE},
        {WAVE_FORMAT_IEEE_FLOAT, 0, 32, S_FALSE}, {2, 2, 16, S_FALSE},
    };
    for (const Case& c : cases) {
        const CMediaType type = make_audio_type(c.tag, c.channels, 44100, c.bits);
        EXPECT_EQ(input->QueryAccept(&type), c.expected)
            << "tag " << c.tag << ", " << c.channels << " channels, " << c.bits << " bits";
    }
    CMediaType compressed = make_audio_type(WAVE_FORMAT_PCM, 2, 44100, 16);
    compressed.SetTemporalCompression(TRUE);
    EXPECT_EQ(input->QueryAccept(&compressed), S_FALSE);
    CMediaType short_format = make_audio_type(WAVE_FORMAT_PCM, 2, 44100, 16);
    short_format.ReallocFormatBuffer(14);
    EXPECT_EQ(input->QueryAccept(&short_format), S_FALSE);
    CMediaType exact_16 = make_audio_type(WAVE_FORMAT_PCM, 2, 8000, 16);
    exact_16.ReallocFormatBuffer(16);
    EXPECT_EQ(input->QueryAccept(&exact_16), S_OK) << "the 16 leading bytes suffice";
    CMediaType video = make_audio_type(WAVE_FORMAT_PCM, 2, 44100, 16);
    video.SetType(&MEDIATYPE_NULL);
    EXPECT_EQ(input->QueryAccept(&video), S_FALSE);
}

// Any rate the engine serves, 1 Hz to past 2 MHz (a format's rate is a whole
// number of Hz); none where its delay memory would pass the limit.
TEST_F(ModuleTest, takes_every_sample_rate_the_engine_serves_and_no_other) {
    const auto top = DWORD(effect::SampleRateLimit::max_rate());
    struct Case {
        DWORD rate;
        HRESULT expected;
    };
    const Case cases[] = {
        {1, S_OK},          {44100, S_OK}, {768000, S_OK},        {top, S_OK},
        {top + 1, S_FALSE}, {0, S_FALSE},  {1000000000, S_FALSE}, {0xFFFFFFFFu, S_FALSE}};
    for (const Case& c : cases) {
        const CMediaType type = make_audio_type(WAVE_FORMAT_IEEE_FLOAT, 2, c.rate, 32);
        EXPECT_EQ(input->QueryAccept(&type), c.expected) << c.rate << " Hz";
    }
}

// Extensible types are taken exactly when their plain form would be: 16-bit
// PCM or 32-bit float, every bit valid, one or two channels.
TEST_F(ModuleTest, takes_extensible_types_only_as_their_plain_forms) {
    struct Case {
        const GUID* subformat;
        WORD channels;
        WORD bits;
        WORD valid_bits;
        HRESULT expected;
    };
    const GUID& pcm = KSDATAFORMAT_SUBTYPE_PCM;
    const GUID& ieee = KSDATAFORMAT_SUBTYPE_IEEE_FLOAT;
    const Case cases[] = {
        {&pcm, 1, 16, 16, S_OK},
        {&pcm, 2, 16, 16, S_OK},
        {&ieee, 1, 32, 32, S_OK},
        {&ieee, 2, 32, 32, S_OK},
        {&pcm, 2, 16, 12, S_FALSE},
        {&pcm, 2, 16, 0, S_FALSE},
        {&pcm, 2, 24, 24, S_FALSE},
        {&pcm, 2, 32, 32, S_FALSE},
        {&pcm, 2, 32, 24, S_FALSE},
        {&ieee, 2, 32, 24, S_FALSE},
        {&ieee, 2, 64, 64, S_FALSE},
        {&ieee, 2, 16, 16, S_FALSE},
        {&pcm, 3, 16, 16, S_FALSE},
        {&ieee, 0, 32, 32, S_FALSE},
        {&MEDIATYPE_Audio, 2, 16, 16, S_FALSE},
        {&FORMAT_WaveFormatEx, 2, 32, 32, S_FALSE},
    };
    for (const Case& c : cases) {
        const CMediaType type =
            make_extensible_type(*c.subformat, c.channels, 44100, c.bits, c.valid_bits);
        EXPECT_EQ(input->QueryAccept(&type), c.expected)
            << (c.subformat == &pcm    ? "PCM"
                : c.subformat == &ieee ? "float"
                                       : "other")
            << ", " << c.channels << " channels, " << c.bits << " bits, " << c.valid_bits
            << " valid";
    }
    // The extension must be there and declared.
    CMediaType cut = make_extensible_type(pcm, 2, 44100, 16, 16);
    cut.ReallocFormatBuffer(sizeof(WAVEFORMATEXTENSIBLE) - 1);
    EXPECT_EQ(input->QueryAccept(&cut), S_FALSE);
    CMediaType undeclared = make_extensible_type(ieee, 2, 44100, 32, 32);
    reinterpret_cast<WAVEFORMATEX*>(undeclared.Format())->cbSize = 0;
    EXPECT_EQ(input->QueryAccept(&undeclared), S_FALSE);
}

TEST_F(ModuleTest, offers_stereo_of_the_input_format_and_records_both_formats) {
    build(make_audio_type(WAVE_FORMAT_IEEE_FLOAT, 1, 96000, 32), 2, 4096);
    WAVEFORMATEX in{};
    WAVEFORMATEX out{};
    ASSERT_EQ(prop->GetPinFormat(&in, 0), S_OK);
    ASSERT_EQ(prop->GetPinFormat(&out, 1), S_OK);
    EXPECT_EQ(in.nChannels, 1);
    EXPECT_EQ(out.wFormatTag, WAVE_FORMAT_IEEE_FLOAT);
    EXPECT_EQ(out.nChannels, 2);
    EXPECT_EQ(out.nSamplesPerSec, 96000u);
    EXPECT_EQ(out.nBlockAlign, 8);
    EXPECT_EQ(out.nAvgBytesPerSec, 768000u);
    EXPECT_EQ(out.cbSize, 0);
    AM_MEDIA_TYPE connected{};
    ASSERT_EQ(output->ConnectionMediaType(&connected), S_OK);
    CMediaType type(connected);
    FreeMediaType(connected);
    EXPECT_EQ(wave_format(type)->nChannels, 2);
    // Position 1 and beyond: nothing more; a negative position is wrong.
    IEnumMediaTypes* types = nullptr;
    ASSERT_EQ(output->EnumMediaTypes(&types), S_OK);
    AM_MEDIA_TYPE* offered[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(types->Next(2, offered, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 1u);
    DeleteMediaType(offered[0]);
    types->Release();
}

TEST_F(ModuleTest, a_new_input_type_reconnects_the_output_through_the_graph) {
    FakeFilterGraph graph;
    ASSERT_EQ(filter->JoinFilterGraph(&graph, WIDE_TEXT("Quevrin")), S_OK);
    build(make_audio_type(WAVE_FORMAT_PCM, 2, 44100, 16), 2, 4096);
    source->output()->Disconnect();
    input->Disconnect();
    source->Release();
    source = TestSourceFilter::create(make_audio_type(WAVE_FORMAT_PCM, 1, 48000, 16), 2, 4096);
    ASSERT_EQ(source->output()->Connect(input, nullptr), S_OK);
    EXPECT_EQ(graph.pending(), 1u);
    ASSERT_EQ(graph.perform_reconnects(), S_OK);
    WAVEFORMATEX out{};
    ASSERT_EQ(prop->GetPinFormat(&out, 1), S_OK);
    EXPECT_EQ(out.nSamplesPerSec, 48000u);
    EXPECT_EQ(out.nChannels, 2);
    filter->JoinFilterGraph(nullptr, nullptr);

    // Outside a graph there is nobody to reconnect the output: the input refuses.
    source->output()->Disconnect();
    input->Disconnect();
    source->Release();
    const CMediaType other = make_audio_type(WAVE_FORMAT_PCM, 2, 22050, 16);
    source = TestSourceFilter::create(other, 2, 4096);
    EXPECT_EQ(source->output()->Connect(input, &other), VFW_E_NOT_IN_GRAPH);
    IPin* peer = nullptr;
    EXPECT_EQ(input->ConnectedTo(&peer), VFW_E_NOT_CONNECTED);
}

TEST_F(ModuleTest, the_state_block_is_copied_in_and_out_whole) {
    BYTE block[ISfPlugInProp::state_block_size];
    for (int i = 0; i < ISfPlugInProp::state_block_size; ++i) {
        block[i] = static_cast<BYTE>(i * 7);
    }
    EXPECT_EQ(prop->SetStateBlock(block), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_OK);
    BYTE copy[ISfPlugInProp::state_block_size] = {};
    EXPECT_EQ(prop->GetStateBlock(copy), S_OK);
    EXPECT_EQ(std::memcmp(block, copy, sizeof block), 0);
}

TEST_F(ModuleTest, save_then_load_restores_the_program) {
    mppi::HostGuiInterface* host = prop->GetGui()->get_host();
    for (int i : {0, 5, 40, 120}) {
        ASSERT_TRUE(host->set_param(i, 0.125f + i / 200.0f, 200));
    }
    const std::vector<float> saved = program_values();
    MemoryStream stream;
    ASSERT_EQ(persist->Save(&stream, TRUE), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    const std::vector<BYTE>& bytes = stream.bytes();
    ASSERT_EQ(bytes.size(), 4116u);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + 4),
              (std::vector<BYTE>{0x14, 0x10, 0, 0}));
    // The interface id in its binary layout: 4BB46EC9-0BE6-443F-96E3-0EF91ED83E7E.
    const std::vector<BYTE> id = {0xC9, 0x6E, 0xB4, 0x4B, 0xE6, 0x0B, 0x3F, 0x44,
                                  0x96, 0xE3, 0x0E, 0xF9, 0x1E, 0xD8, 0x3E, 0x7E};
    EXPECT_EQ(std::vector<BYTE>(bytes.begin() + 4, bytes.begin() + 20), id);
    EXPECT_EQ(std::string(bytes.begin() + 20, bytes.begin() + 24), "Vntl");
    // The program record: header word 0, name field 64, 121 values, no extra data.
    EXPECT_EQ(std::vector<BYTE>(bytes.begin() + 24, bytes.begin() + 36),
              (std::vector<BYTE>{0, 0, 0, 0, 0, 64, 0, 121, 0, 0, 0, 0}));

    for (int i : {0, 5, 40, 120}) {
        ASSERT_TRUE(host->set_param(i, 0.9f, 200));
    }
    ASSERT_NE(program_values(), saved);
    stream.rewind();
    ASSERT_EQ(persist->Load(&stream), S_OK);
    EXPECT_EQ(program_values(), saved);
    EXPECT_EQ(persist->IsDirty(), S_OK);

    // Saving without clearing leaves the filter dirty.
    MemoryStream again;
    ASSERT_EQ(persist->Save(&again, FALSE), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_OK);
    EXPECT_EQ(again.bytes(), stream.bytes());
}

TEST_F(ModuleTest, a_damaged_stream_is_refused_and_the_program_stays) {
    MemoryStream good;
    ASSERT_EQ(persist->Save(&good, TRUE), S_OK);
    mppi::HostGuiInterface* host = prop->GetGui()->get_host();
    ASSERT_TRUE(host->set_param(3, 0.75f, 200));
    const std::vector<float> before = program_values();

    struct Case {
        const char* what;
        std::size_t offset; // byte changed, or the length kept when truncating
        BYTE value;
        bool truncate;
        std::size_t fail_after; // reads beyond this fail; 0: never
        HRESULT expected;
    };
    const Case cases[] = {
        {"size field", 0, 0x15, false, 0, E_FAIL},
        {"interface id", 9, 0x00, false, 0, E_FAIL},
        {"magic", 21, 'N', false, 0, E_FAIL},
        {"value count past the block", 30, 0xFF, false, 0, E_FAIL},
        {"name field past the block", 28, 0xFF, false, 0, E_FAIL},
        {"extra length past the block", 32, 0x7F, false, 0, E_FAIL},
        {"short header", 19, 0, true, 0, E_FAIL},
        {"short state block", 4115, 0, true, 0, E_FAIL},
        {"empty stream", 0, 0, true, 0, E_FAIL},
        {"header read fault", 0, 0, false, 10, STG_E_READFAULT},
        {"block read fault", 0, 0, false, 100, STG_E_READFAULT},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> bytes = good.bytes();
        if (c.truncate) {
            bytes.resize(c.offset);
        } else if (c.fail_after == 0) {
            bytes[c.offset] = c.value;
        }
        MemoryStream stream(bytes);
        if (c.fail_after != 0) {
            stream.fail_after(c.fail_after);
        }
        EXPECT_EQ(persist->Load(&stream), c.expected) << c.what;
        EXPECT_EQ(program_values(), before) << c.what;
    }
    EXPECT_EQ(persist->Load(nullptr), E_POINTER);
}

TEST_F(ModuleTest, a_loaded_program_always_saves_again) {
    // A record with no name, no values and 3840 extra bytes fits the state
    // block, but with the filter's 121 values it would not: the extra bytes
    // (which this effect never writes) are dropped and the state saves.
    MemoryStream good;
    ASSERT_EQ(persist->Save(&good, TRUE), S_OK);
    std::vector<BYTE> bytes = good.bytes();
    const BYTE record_header[] = {0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0x0F, 0x00};
    std::copy(std::begin(record_header), std::end(record_header), bytes.begin() + 24);
    MemoryStream forged(bytes);
    ASSERT_EQ(persist->Load(&forged), S_OK);
    MemoryStream saved;
    ASSERT_EQ(persist->Save(&saved, TRUE), S_OK);
    EXPECT_EQ(std::vector<BYTE>(saved.bytes().begin() + 30, saved.bytes().begin() + 36),
              (std::vector<BYTE>{0, 121, 0, 0, 0, 0}));
    saved.rewind();
    EXPECT_EQ(persist->Load(&saved), S_OK);
}

TEST_F(ModuleTest, save_returns_a_write_failure_and_stays_dirty) {
    mppi::HostGuiInterface* host = prop->GetGui()->get_host();
    ASSERT_TRUE(host->set_param(3, 0.75f, 200));
    MemoryStream stream;
    stream.fail_after(100);
    EXPECT_EQ(persist->Save(&stream, TRUE), STG_E_WRITEFAULT);
    EXPECT_EQ(persist->IsDirty(), S_OK);
}

TEST_F(ModuleTest, offers_the_built_in_programs_as_static_presets) {
    const mppi::BankManager bank = built_in_presets();
    LONG count = -1;
    ASSERT_EQ(presets->GetPresetCount(&count), S_OK);
    EXPECT_EQ(count, bank.get_nbr_progs());
    WCHAR name[64];
    EXPECT_EQ(presets->GetPresetName(count, name, 64), E_INVALIDARG);
    EXPECT_EQ(presets->GetPresetName(-1, name, 64), E_INVALIDARG);
    EXPECT_EQ(presets->SetPreset(count), E_INVALIDARG);
    EXPECT_EQ(presets->SetPreset(-1), E_INVALIDARG);
    for (LONG i = 0; i < count; ++i) {
        ASSERT_EQ(presets->GetPresetName(i, name, 64), S_OK);
        const std::string& expected = bank.use_prog(i).get_prog_name();
        EXPECT_EQ(std::u16string(name), std::u16string(expected.begin(), expected.end()));
        ASSERT_EQ(presets->SetPreset(i), S_OK);
        EXPECT_EQ(prop->GetDsp()->get_prog_name(), expected);
        EXPECT_EQ(program_values(), bank.use_prog(i).values()) << expected;
    }
    if (count > 0) {
        // The host's choice holds against a morph step for a while.
        EXPECT_FALSE(prop->GetGui()->get_host()->set_param(7, 0.5f, 150));
        EXPECT_EQ(presets->GetPresetName(0, name, 1), HRESULT_FROM_WIN32(122));
        EXPECT_EQ(name[0], 0);
    }
}

TEST_F(ModuleTest, registers_and_unregisters_the_filter) {
    const std::string registry =
        (std::filesystem::temp_directory_path() / "quevrin-module-test-registry").string();
    std::filesystem::remove(registry);
    const test::ScopedEnv registry_env("QUEVRIN_REGISTRY", registry);

    ASSERT_EQ(module.register_server(), S_OK);
    HKEY key = nullptr;
    const char* server = "CLSID\\{9E31934C-1F03-4982-AA63-C00C94C206C7}\\InprocServer32";
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, server, 0, KEY_READ, &key), ERROR_SUCCESS);
    char text[4096];
    DWORD size = sizeof text;
    ASSERT_EQ(
        RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(std::string(text), module.path);
    size = sizeof text;
    ASSERT_EQ(RegQueryValueExA(key, "ThreadingModel", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(text), "Both");
    RegCloseKey(key);

    const auto filters = comshim::registered_filters();
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].clsid, CLSID_Quevrin);
    EXPECT_EQ(filters[0].name, u"VANTREL - Quevrin");
    EXPECT_EQ(filters[0].merit, 0x00200000u);
    ASSERT_EQ(filters[0].pins.size(), 2u);
    EXPECT_EQ(filters[0].pins[0].name, u"Input");
    EXPECT_FALSE(filters[0].pins[0].output);
    EXPECT_EQ(filters[0].pins[0].connects_to_pin, u"Output");
    EXPECT_EQ(filters[0].pins[1].name, u"Output");
    EXPECT_TRUE(filters[0].pins[1].output);
    ASSERT_EQ(filters[0].pins[1].media_types.size(), 1u);
    EXPECT_EQ(filters[0].pins[1].media_types[0].first, MEDIATYPE_Audio);

    ASSERT_EQ(module.register_server(), S_OK) << "registering again replaces the entries";
    EXPECT_EQ(comshim::registered_filters().size(), 1u);

    ASSERT_EQ(module.unregister_server(), S_OK);
    EXPECT_TRUE(comshim::registered_filters().empty());
    EXPECT_NE(RegOpenKeyExA(HKEY_CLASSES_ROOT, server, 0, KEY_READ, &key), ERROR_SUCCESS);
    std::filesystem::remove(registry);
}

} // namespace
