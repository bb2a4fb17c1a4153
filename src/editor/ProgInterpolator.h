#pragma once

#include "editor/GuiPart.h"
#include "mppi/preset/ProgStLdDefault.h"

namespace editor {

// The editor's way of mixing two programs during a morph: the flags jump to
// the target's at the first step, the tempo stays what it is now (a recall
// never changes it), and every other value glides linearly.
//
// Everything runs on the editor thread.
class ProgInterpolator : public mppi::ProgStLdDefault, public GuiPart {
public:
    using mppi::ProgStLdDefault::ProgStLdDefault;

    // [editor thread] Always 0.
    int interpolate(mppi::ProgramSlot& out, const mppi::ProgramSlot& from,
                    const mppi::ProgramSlot& to, double position) override;
};

} // namespace editor
