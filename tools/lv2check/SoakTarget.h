#pragma once

#include <cstdint>
#include <random>
#include <string>

// What the soak drives: the plug-in through one of its adapters. The soak
// chooses the changes; a target makes them as its host would and runs the
// plug-in on one block at a time.
class SoakTarget {
public:
    // The gains that bound the output, in effect now (linear).
    struct Levels {
        double predelay = 0.0;
        double tap[4] = {0.0, 0.0, 0.0, 0.0};
        bool tap_modulated[4] = {false, false, false, false};
        double line[2] = {0.0, 0.0};
        bool two_lines = false;
    };

    virtual ~SoakTarget() = default;

    virtual const char* name() const = 0;
    // One in-range value on a parameter chosen at random; `what` gets a
    // line telling which (at most `size` bytes).
    virtual void change_random_parameter(std::mt19937& rng, char* what, std::size_t size) = 0;
    virtual int nbr_presets() const = 0;
    virtual std::string preset_name(int index) const = 0;
    virtual void apply_preset(int index) = 0;
    // A tempo as the host's transport sends it (where the host has one).
    virtual void send_tempo(double bpm) = 0;
    virtual Levels levels() const = 0;

    // The block's input, then the plug-in's processing of it (the call the
    // soak measures), then its output.
    virtual void prepare(const float* left, const float* right, std::uint32_t frames) = 0;
    virtual void process(std::uint32_t frames) = 0;
    virtual const float* output(int channel) const = 0;
};
