// A test source -> Quevrin (from the loaded module) -> test sink chain,
// connected pin to pin as a graph would, and torn down so that every object
// of the module and of the test is released.
#pragma once

#include "LoadedModule.h"
#include "mppi/preset/BankManager.h"
#include "platform/AudioTypes.h"
#include "platform/TestSinkFilter.h"
#include "platform/TestSourceFilter.h"

#include <gtest/gtest.h>

#include <vector>

// The built-in programs, decoded from this program's own copy of the resource.
mppi::BankManager built_in_presets();

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Releases everything, then checks nothing is left alive on either side.
    void TearDown() override;

    // A new filter with its interfaces; the pins are looked up by id.
    void create_filter();
    // Source and sink around the filter (created when missing), both connected.
    void build(const dshow::CMediaType& type, LONG buffers, LONG buffer_size);
    // As a graph does: downstream filters change state first.
    void run();
    void stop();
    // Releases the filter's pins and interfaces and the filter itself.
    void release_filter();
    // Stops, then releases the source, the filter and the sink.
    void release_chain();

    // The DSP's current program, through ISfPlugInProp.
    std::vector<float> program_values();

    LoadedModule& module = LoadedModule::get();
    LONG baseline = 0;
    IBaseFilter* filter = nullptr;
    IPin* input = nullptr;
    IPin* output = nullptr;
    host::dx::ISfPlugInProp* prop = nullptr;
    IPersistStream* persist = nullptr;
    host::dx::IStaticFilterPreset* presets = nullptr;
    TestSourceFilter* source = nullptr;
    TestSinkFilter* sink = nullptr;
};
