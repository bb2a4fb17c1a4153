#pragma once

// The skin's one palette: a warm light front panel with dark recessed
// displays, darker bands for the two delay lines, graphite knobs and one amber
// accent for whatever is lit.
namespace skingen::theme {

constexpr unsigned panel_hi = 0xE6E1D5;
constexpr unsigned panel_lo = 0xD2CCBE;
constexpr unsigned panel_line = 0xA9A293; // engraved separators on the panel
constexpr unsigned panel_shine = 0xF6F3EC;
constexpr unsigned ink = 0x2B2823;      // labels on the panel
constexpr unsigned ink_soft = 0x6A6358; // scales and minor labels on the panel

constexpr unsigned band_hi = 0x3C4147;
constexpr unsigned band_lo = 0x2B2F34;
constexpr unsigned band_line = 0x555C64;
constexpr unsigned band_ink = 0xE2DCCF;
constexpr unsigned band_ink_soft = 0x9BA1A8;

constexpr unsigned accent = 0xF39A2B;
constexpr unsigned accent_hi = 0xFFD08A;
constexpr unsigned accent_off = 0x6E5B45; // an unlit lamp

constexpr unsigned display = 0x101418;
constexpr unsigned display_edge = 0x05070A;
constexpr unsigned well = 0xF2EEE5; // light read-out well

constexpr unsigned knob_rim_hi = 0xB8BCC0;
constexpr unsigned knob_rim_lo = 0x474C52;
constexpr unsigned knob_cap_hi = 0x51565C;
constexpr unsigned knob_cap_lo = 0x1C1F22;
constexpr unsigned pointer = 0xF7F2E7;

constexpr unsigned key_hi = 0xF4F1EA; // push-button faces at rest
constexpr unsigned key_lo = 0xC4BDAE;

} // namespace skingen::theme
