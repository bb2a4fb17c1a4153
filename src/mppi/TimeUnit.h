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

    int get_unit_mode() const { return unit_.load(std::memory_order_relaxed); }
    void set_unit_mode(int unit) { unit_.store(unit, std::memory_order_relaxed); }
    // "s", "beat" or "ms".
    std::string get_unit_name() const;

    double get_tempo() const { return tempo_.load(std::memory_order_relaxed); }
    void set_tempo_value(double bpm) { tempo_.store(bpm, std::memory_order_relaxed); }

    double sec_to_beats(double s) const { return s * get_tempo() * (1.0 / 60.0); }
    double beats_to_sec(double b) const { return b * 60.0 / get_tempo(); }

    // A duration in the current unit, at most `width` characters; may be empty
    // when nothing fits.
    std::string format(double seconds, int width) const;
    // A typed duration in seconds. "ms" in the text means milliseconds, else an
    // "s" means seconds, else the current unit; beats may be written "3/4" or
    // "1 1/2". `ok` is false for text that is not a non-negative duration.
    double parse(const std::string& text, bool& ok) const;

private:
    std::string format_beats(double c, int width) const;

    std::atomic<int> unit_{milliseconds};
    std::atomic<double> tempo_{120.0};
};

} // namespace mppi
