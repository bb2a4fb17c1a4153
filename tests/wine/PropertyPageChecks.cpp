#include "PropertyPageChecks.h"

#include "Check.h"
#include "PageHost.h"

#include "editor/EditorLayout.h"
#include "host/dx/QuevrinIds.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstdio>
#include <string>

using Microsoft::WRL::ComPtr;

namespace {

constexpr DWORD frame_timeout_ms = 20000;

// A top-level window standing in for the host's property frame.
HWND make_frame(const char* title) {
    return ::make_frame(title, WS_OVERLAPPEDWINDOW, 40, 40, 640, 520);
}

bool class_registered(const std::string& name) {
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    return GetClassInfoExA(GetModuleHandleA("quevrin.ax"), name.c_str(), &info) != 0;
}

// How many more windows the filter's notification table takes: it holds two,
// so with the page's window registered exactly one more fits.
int free_notify_slots(host::dx::ISfPlugInProp* prop) {
    HWND probes[3] = {};
    int taken = 0;
    for (HWND& probe : probes) {
        probe = CreateWindowExA(0, "STATIC", "probe", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                nullptr);
        if (prop->SetNotifyWindow(probe, 1) != S_OK) {
            break;
        }
        ++taken;
    }
    for (HWND probe : probes) {
        if (probe != nullptr) {
            prop->SetNotifyWindow(probe, 0);
            DestroyWindow(probe);
        }
    }
    return taken;
}

void check_page_info(IPropertyPage* page, HWND editor) {
    PROPPAGEINFO info{};
    if (!check_hr(page->GetPageInfo(&info), "GetPageInfo")) {
        return;
    }
    check(info.cb == sizeof(PROPPAGEINFO), "the page info record is 28 bytes");
    check(info.pszTitle != nullptr && std::wstring(info.pszTitle) == L"VANTREL Quevrin",
          "the page's title is \"VANTREL Quevrin\"");
    RECT area{};
    GetClientRect(editor, &area);
    std::printf("page size %ld x %ld, editor window %ld x %ld\n", info.size.cx, info.size.cy,
                area.right, area.bottom);
    check(info.size.cx == area.right && info.size.cy == area.bottom,
          "the page's size is the editor window's");
    check(info.size.cx == editor::layout::window_width &&
              info.size.cy == editor::layout::window_height,
          "the page is the editor's 500 x 422");
    check(info.pszHelpFile == nullptr && info.dwHelpContext == 0, "no help");
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    check_result(page->GetPageInfo(nullptr), E_POINTER, "GetPageInfo without a record");
}

// Show and Move on an active page: the commands a frame may give.
void check_show_and_move(IPropertyPage* page, HWND dialog) {
    struct Case {
        UINT command;
        HRESULT expected;
        bool visible;
    };
    const Case cases[] = {
        {SW_HIDE, S_OK, false},
        {SW_SHOWNORMAL, S_OK, true},
        {SW_HIDE, S_OK, false},
        {SW_SHOW, S_OK, true},
        {SW_MINIMIZE, E_INVALIDARG, true},
        {SW_MAXIMIZE, E_INVALIDARG, true},
    };
    for (const Case& c : cases) {
        const std::string what = "Show(" + std::to_string(c.command) + ")";
        check_result(page->Show(c.command), c.expected, what);
        check((IsWindowVisible(dialog) != 0) == c.visible, what + " leaves the visibility right");
    }
    const RECT place{7, 9, 507, 431};
    check_hr(page->Move(&place), "Move");
    RECT got{};
    GetWindowRect(dialog, &got);
    MapWindowPoints(nullptr, GetParent(dialog), reinterpret_cast<POINT*>(&got), 2);
    check(got.left == 7 && got.top == 9 && got.right == 507 && got.bottom == 431,
          "Move places the dialog");
    check_result(page->Move(nullptr), E_POINTER, "Move without a rectangle");
}

} // namespace

