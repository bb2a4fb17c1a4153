// The plug-in's LV2 entry points: C callbacks onto QuevrinLv2. No exception
// leaves the module: a failure is a null instance or a state error.
#include "effect/SampleRateLimit.h"
#include "host/lv2/QuevrinLv2.h"

#include <lv2/log/log.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

using host::lv2::QuevrinLv2;

namespace {

QuevrinLv2* self(LV2_Handle h) {
    return static_cast<QuevrinLv2*>(h);
}

// Tells the host's log, or else the standard error, why the plug-in does not
// start.
void refuse(const LV2_Log_Log* log, const LV2_URID_Map* map, const std::string& why) {
    if (log != nullptr && map != nullptr) {
        log->printf(log->handle, map->map(map->handle, LV2_LOG__Error), "%s\n", why.c_str());
    } else {
        std::fprintf(stderr, "%s\n", why.c_str());
    }
}

LV2_Handle instantiate(const LV2_Descriptor*, double rate, const char*,
                       const LV2_Feature* const* features) {
    const LV2_URID_Map* map = nullptr;
    const LV2_Log_Log* log = nullptr;
    for (int i = 0; features != nullptr && features[i] != nullptr; ++i) {
        if (std::strcmp(features[i]->URI, LV2_URID__map) == 0) {
            map = static_cast<const LV2_URID_Map*>(features[i]->data);
        } else if (std::strcmp(features[i]->URI, LV2_LOG__log) == 0) {
            log = static_cast<const LV2_Log_Log*>(features[i]->data);
        }
    }
    try {
        if (!effect::SampleRateLimit::serves(rate)) {
            refuse(log, map, effect::SampleRateLimit::refusal(rate));
            return nullptr;
        }
    } catch (...) {
        return nullptr;
    }
    try {
        return new QuevrinLv2(rate, map);
    } catch (...) {
        return nullptr;
    }
}

void connect_port(LV2_Handle h, uint32_t port, void* data) {
    self(h)->connect_port(port, data);
}

void activate(LV2_Handle h) {
    self(h)->activate();
}

void run(LV2_Handle h, uint32_t frames) {
    self(h)->run(frames);
}

void cleanup(LV2_Handle h) {
    delete self(h);
}

LV2_State_Status save(LV2_Handle h, LV2_State_Store_Function store, LV2_State_Handle handle,
                      uint32_t, const LV2_Feature* const*) {
    try {
        return self(h)->save(store, handle);
    } catch (...) {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

LV2_State_Status restore(LV2_Handle h, LV2_State_Retrieve_Function retrieve,
                         LV2_State_Handle handle, uint32_t, const LV2_Feature* const*) {
    try {
        return self(h)->restore(retrieve, handle);
    } catch (...) {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

const void* extension_data(const char* uri) {
    static const LV2_State_Interface state = {save, restore};
    return std::strcmp(uri, LV2_STATE__interface) == 0 ? &state : nullptr;
}

const LV2_Descriptor descriptor = {QuevrinLv2::uri, instantiate, connect_port,  activate, run,
                                   nullptr,         cleanup,     extension_data};

} // namespace

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    return index == 0 ? &descriptor : nullptr;
}
