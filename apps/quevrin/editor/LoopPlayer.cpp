#include "LoopPlayer.h"

#include "AudioSource.h"
#include "PluginModule.h"
#include "RingSink.h"

#include <sys/eventfd.h>
#include <unistd.h>

namespace {
// Frames per buffer the source delivers: small, so that a turned knob is
// heard soon.
constexpr int buffer_frames = 256;
} // namespace

LoopPlayer::LoopPlayer(PluginModule& module, const std::string& input, FrameRing& ring)
    : input_(input), source_(AudioSource::create(input_.media_type(), buffer_frames, 0)),
      source_reference_(source_), sink_(RingSink::create(ring)), sink_reference_(sink_),
      graph_(*source_, module, *sink_, *sink_->input()),
      buffer_(std::size_t(buffer_frames) * std::size_t(input_.frame_bytes())),
      failure_fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (failure_fd_ < 0)
        throw InternalError("no event for the player");
}

LoopPlayer::~LoopPlayer() {
    stop();
    close(failure_fd_);
}

void LoopPlayer::start() {
    graph_.start(input_.name());
    thread_ = std::thread(&LoopPlayer::run, this);
}

void LoopPlayer::stop() {
    stopping_.store(true);
    sink_->cancel();
    if (thread_.joinable())
        thread_.join();
    graph_.stop();
}

void LoopPlayer::run() {
    bool empty_pass = true; // nothing read since the last rewind
    while (!stopping_.load()) {
        const long n = input_.read(buffer_, buffer_frames);
        if (n <= 0) {
            if (empty_pass || !input_.rewind()) {
                fail();
                return;
            }
            empty_pass = true;
            continue;
        }
        empty_pass = false;
        const HRESULT hr = source_->push(buffer_.data(), n);
        if (hr != S_OK) {
            if (!stopping_.load())
                fail();
            return;
        }
    }
}

void LoopPlayer::fail() {
    failed_.store(true);
    const eventfd_t one = 1;
    [[maybe_unused]] const ssize_t n = write(failure_fd_, &one, sizeof one);
}
