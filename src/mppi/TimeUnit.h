#pragma once

#include <atomic>
#include <string>

namespace mppi {

// The plug-in's display unit and tempo. Converts seconds and beats, writes a
// duration for a text field of limited width (beats as musical fractions) and
// reads a typed duration. One per plug-in, shared by every time-valued
// parameter; the editor thread writes it, the audio thread reads the tempo.
class TimeUnit {
public:
    enum Unit { seconds = 0, beats = 1, milliseconds = 2 };

    // [any thread]
    int get_unit_mode() const noexcept { return unit_.load(std::memory_order_relaxed); }
    // [editor thread]
    void set_unit_mode(int unit) noexcept { unit_.store(unit, std::memory_order_relaxed); }
    // [editor thread] "s", "beat" or "ms".
    std::string get_unit_name() const;

    // [any thread]
    double get_tempo() const noexcept { return tempo_.load(std::memory_order_relaxed); }
    // [editor thread]
    void set_tempo_value(double bpm) noexcept { tempo_.store(bpm, std::memory_order_relaxed); }

    // [any thread]
    double sec_to_beats(double s) const noexcept { return s * get_tempo() * (1.0 / 60.0); }
    // [any thread]
    double beats_to_sec(double b) const noexcept { return b * 60.0 / get_tempo(); }

    // [editor thread] A duration in the current unit, at most `width` characters; may be empty
    // when nothing fits.
    std::string format(double seconds, int width) const;
    // [editor thread] A typed duration in seconds. "ms" in the text means milliseconds, else an
    // "s" means seconds, else the current unit; beats may be written "3/4" or
    // "1 1/2". `ok` is false for text that is not a non-negative duration.
    double parse(const std::string& text, bool& ok) const;

private:
    std::string format_beats(double c, int width) const;

    std::atomic<int> unit_{milliseconds};
    std::atomic<double> tempo_{120.0};
};

} // namespace mppi
