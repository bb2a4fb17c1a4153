// The editor's LV2 UI entry points: C callbacks onto QuevrinLv2Ui. No
// exception leaves the module: a failure is a null instance.
#include "host/lv2/QuevrinLv2.h"
#include "host/lv2/ui/QuevrinLv2Ui.h"

#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <cstring>

using host::lv2::QuevrinLv2;
using host::lv2::ui::QuevrinLv2Ui;

namespace {

QuevrinLv2Ui* self(LV2UI_Handle h) {
    return static_cast<QuevrinLv2Ui*>(h);
}

// The host's ui:scaleFactor among its options (a float); 0 when it gives
// none, or cannot say which URIDs name it.
double scale_factor(const LV2_Options_Option* options, LV2_URID_Map* map) {
    if (options == nullptr || map == nullptr) {
        return 0;
    }
    const LV2_URID key = map->map(map->handle, LV2_UI__scaleFactor);
    const LV2_URID type = map->map(map->handle, LV2_ATOM__Float);
    for (const LV2_Options_Option* o = options; o->key != 0; ++o) {
        if (o->key == key && o->type == type && o->size == sizeof(float) && o->value != nullptr) {
            float factor = 0;
            std::memcpy(&factor, o->value, sizeof factor);
            return factor;
        }
    }
    return 0;
}

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* plugin_uri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features) {
    if (plugin_uri == nullptr || std::strcmp(plugin_uri, QuevrinLv2::uri) != 0 ||
        widget == nullptr) {
        return nullptr;
    }
    void* parent = nullptr;
    const LV2UI_Resize* resize = nullptr;
    const LV2_Options_Option* options = nullptr;
    LV2_URID_Map* map = nullptr;
    for (int i = 0; features != nullptr && features[i] != nullptr; ++i) {
        if (std::strcmp(features[i]->URI, LV2_UI__parent) == 0) {
            parent = features[i]->data;
        } else if (std::strcmp(features[i]->URI, LV2_UI__resize) == 0) {
            resize = static_cast<const LV2UI_Resize*>(features[i]->data);
        } else if (std::strcmp(features[i]->URI, LV2_OPTIONS__options) == 0) {
            options = static_cast<const LV2_Options_Option*>(features[i]->data);
        } else if (std::strcmp(features[i]->URI, LV2_URID__map) == 0) {
            map = static_cast<LV2_URID_Map*>(features[i]->data);
        }
    }
    if (parent == nullptr) {
        return nullptr; // an X11 UI lives inside the host's window
    }
    try {
        auto ui = QuevrinLv2Ui::create(
            static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(parent)), write, controller,
            resize, scale_factor(options, map));
        if (ui == nullptr) {
            return nullptr;
        }
        *widget = reinterpret_cast<LV2UI_Widget>(static_cast<std::uintptr_t>(ui->widget()));
        return ui.release();
    } catch (...) {
        return nullptr;
    }
}

void cleanup(LV2UI_Handle h) {
    delete self(h);
}

void port_event(LV2UI_Handle h, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    self(h)->port_event(port, size, format, buffer);
}

int idle(LV2UI_Handle h) {
    return self(h)->idle();
}

const void* extension_data(const char* uri) {
    static const LV2UI_Idle_Interface idle_interface = {idle};
    return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &idle_interface : nullptr;
}

const LV2UI_Descriptor descriptor = {QuevrinLv2Ui::uri, instantiate, cleanup, port_event,
                                     extension_data};

} // namespace

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    return index == 0 ? &descriptor : nullptr;
}
