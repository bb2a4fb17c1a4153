#pragma once

#include "editor/NumericParamListener.h"

namespace editor {

// The editable boxes of a detail panel. An edited text is read with the
// parameter's own parser and, when it reads, set on the box's knob as a user
// change with priority 200; a text that does not read changes nothing.
class NumValTbListener : public NumericParamListener {
public:
    enum Target { value_box, period_box, depth_box };

    NumValTbListener() = default;
    // [editor thread] Kind 1 (edited) only.
    void action(int kind, int data) override;

protected:
    explicit NumValTbListener(Target target) : target_(target) {}

private:
    Target target_ = value_box;
};

class LfoPerTbListener : public NumValTbListener {
public:
    LfoPerTbListener() : NumValTbListener(period_box) {}
};

class LfoDepthTbListener : public NumValTbListener {
public:
    LfoDepthTbListener() : NumValTbListener(depth_box) {}
};

} // namespace editor
