#include "PageEditorChecks.h"

#include "Check.h"
#include "PageHost.h"

#include "editor/ParamPlaces.h"
#include "host/dx/IStaticFilterPreset.h"
#include "host/dx/QuevrinIds.h"
#include "mppi/DspInterface.h"
#include "mppi/NormalizedParamInterface.h"

#include <cstdio>
#include <fstream>
#include <vector>

using namespace editor;

using Microsoft::WRL::ComPtr;

namespace {

constexpr DWORD drive_timeout_ms = 120000;
// What the driver types into the value box and then abandons.
constexpr const char* typed_level = "-6";

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int line_1_param(layout::ControlId id) {
    for (const layout::ParamPlace& p : layout::line_places) {
        if (p.id == id) {
            return layout::first_line_param + p.offset;
        }
    }
    return -1;
}

std::vector<float> normalized_values(mppi::DspInterface& dsp) {
    std::vector<float> values;
    for (int i = 0; i < dsp.get_nbr_param(); ++i) {
        values.push_back(dsp.get_param(i)->get_normalized());
    }
    return values;
}

// The editor's points the driver needs, on the screen: its window's origin,
// the centres of line 1's feedback and level knobs, the value box, the morph
// time box and the second program button (at scale 1), and the size the page
// reported.
void write_ready(const std::string& dir, HWND editor, SIZE page) {
    RECT where{};
    GetWindowRect(editor, &where);
    using layout::ControlId;
    const auto centre = [&](ControlId id) {
        const layout::Rect box = layout::window_box(layout::control(id));
        return std::to_string(where.left + (box.x0 + box.x1) / 2) + " " +
               std::to_string(where.top + (box.y0 + box.y1) / 2) + " ";
    };
    {
        std::ofstream ready(dir + "\\ready.tmp");
        ready << where.left << " " << where.top << " " << centre(ControlId::line_fdbk)
              << centre(ControlId::line_level) << centre(ControlId::param_value)
              << centre(ControlId::morph_box) << centre(ControlId::program_2) << page.cx << " "
              << page.cy << "\n";
    }
    MoveFileA((dir + "\\ready.tmp").c_str(), (dir + "\\ready").c_str());
}

// Runs the messages until the driver's DIR/done appears. From the moment
// DIR/morph appears, counts how often the parameters change while they run.
bool wait_for_driver(const std::string& dir, mppi::DspInterface& dsp, int& changes) {
    std::vector<float> last;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < drive_timeout_ms) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        pump_messages();
        if (exists(dir + "\\morph")) {
            std::vector<float> now = normalized_values(dsp);
            if (!last.empty() && now != last) {
                ++changes;
            }
            last = std::move(now);
        }
        if (exists(dir + "\\done")) {
            return true;
        }
    }
    return false;
}

// The program the filter keeps, saved through IPersistStream and loaded into
// a new filter, whose parameters the checks then read.
ComPtr<host::dx::ISfPlugInProp> reloaded(IUnknown* filter) {
    ComPtr<IUnknown> copy;
    ComPtr<IPersistStream> save_side, load_side;
    ComPtr<IStream> stream;
    ComPtr<host::dx::ISfPlugInProp> prop;
    if (!check_hr(CoCreateInstance(host::dx::CLSID_Quevrin, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IUnknown, reinterpret_cast<void**>(copy.GetAddressOf())),
                  "CoCreateInstance of a second filter") ||
        !check_hr(filter->QueryInterface(IID_IPersistStream,
                                         reinterpret_cast<void**>(save_side.GetAddressOf())),
                  "IPersistStream") ||
        !check_hr(copy.As(&load_side), "IPersistStream of the second filter") ||
        !check_hr(CreateStreamOnHGlobal(nullptr, TRUE, &stream), "CreateStreamOnHGlobal") ||
        !check_hr(save_side->Save(stream.Get(), TRUE), "IPersistStream::Save")) {
        return nullptr;
    }
    const LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    if (!check_hr(load_side->Load(stream.Get()), "IPersistStream::Load")) {
        return nullptr;
    }
    copy->QueryInterface(host::dx::IID_ISfPlugInProp,
                         reinterpret_cast<void**>(prop.GetAddressOf()));
    return prop;
}

void check_input(IUnknown* filter, const std::vector<float>& before) {
    const ComPtr<host::dx::ISfPlugInProp> prop = reloaded(filter);
    if (prop == nullptr) {
        return;
    }
    mppi::DspInterface& dsp = *prop->GetDsp();
    const int feedback = line_1_param(layout::ControlId::line_fdbk);
    const int level = line_1_param(layout::ControlId::line_level);
    const mppi::NormalizedParamInterface& level_param = *dsp.get_param(level);
    bool ok = false;
    const std::string expected = level_param.to_text(level_param.from_text(typed_level, ok));
    const std::string got = level_param.to_text(level_param.get_internal());
    std::printf("line 1 feedback %.3f -> %.3f, level \"%s\" (typed %s)\n",
                static_cast<double>(before[std::size_t(feedback)]),
                static_cast<double>(dsp.get_param(feedback)->get_normalized()), got.c_str(),
                typed_level);
    check(dsp.get_param(feedback)->get_normalized() > before[std::size_t(feedback)],
          "an upward drag on line 1's feedback knob raised the parameter");
    check(ok && got == expected, "Enter in the value box set line 1's level; Escape left it");
}

} // namespace

void check_page_editor(const std::string& dir, const std::string& mode, int preset) {
    Filter f;
    if (!make_filter_and_page(f)) {
        return;
    }
    if (preset >= 0) {
        ComPtr<host::dx::IStaticFilterPreset> presets;
        f.unknown->QueryInterface(host::dx::IID_IStaticFilterPreset,
                                  reinterpret_cast<void**>(presets.GetAddressOf()));
        check_hr(presets->SetPreset(preset), "SetPreset");
    }
    PageSite site;
    IUnknown* objects[] = {f.unknown.Get()};
    f.page->SetPageSite(&site);
    f.page->SetObjects(1, objects);
    // The frame takes the size the page asks for: the editor's at its scale.
    PROPPAGEINFO info{};
    info.cb = sizeof info;
    check_hr(f.page->GetPageInfo(&info), "GetPageInfo");
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
    const RECT place{0, 0, info.size.cx, info.size.cy};
    HWND frame = make_frame("Quevrin editor", WS_POPUP, 0, 0, place.right, place.bottom);
    if (!check_hr(f.page->Activate(frame, &place, FALSE), "Activate")) {
        return;
    }
    f.page->Show(SW_SHOW);
    pump_messages();
    const EditorWindow editor = editor_in(frame);
    if (!check(editor.hwnd != nullptr, "the editor's window is in the page")) {
        return;
    }
    mppi::DspInterface& dsp = *f.prop->GetDsp();
    const std::vector<float> before = normalized_values(dsp);
    write_ready(dir, editor.hwnd, info.size);
    int changes = 0;
    check(wait_for_driver(dir, dsp, changes), "the driver finished");
    const std::vector<float> after = normalized_values(dsp);
    check_hr(f.page->Deactivate(), "Deactivate");
    f.page->SetObjects(0, nullptr);
    f.page->SetPageSite(nullptr);
    DestroyWindow(frame);
    if (mode == "input") {
        check_input(f.unknown.Get(), before);
    } else if (mode == "morph") {
        // The morph glides: the parameters change on many timer ticks, not at once.
        std::printf("the morph changed the parameters on %d ticks\n", changes);
        check(after != before, "the second program button changed the program");
        check(changes >= 5, "the morph ran on the editor's timer");
    }
}
