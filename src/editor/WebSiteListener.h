#pragma once

#include "pengui/DefaultEventListener.h"

#include <string>

namespace editor {

// The logo's invisible button: opens the maker's product page.
class WebSiteListener : public pengui::DefaultEventListener {
public:
    // The maker's web site, before the page's path and query.
    static constexpr const char* web_site = "https://vantrel.example/";

    // [editor thread] The product page: product 6, version 1.0.3 as 0x103.
    static std::string product_page_url();
    // [editor thread] Kind 0 (pressed) opens the page; the opener's result
    // is left to the debugger output.
    void action(int kind, int data) override;
};

} // namespace editor
