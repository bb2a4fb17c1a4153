// What the Wine host's page checks share: a page site that only answers, a
// frame window standing in for the host's, the filter with its page made
// through COM, the editor's window found inside a frame, and a wait for what
// windows show some moments later.
#pragma once

#include "host/dx/ISfPlugInProp.h"

#include <ocidl.h>
#include <wrl/client.h>

#include <string>

std::string hex(HRESULT hr);
bool check_result(HRESULT got, HRESULT expected, const std::string& what);

// A page site that only answers: the page never needs more from it here.
class PageSite : public IPropertyPageSite {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_refs; }
    STDMETHODIMP OnStatusChange(DWORD) override { return S_OK; }
    STDMETHODIMP GetLocaleID(LCID* locale) override;
    STDMETHODIMP GetPageContainer(IUnknown** container) override;
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }
    ULONG refs() const { return m_refs; }

private:
    ULONG m_refs = 0; // lives on the stack of the test
};

// [main thread] A top-level window standing in for the host's property frame.
HWND make_frame(const char* title, DWORD style, int x, int y, int width, int height);
// [main thread] Runs the messages waiting for this thread's windows.
void pump_messages();
// [any thread] Asks `done` every 10 ms until it holds or timeout_ms have
// passed; whether it held. For a state another thread's windows reach later.
template <typename Done>
bool wait_until(DWORD timeout_ms, Done done) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (done()) {
            return true;
        }
        if (GetTickCount() - start >= timeout_ms) {
            return false;
        }
        Sleep(10);
    }
}

// The filter's class name for the toolkit window: that of the dialog's child.
struct EditorWindow {
    HWND hwnd = nullptr;
    std::string class_name;
};
// [main thread] The editor's window among the children of `parent`.
EditorWindow editor_in(HWND parent);

struct Filter {
    Microsoft::WRL::ComPtr<IUnknown> unknown;
    Microsoft::WRL::ComPtr<host::dx::ISfPlugInProp> prop;
    Microsoft::WRL::ComPtr<IPropertyPage> page;
};
// [main thread] The filter and the page its ISpecifyPropertyPages names, both
// through COM.
bool make_filter_and_page(Filter& f);
