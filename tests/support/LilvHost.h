#pragma once

#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/log/log.h>
#include <lv2/urid/urid.h>

#include <cstdarg>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A small LV2 host on lilv for the tests, the benchmark and the validator: a
// world holding the LV2 specifications and the bundles it is given, a URID
// map, a log that keeps what plug-ins write to it, and instances whose ports
// are connected to buffers of its own.
class LilvHost {
public:
    // Loads the installed specifications and each bundle folder given.
    explicit LilvHost(const std::vector<std::string>& bundles);
    ~LilvHost();
    LilvHost(const LilvHost&) = delete;
    LilvHost& operator=(const LilvHost&) = delete;

    LilvWorld* world() const { return world_; }
    // Null when the world holds no plug-in of that URI.
    const LilvPlugin* plugin(const std::string& uri) const;
    LV2_URID map(const char* uri);
    LV2_URID_Map* urid_map() { return &map_; }
    LV2_URID_Unmap* urid_unmap() { return &unmap_; }
    const LV2_Feature* const* features() const { return features_.data(); }
    // The last line a plug-in wrote to the log since the last call (empty
    // when none).
    std::string take_log() { return std::exchange(last_log_, std::string()); }

private:
    static LV2_URID map_uri(LV2_URID_Map_Handle handle, const char* uri);
    static const char* unmap_urid(LV2_URID_Unmap_Handle handle, LV2_URID urid);
    static int log_printf(LV2_Log_Handle handle, LV2_URID type, const char* format, ...);
    static int log_vprintf(LV2_Log_Handle handle, LV2_URID type, const char* format, va_list args);

    LilvWorld* world_;
    std::map<std::string, LV2_URID> urids_;
    std::vector<const std::string*> uris_; // by URID - 1
    LV2_URID_Map map_{this, map_uri};
    LV2_URID_Unmap unmap_{this, unmap_urid};
    LV2_Feature map_feature_{LV2_URID__map, &map_};
    LV2_Feature unmap_feature_{LV2_URID__unmap, &unmap_};
    LV2_Log_Log log_{this, log_printf, log_vprintf};
    LV2_Feature log_feature_{LV2_LOG__log, &log_};
    std::string last_log_;
    std::vector<const LV2_Feature*> features_{&map_feature_, &unmap_feature_, &log_feature_,
                                              nullptr};
};

// One activated instance: control ports at their defaults, stereo audio
// through buffers of up to max_frames, atom inputs holding what is queued.
class Lv2Runner {
public:
    // Null instance() when the plug-in fails to instantiate.
    Lv2Runner(LilvHost& host, const LilvPlugin* plugin, double rate, std::uint32_t max_frames);
    ~Lv2Runner();
    Lv2Runner(const Lv2Runner&) = delete;
    Lv2Runner& operator=(const Lv2Runner&) = delete;

    LilvInstance* instance() const { return instance_; }
    const LilvPlugin* plugin() const { return plugin_; }
    // The value buffer of a control port; null for an unknown symbol.
    float* control(const std::string& symbol);
    // A time:Position carrying bpm, delivered with the next run.
    void queue_tempo(float bpm);
    // Runs frames (at most max_frames) from in into out, both stereo planar.
    void run(const float* in_left, const float* in_right, float* out_left, float* out_right,
             std::uint32_t frames);
    // Renders a whole stereo signal in blocks of block frames.
    void render(const std::vector<float>& left, const std::vector<float>& right,
                std::vector<float>& out_left, std::vector<float>& out_right, std::uint32_t block);
    // Runs only the plug-in on what the audio buffers hold (for timing).
    void run_in_place(std::uint32_t frames) { lilv_instance_run(instance_, frames); }
    // Deactivates and frees the instance (lilv unloads the library with its
    // last instance); instantiate() makes a new one on the same ports,
    // activated, as a host adds the plug-in (for timing).
    void free_instance();
    void instantiate();

    // Port value access in lilv's callback form (state save and restore).
    static const void* get_port_value(const char* symbol, void* self, uint32_t* size,
                                      uint32_t* type);
    static void set_port_value(const char* symbol, void* self, const void* value, uint32_t size,
                               uint32_t type);

private:
    struct AtomBuffer {
        std::vector<std::uint64_t> words;
        bool input = true;
    };

    void reset_atoms();

    LilvHost& host_;
    const LilvPlugin* plugin_;
    LilvInstance* instance_ = nullptr;
    double rate_;
    std::uint32_t max_frames_;
    std::vector<void*> port_data_; // what each port is connected to
    std::vector<float> controls_;
    std::map<std::string, std::uint32_t> symbols_;
    std::vector<std::vector<float>> audio_in_;
    std::vector<std::vector<float>> audio_out_;
    std::vector<AtomBuffer> atoms_;
    float queued_bpm_ = 0.0f;
};
