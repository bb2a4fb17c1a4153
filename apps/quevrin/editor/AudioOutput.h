#pragma once

#include "FrameRing.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

// Where the live player's frames go: a PortAudio output stream whose
// callback reads the ring, or, for machines without sound and for tests, a
// clock that takes the frames at the sample rate and discards them. Either
// way a read that finds fewer frames than it needs is an underrun.
class AudioOutput {
public:
    // The device name that asks for the clock.
    static constexpr const char* no_device = "none";

    // [editor thread] An output of stereo frames at `rate` reading `ring`:
    // device is empty (the default output), "none", an index or part of a
    // name as list_devices() gives it. Throws UsageError naming what failed.
    AudioOutput(FrameRing& ring, int rate, const std::string& device);
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;
    ~AudioOutput();

    // [editor thread] Starts reading; throws UsageError when the device refuses.
    void start();
    // [editor thread] Stops reading; again does nothing.
    void stop();

    // [any thread] The reads that found the ring short since start().
    long long underruns() const { return underruns_.load(std::memory_order_relaxed); }
    // [editor thread] The output's own latency in seconds (0 for the clock),
    // and what it plays on ("device (host API)").
    double latency() const { return latency_; }
    const std::string& description() const { return description_; }

    // [audio thread] Fills `frames` stereo frames from the ring, silence
    // where it is short.
    void pull(float* out, unsigned long frames);

    // [editor thread] One line per output device: index, name, host API.
    static std::vector<std::string> list_devices();

private:
    void run_clock();

    // PortAudio initialized for as long as it is held, however the
    // constructor ends.
    struct Library {
        bool started = false;
        ~Library();
    };

    FrameRing& ring_;
    const int rate_;
    Library library_;
    void* stream_ = nullptr; // PortAudio's stream; null for the clock
    std::thread clock_;
    std::atomic<bool> running_{false};
    std::atomic<long long> underruns_{0};
    double latency_ = 0.0;
    std::string description_;
};
