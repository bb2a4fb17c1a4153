#pragma once

// The editor as the filter makes it: the real engine, the adapter's host
// services and the offscreen window, driven with synthetic input at window
// coordinates under a toolkit clock the test sets.
#include "editor/EditorLayout.h"
#include "editor/ZentrovaGui.h"
#include "host/dx/CSfPlugIn.h"
#include "mppi/DspInterface.h"
#include "mppi/NormalizedParamInterface.h"
#include "pengui/HeadlessWindow.h"
#include "pengui/Messages.h"
#include "pengui/ScriptedTextLineEditor.h"
#include "pengui/ToolkitClock.h"

#include <stdexcept>

namespace editor_test {

inline double& fake_time() {
    static double t = 0;
    return t;
}

class EditorHarness {
public:
    EditorHarness() {
        fake_time() = 100;
        pengui::ToolkitClock::set_source([] { return fake_time(); });
        HRESULT hr = S_OK;
        filter =
            static_cast<host::dx::CSfPlugIn*>(host::dx::CSfPlugIn::CreateInstance(nullptr, &hr));
        if (filter == nullptr) {
            throw std::runtime_error("no filter");
        }
        filter->NonDelegatingAddRef();
        window = static_cast<pengui::HeadlessWindow*>(filter->GetEditorWindow());
        gui = static_cast<editor::ZentrovaGui*>(filter->GetGui());
        gui->open(nullptr);
    }
    ~EditorHarness() {
        filter->NonDelegatingRelease();
        pengui::ToolkitClock::set_source(nullptr);
    }
    EditorHarness(const EditorHarness&) = delete;
    EditorHarness& operator=(const EditorHarness&) = delete;

    mppi::NormalizedParamInterface& param(int index) { return *filter->GetDsp()->get_param(index); }
    // Copy n of a control of the layout, in the window.
    static editor::layout::Point at(editor::layout::ControlId id, int n = 0) {
        return editor::layout::window_position(editor::layout::control(id), n);
    }
    void press(editor::layout::Point p, int buttons = 1, int modifiers = 0) {
        window->mouse_button(p.x, p.y, buttons, modifiers);
    }
    void release(editor::layout::Point p) { window->mouse_button(p.x, p.y, 0); }
    void click(editor::layout::Point p) {
        press(p);
        release(p);
    }
    // Lets time pass in timer periods until the timers are done (at most
    // `seconds`).
    void run(double seconds) {
        for (double t = 0; t < seconds; t += 0.01) {
            fake_time() += 0.01;
            window->run_timers();
        }
    }
    // Types into an editable box and presses Enter.
    void type_into(editor::layout::Point p, const char* text) {
        click(p);
        window->editor().type(text);
        window->editor().press_enter();
    }

    host::dx::CSfPlugIn* filter = nullptr;
    editor::ZentrovaGui* gui = nullptr;
    pengui::HeadlessWindow* window = nullptr;
};

} // namespace editor_test
