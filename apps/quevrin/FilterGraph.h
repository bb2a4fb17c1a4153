#pragma once

#include "host/dx/platform/com.h"

#include <string>

class AudioSource;
class PluginModule;

// Our one reference to a filter of this host, given up at the end of the scope.
class FilterReference {
public:
    explicit FilterReference(IBaseFilter* filter) : filter_(filter) {}
    FilterReference(const FilterReference&) = delete;
    FilterReference& operator=(const FilterReference&) = delete;
    ~FilterReference() { filter_->Release(); }

private:
    IBaseFilter* filter_;
};

// Throws InternalError naming `what` when hr is a failure.
void check(HRESULT hr, const char* what);

// The host's graph: our source, the plug-in's filter and a sink, connected
// and running from start() until stop() (or the end of the scope).
class FilterGraph {
public:
    FilterGraph(AudioSource& source, PluginModule& module, IBaseFilter& sink, IPin& sink_input);
    FilterGraph(const FilterGraph&) = delete;
    FilterGraph& operator=(const FilterGraph&) = delete;
    ~FilterGraph() { stop(); }

    // Connects and runs the three; throws UsageError naming `input` when the
    // filter does not take its format, InternalError for anything else.
    void start(const std::string& input);
    // Stops and disconnects everything; again does nothing.
    void stop();

private:
    AudioSource& source_;
    PluginModule& module_;
    IBaseFilter& sink_;
    IPin& sink_input_;
    bool started_ = false;
};
