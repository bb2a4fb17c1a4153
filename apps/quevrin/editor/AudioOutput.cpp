#include "AudioOutput.h"

#include "Options.h"

#include <portaudio.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace {

// The sound systems behind PortAudio (ALSA, JACK) write their probing of
// devices that are absent to stderr; while it lasts stderr goes nowhere, so
// that the user reads our one sentence.
class QuietStderr {
public:
    QuietStderr() : saved_(dup(STDERR_FILENO)) {
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null >= 0) {
            dup2(null, STDERR_FILENO);
            close(null);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;
    ~QuietStderr() {
        if (saved_ >= 0) {
            dup2(saved_, STDERR_FILENO);
            close(saved_);
        }
    }

private:
    int saved_;
};

// PortAudio's library, initialized for the lifetime of one object.
bool initialize(std::string& error) {
    const QuietStderr quiet;
    const PaError e = Pa_Initialize();
    if (e != paNoError) {
        error = Pa_GetErrorText(e);
        return false;
    }
    return true;
}

std::string device_text(PaDeviceIndex index) {
    const PaDeviceInfo* d = Pa_GetDeviceInfo(index);
    const PaHostApiInfo* api = Pa_GetHostApiInfo(d->hostApi);
    return std::string(d->name) + " (" + (api != nullptr ? api->name : "?") + ")";
}

// The output device a user named: an index, or the first whose name holds the text.
PaDeviceIndex find_device(const std::string& name) {
    if (name.empty())
        return Pa_GetDefaultOutputDevice();
    char* end = nullptr;
    const long index = std::strtol(name.c_str(), &end, 10);
    const int count = Pa_GetDeviceCount();
    if (*end == '\0' && index >= 0 && index < count)
        return Pa_GetDeviceInfo(PaDeviceIndex(index))->maxOutputChannels > 0 ? PaDeviceIndex(index)
                                                                             : paNoDevice;
    for (PaDeviceIndex i = 0; i < count; ++i) {
        const PaDeviceInfo* d = Pa_GetDeviceInfo(i);
        if (d->maxOutputChannels > 0 && std::string(d->name).find(name) != std::string::npos)
            return i;
    }
    return paNoDevice;
}

int play(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
         PaStreamCallbackFlags, void* self) {
    static_cast<AudioOutput*>(self)->pull(static_cast<float*>(output), frames);
    return paContinue;
}

// The clock takes the frames that are due this often.
constexpr auto clock_period = std::chrono::milliseconds(5);
// The most frames it takes at once, on the stack.
constexpr unsigned long clock_chunk = 512;

} // namespace

AudioOutput::AudioOutput(FrameRing& ring, int rate, const std::string& device)
    : ring_(ring), rate_(rate) {
    if (device == no_device) {
        description_ = "no device, paced by the clock";
        return;
    }
    std::string error;
    if (!initialize(error))
        throw UsageError("the audio system cannot start: " + error);
    library_.started = true;
    const PaDeviceIndex index = find_device(device);
    if (index == paNoDevice)
        throw UsageError(device.empty() ? std::string("there is no audio output device; "
                                                      "give --audio none to play silently")
                                        : "--audio: no output device \"" + device +
                                              "\"; see quevrin editor --list-audio-devices");
    PaStreamParameters out{};
    out.device = index;
    out.channelCount = FrameRing::channels;
    out.sampleFormat = paFloat32;
    out.suggestedLatency = Pa_GetDeviceInfo(index)->defaultLowOutputLatency;
    PaStream* stream = nullptr;
    const QuietStderr quiet;
    const PaError e = Pa_OpenStream(&stream, nullptr, &out, rate, paFramesPerBufferUnspecified,
                                    paNoFlag, &play, this);
    if (e != paNoError)
        throw UsageError(device_text(index) + " cannot play " + std::to_string(rate) +
                         " Hz stereo: " + Pa_GetErrorText(e));
    stream_ = stream;
    latency_ = Pa_GetStreamInfo(stream)->outputLatency;
    description_ = device_text(index);
}

AudioOutput::~AudioOutput() {
    stop();
    if (stream_ != nullptr)
        Pa_CloseStream(stream_);
}

AudioOutput::Library::~Library() {
    if (started) {
        const QuietStderr quiet;
        Pa_Terminate();
    }
}

void AudioOutput::start() {
    if (running_.exchange(true))
        return;
    if (stream_ == nullptr) {
        clock_ = std::thread(&AudioOutput::run_clock, this);
        return;
    }
    const PaError e = Pa_StartStream(stream_);
    if (e != paNoError) {
        running_ = false;
        throw UsageError(description_ + " cannot start: " + Pa_GetErrorText(e));
    }
}

void AudioOutput::stop() {
    if (!running_.exchange(false))
        return;
    if (stream_ != nullptr)
        Pa_StopStream(stream_);
    else
        clock_.join();
}

void AudioOutput::pull(float* out, unsigned long frames) {
    const std::size_t got = ring_.read(out, frames);
    if (got < frames) {
        underruns_.fetch_add(1, std::memory_order_relaxed);
        std::fill(out + got * FrameRing::channels, out + frames * FrameRing::channels, 0.0f);
    }
}

void AudioOutput::run_clock() {
    float scratch[clock_chunk * FrameRing::channels];
    const auto start = std::chrono::steady_clock::now();
    long long taken = 0;
    while (running_.load()) {
        std::this_thread::sleep_for(clock_period);
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        for (long long due = (long long)(elapsed * rate_) - taken; due > 0;) {
            const unsigned long n = (unsigned long)std::min<long long>(due, clock_chunk);
            pull(scratch, n);
            taken += n;
            due -= n;
        }
    }
}

std::vector<std::string> AudioOutput::list_devices() {
    std::string error;
    if (!initialize(error))
        throw UsageError("the audio system cannot start: " + error);
    const Library library{true};
    std::vector<std::string> lines;
    for (PaDeviceIndex i = 0; i < Pa_GetDeviceCount(); ++i)
        if (Pa_GetDeviceInfo(i)->maxOutputChannels > 0)
            lines.push_back(std::to_string(i) + "\t" + device_text(i));
    return lines;
}
