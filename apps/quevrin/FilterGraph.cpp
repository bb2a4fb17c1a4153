#include "FilterGraph.h"

#include "AudioSource.h"
#include "Options.h"
#include "PluginModule.h"
#include "effect/SampleRateLimit.h"

void check(HRESULT hr, const char* what) {
    if (FAILED(hr))
        throw InternalError(std::string(what) + " failed (" + std::to_string(long(hr)) + ")");
}

FilterGraph::FilterGraph(AudioSource& source, PluginModule& module, IBaseFilter& sink,
                         IPin& sink_input)
    : source_(source), module_(module), sink_(sink), sink_input_(sink_input) {}

void FilterGraph::start(const std::string& input) {
    started_ = true;
    if (source_.output()->Connect(module_.input(), nullptr) != S_OK) {
        // The filter refuses a rate the engine cannot serve: say so.
        const auto* format = reinterpret_cast<const WAVEFORMATEX*>(source_.type().Format());
        const std::string why = effect::SampleRateLimit::refusal(double(format->nSamplesPerSec));
        throw UsageError(input + ": " +
                         (why.empty() ? "the filter does not take this audio format" : why));
    }
    check(module_.output()->Connect(&sink_input_, nullptr), "connecting the output");
    check(sink_.Pause(), "pausing the sink");
    check(module_.filter()->Pause(), "pausing the filter");
    check(source_.Pause(), "pausing the source");
    check(sink_.Run(0), "running the sink");
    check(module_.filter()->Run(0), "running the filter");
    check(source_.Run(0), "running the source");
}

void FilterGraph::stop() {
    if (!started_)
        return;
    started_ = false;
    source_.Stop();
    module_.filter()->Stop();
    sink_.Stop();
    source_.output()->Disconnect();
    module_.input()->Disconnect();
    module_.output()->Disconnect();
    sink_input_.Disconnect();
}
