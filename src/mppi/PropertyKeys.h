#pragma once

namespace mppi {

// Capability keys through which the two sides of a plug-in and the host
// negotiate; answered as a number (0.0 meaning no) or as text.
namespace property {
constexpr const char* can_tempo = "can_tempo";
constexpr const char* can_resize_window = "can_resize_window";
constexpr const char* can_mono = "can_mono";
constexpr const char* can_scaled_val = "can_scaled_val";
constexpr const char* plugin_version = "plugin_version";
constexpr const char* plugin_name = "plugin_name";
} // namespace property

} // namespace mppi
