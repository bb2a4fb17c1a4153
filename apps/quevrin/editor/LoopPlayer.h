#pragma once

#include "AudioInput.h"
#include "FilterGraph.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

class AudioSource;
class FrameRing;
class PluginModule;
class RingSink;

// An input file played in a loop through the plug-in's filter into a ring:
// the graph render drives (our source, the filter, a sink), streaming on a
// thread of its own, which waits while the ring is full.
class LoopPlayer {
public:
    // [editor thread] Throws UsageError when the input cannot be played.
    LoopPlayer(PluginModule& module, const std::string& input, FrameRing& ring);
    LoopPlayer(const LoopPlayer&) = delete;
    LoopPlayer& operator=(const LoopPlayer&) = delete;
    ~LoopPlayer();

    int rate() const { return input_.rate(); }
    // [editor thread] Connects and runs the graph, then starts streaming;
    // throws UsageError when the filter refuses the input's format.
    void start();
    // [editor thread] Ends the streaming thread, then the graph; again does nothing.
    void stop();
    // [any thread] The stream broke off (a delivery failed, the input could not
    // be read again from its start).
    bool failed() const { return failed_.load(); }
    // [any thread] Readable once the stream broke off, to wait on.
    int failure_fd() const { return failure_fd_; }

private:
    // [audio thread]
    void run();
    void fail();

    AudioInput input_;
    AudioSource* source_;
    FilterReference source_reference_;
    RingSink* sink_;
    FilterReference sink_reference_;
    FilterGraph graph_;
    std::vector<unsigned char> buffer_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> failed_{false};
    int failure_fd_;
};
