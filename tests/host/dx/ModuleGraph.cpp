#include "ModuleGraph.h"

#include "mppi/DspInterface.h"
#include "mppi/preset/BankFile.h"
#include "mppi/preset/ProgramSlot.h"
#include "sys/Resource.h"

namespace {

template <typename T>
void release(T*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

} // namespace

mppi::BankManager built_in_presets() {
    mppi::BankManager bank;
    bank.set_nbr_progs(0);
    std::size_t size = 0;
    if (const void* data = sys::get_ressource("VNPB", "static_presets", &size)) {
        EXPECT_EQ(mppi::load_bank_memory(data, size, bank, false), mppi::bank_ok);
    }
    return bank;
}

void ModuleTest::SetUp() {
    baseline = dshow::CBaseObject::ObjectsActive();
    create_filter();
}

void ModuleTest::create_filter() {
    filter = module.create_filter();
    ASSERT_NE(filter, nullptr);
    ASSERT_EQ(filter->FindPin(WIDE_TEXT("In"), &input), S_OK);
    ASSERT_EQ(filter->FindPin(WIDE_TEXT("Output"), &output), S_OK);
    prop = query<host::dx::ISfPlugInProp>(filter, host::dx::IID_ISfPlugInProp);
    persist = query<IPersistStream>(filter, IID_IPersistStream);
    presets = query<host::dx::IStaticFilterPreset>(filter, host::dx::IID_IStaticFilterPreset);
    ASSERT_NE(prop, nullptr);
    ASSERT_NE(persist, nullptr);
    ASSERT_NE(presets, nullptr);
}

void ModuleTest::build(const dshow::CMediaType& type, LONG buffers, LONG buffer_size) {
    source = TestSourceFilter::create(type, buffers, buffer_size);
    sink = TestSinkFilter::create();
    ASSERT_EQ(source->output()->Connect(input, nullptr), S_OK);
    ASSERT_EQ(output->Connect(sink->input(), nullptr), S_OK);
}

void ModuleTest::run() {
    EXPECT_EQ(sink->Pause(), S_OK);
    EXPECT_EQ(filter->Pause(), S_OK);
    EXPECT_EQ(source->Pause(), S_OK);
    EXPECT_EQ(sink->Run(0), S_OK);
    EXPECT_EQ(filter->Run(0), S_OK);
    EXPECT_EQ(source->Run(0), S_OK);
}

void ModuleTest::stop() {
    if (source != nullptr) {
        source->Stop();
    }
    if (filter != nullptr) {
        filter->Stop();
    }
    if (sink != nullptr) {
        sink->Stop();
    }
}

void ModuleTest::release_chain() {
    stop();
    if (source != nullptr) {
        source->output()->Disconnect();
    }
    if (sink != nullptr) {
        sink->input()->Disconnect();
    }
    release_filter();
    release(source);
    release(sink);
}

void ModuleTest::release_filter() {
    if (input != nullptr) {
        input->Disconnect();
    }
    if (output != nullptr) {
        output->Disconnect();
    }
    release(input);
    release(output);
    release(prop);
    release(persist);
    release(presets);
    release(filter);
}

void ModuleTest::TearDown() {
    release_chain();
    EXPECT_EQ(module.can_unload_now(), S_OK) << "the module still has live objects";
    EXPECT_EQ(dshow::CBaseObject::ObjectsActive(), baseline) << "test objects left alive";
}

std::vector<float> ModuleTest::program_values() {
    mppi::ProgramSlot program;
    prop->GetDsp()->store_prog(program);
    return program.values();
}
