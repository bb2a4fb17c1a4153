#pragma once

#include "mppi/preset/BankManager.h"

namespace host::dx {

// The built-in programs offered to hosts as static presets, decoded from the
// module resource "static_presets" (type "VNPB") once per process and shared
// by every filter.
class StaticPresets {
public:
    // [editor thread] The bank, filled on first use. While the resource
    // is missing or unreadable the bank is empty (no programs) and the next
    // call tries again. Once filled, the bank never changes.
    static const mppi::BankManager& get();
};

} // namespace host::dx
