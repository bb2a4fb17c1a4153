#include "editor/WebSiteListener.h"

#include "sys/Url.h"

#include <cstdio>

namespace editor {

namespace {
constexpr long product_id = 6;
// Version 1.0.3, each decimal digit in a nibble.
constexpr int version = 0x103;
} // namespace

std::string WebSiteListener::product_page_url() {
    char query[64];
    std::snprintf(query, sizeof query, "productid=%ld&version=%d", product_id, version);
    return std::string(web_site) + "jump.php?type=product&" + query;
}

void WebSiteListener::action(int kind, int) {
    if (kind == action_pressed) {
        sys::open_url(product_page_url());
    }
}

} // namespace editor