void check_page_in_own_frame() {
    Filter a;
    if (!make_filter_and_page(a)) {
        return;
    }
    PageSite site;
    check_result(a.page->SetObjects(0, nullptr), E_UNEXPECTED,
                 "disconnecting a page never connected");
    check_result(a.page->IsPageDirty(), S_FALSE, "a new page is clean");
    check_result(a.page->Help(L"x"), E_NOTIMPL, "Help");
    check_result(a.page->TranslateAccelerator(nullptr), E_NOTIMPL, "TranslateAccelerator");
    const RECT place{0, 0, 600, 480};
    HWND frame = make_frame("Quevrin page host A");
    check_result(a.page->Activate(frame, &place, FALSE), E_UNEXPECTED,
                 "activating a page without an object");
    check_hr(a.page->SetPageSite(&site), "SetPageSite");
    check_result(a.page->SetPageSite(&site), E_UNEXPECTED, "a second page site");
    IUnknown* objects[] = {a.unknown.Get()};
    check_hr(a.page->SetObjects(1, objects), "SetObjects with the filter");
    check(free_notify_slots(a.prop.Get()) == 2, "no window registered before the dialog exists");

    // Activate, deactivate, activate: the editor's window opens in each new
    // dialog and goes with it; the table holds the one page window at a time.
    std::string class_name;
    for (int round = 1; round <= 2; ++round) {
        const std::string r = " (round " + std::to_string(round) + ")";
        if (!check_hr(a.page->Activate(frame, &place, FALSE), "Activate" + r)) {
            break;
        }
        pump_messages();
        HWND dialog = GetWindow(frame, GW_CHILD);
        const EditorWindow editor = editor_in(frame);
        check(editor.hwnd != nullptr && GetParent(editor.hwnd) == dialog,
              "the editor's window is a child of the page's dialog" + r);
        check(free_notify_slots(a.prop.Get()) == 1, "the table holds the page's window" + r);
        if (round == 1) {
            check_page_info(a.page.Get(), editor.hwnd);
            check_show_and_move(a.page.Get(), dialog);
            class_name = editor.class_name;
        }
        check_result(a.page->Activate(frame, &place, FALSE), E_UNEXPECTED,
                     "activating an active page" + r);
        check_hr(a.page->Deactivate(), "Deactivate" + r);
        pump_messages();
        check(!IsWindow(dialog) && !IsWindow(editor.hwnd),
              "the dialog and the editor's window are gone" + r);
        check(free_notify_slots(a.prop.Get()) == 2, "the table is empty again" + r);
        check_result(a.page->Deactivate(), E_UNEXPECTED, "deactivating an inactive page" + r);
    }
    check(class_registered(class_name), "the class stays while the filter's window object lives");

    // Two pages at once, on two filters: one class for both; it goes with the
    // last window object.
    Filter b;
    if (make_filter_and_page(b)) {
        PageSite site_b;
        HWND frame_b = make_frame("Quevrin page host B");
        IUnknown* objects_b[] = {b.unknown.Get()};
        b.page->SetPageSite(&site_b);
        b.page->SetObjects(1, objects_b);
        check_hr(a.page->Activate(frame, &place, FALSE), "Activate A beside B");
        check_hr(b.page->Activate(frame_b, &place, FALSE), "Activate B beside A");
        pump_messages();
        check(editor_in(frame_b).class_name == class_name, "both editors share the class");
        b.page->Deactivate();
        b.page->SetObjects(0, nullptr);
        b.page->SetPageSite(nullptr);
        b = Filter{};
        pump_messages();
        check(class_registered(class_name) && editor_in(frame).hwnd != nullptr,
              "closing one page keeps the class for the other");
        DestroyWindow(frame_b);
        check(site_b.refs() == 0, "page B let its site go");
    }
    a.page->Deactivate();
    check_hr(a.page->SetObjects(0, nullptr), "disconnecting");
    check_result(a.page->SetObjects(0, nullptr), E_UNEXPECTED, "disconnecting twice");
    check_hr(a.page->SetPageSite(nullptr), "letting the site go");
    a = Filter{};
    pump_messages();
    check(!class_registered(class_name), "closing both unregisters the class");
    check(site.refs() == 0, "page A let its site go");
    DestroyWindow(frame);
}

namespace {

// Wine's frame on its own thread, with its own apartment and its own filter.
struct FrameRun {
    HRESULT result = E_FAIL;
    HWND editor = nullptr;
};

DWORD WINAPI show_ole_frame(void* param) {
    auto* run = static_cast<FrameRun*>(param);
    CoInitialize(nullptr);
    Filter f;
    if (make_filter_and_page(f)) {
        IUnknown* objects[] = {f.unknown.Get()};
        CLSID page = host::dx::CLSID_QuevrinPropertyPage;
        run->result = OleCreatePropertyFrame(nullptr, 0, 0, L"Quevrin in Wine's frame", 1, objects,
                                             1, &page, LOCALE_USER_DEFAULT, 0, nullptr);
    }
    f = Filter{};
    CoUninitialize();
    return 0;
}

struct FoundFrame {
    DWORD thread;
    HWND frame;
};

BOOL CALLBACK find_frame(HWND hwnd, LPARAM param) {
    auto* found = reinterpret_cast<FoundFrame*>(param);
    if (GetWindowThreadProcessId(hwnd, nullptr) == found->thread &&
        editor_in(hwnd).hwnd != nullptr) {
        found->frame = hwnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

void check_page_in_ole_frame() {
    FrameRun run;
    DWORD thread_id = 0;
    HANDLE thread = CreateThread(nullptr, 0, &show_ole_frame, &run, 0, &thread_id);
    if (!check(thread != nullptr, "a thread for Wine's property frame")) {
        return;
    }
    FoundFrame found{thread_id, nullptr};
    wait_until(frame_timeout_ms, [&] {
        EnumWindows(&find_frame, reinterpret_cast<LPARAM>(&found));
        return found.frame != nullptr;
    });
    if (check(found.frame != nullptr, "Wine's property frame shows the editor's window")) {
        // The frame activates its page before it shows itself: the editor's
        // window is there some moments before it is visible.
        const EditorWindow editor = editor_in(found.frame);
        check(wait_until(frame_timeout_ms, [&] { return IsWindowVisible(editor.hwnd) != 0; }),
              "the editor's window is visible in the frame");
        run.editor = editor.hwnd;
        // The frame's Cancel: the page is deactivated and released.
        PostMessageA(found.frame, WM_COMMAND, IDCANCEL, 0);
    }
    if (!check(WaitForSingleObject(thread, frame_timeout_ms) == WAIT_OBJECT_0,
               "Wine's property frame closes")) {
        return; // the stuck thread goes with the process
    }
    CloseHandle(thread);
    check_hr(run.result, "OleCreatePropertyFrame");
    check(run.editor == nullptr || !IsWindow(run.editor),
          "the editor's window went with the frame");
}
