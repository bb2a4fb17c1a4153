// The plug-in module inside Wine's DirectShow, driven by tests/wine/run.sh (installed: by
// tests/wine/installer.sh):
//   quevrin_wine_test resources MODULE RESOURCES_DIR   the module's resources
//   quevrin_wine_test registered MODULE                after regsvr32: registry and mapper
//   quevrin_wine_test unregistered                     after regsvr32 /u: all gone
//   quevrin_wine_test graphs DIR                       renders through Wine's graph
//   quevrin_wine_test page                             the property page, own frame
//   quevrin_wine_test frame                            the property page, Wine's frame
//   quevrin_wine_test editor DIR MODE [PRESET]         the page's editor, driven by page.sh
//                                                      (MODE input or morph) or hidpi.sh (look)
//   quevrin_wine_test installed MODULE DIR             after the installer: a graph by class id
// All paths are Windows paths. The graphs command writes its inputs and
// outputs into DIR, with renders.txt (one render a line: input output preset
// buffer-frames state capacity-frames, '-' for none) and presets.txt (index TAB name) for
// the comparison with the native host; the installed command writes one render
// and its renders.txt line the same way. Exit status 0 when every check passed.
#include "Check.h"
#include "PageEditorChecks.h"
#include "PropertyPageChecks.h"
#include "TestSignal.h"
#include "WavSinkFilter.h"
#include "WineGraph.h"

#include "host/dx/IStaticFilterPreset.h"
#include "host/dx/QuevrinIds.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

using namespace host::dx;

namespace {

// The mapper's default category, under which a filter registered without one sits.
// {083863F1-70DE-11D0-BD40-00A0C911CE86}
const char legacy_filters_key[] = "CLSID\\{083863F1-70DE-11D0-BD40-00A0C911CE86}\\Instance\\";
const char filter_clsid[] = "{9E31934C-1F03-4982-AA63-C00C94C206C7}";
const char filter_name[] = "VANTREL - Quevrin";
constexpr DWORD render_timeout_ms = 60000;

std::string hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

// A string value under HKEY_CLASSES_ROOT, or nothing with ok false.
std::string registry_string(const std::string& key, const char* name, bool& ok) {
    char value[MAX_PATH * 2] = {};
    DWORD size = sizeof value;
    ok = RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) ==
         ERROR_SUCCESS;
    return value;
}

bool registry_key_exists(const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(handle);
    return true;
}

std::vector<BYTE> read_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// --- resources -----------------------------------------------------------

std::vector<BYTE> module_resource(HMODULE module, LPCSTR type, LPCSTR name) {
    HRSRC found = FindResourceA(module, name, type);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const auto* bytes =
        static_cast<const BYTE*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    return bytes != nullptr ? std::vector<BYTE>(bytes, bytes + SizeofResource(module, found))
                            : std::vector<BYTE>();
}

// A dialog template's variable-length fields: 0 (none), or 0xFFFF and an
// ordinal, or a terminated UTF-16 string.
std::wstring read_sz_or_ord(const WORD*& at) {
    if (*at == 0xFFFF) {
        at += 2;
        return L"#";
    }
    std::wstring text(reinterpret_cast<const wchar_t*>(at));
    at += text.size() + 1;
    return text;
}

void check_resources(const std::string& module_path, const std::string& resources_dir) {
    HMODULE module = LoadLibraryExA(module_path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!check(module != nullptr, "loading " + module_path + " for its resources")) {
        return;
    }
    const std::vector<BYTE> dialog = module_resource(module, RT_DIALOG, MAKEINTRESOURCEA(101));
    if (check(dialog.size() >= sizeof(DLGTEMPLATE), "dialog 101 exists")) {
        DLGTEMPLATE header;
        std::memcpy(&header, dialog.data(), sizeof header);
        check(header.style == 0x40000044, "dialog 101 style WS_CHILD | DS_SETFONT | DS_3DLOOK");
        check(header.dwExtendedStyle == 0 && header.cdit == 0,
              "dialog 101: no ex-style, no controls");
        check(header.x == 0 && header.y == 0 && header.cx == 700 && header.cy == 700,
              "dialog 101 at (0, 0), 700 x 700 units");
        const WORD* at = reinterpret_cast<const WORD*>(dialog.data() + 18); // the fixed part
        const std::wstring menu = read_sz_or_ord(at);
        const std::wstring window_class = read_sz_or_ord(at);
        const std::wstring title = read_sz_or_ord(at);
        check(menu.empty() && window_class.empty() && title.empty(),
              "dialog 101: no menu, no class, empty title");
        const WORD points = *at++;
        const std::wstring font(reinterpret_cast<const wchar_t*>(at));
        check(points == 8 && font == L"MS Sans Serif", "dialog 101 font MS Sans Serif, 8 points");
    }
    wchar_t title[64] = {};
    LoadStringW(module, 1, title, 64);
    check(std::wstring(title) == L"VANTREL Quevrin", "string 1 is \"VANTREL Quevrin\"");

    // Every manifest entry, byte for byte.
    std::ifstream manifest(resources_dir + "\\resources.txt");
    std::string line;
    int entries = 0;
    while (std::getline(manifest, line)) {
        std::istringstream fields(line.substr(0, line.find('#')));
        std::string type, name, path;
        if (!(fields >> type >> name >> path)) {
            continue;
        }
        ++entries;
        for (char& c : path) {
            c = c == '/' ? '\\' : c;
        }
        const std::vector<BYTE> expected = read_file(resources_dir + "\\" + path);
        check(!expected.empty() && module_resource(module, type.c_str(), name.c_str()) == expected,
              "resource " + type + " " + name + " holds the bytes of " + path);
    }
    check(entries >= 2, "the manifest lists the banks");
    FreeLibrary(module);
}

// --- registration --------------------------------------------------------

void check_registered(const std::string& module_path) {
    const std::string server = std::string("CLSID\\") + filter_clsid + "\\InprocServer32";
    bool ok = false;
    const std::string path = registry_string(server, nullptr, ok);
    check(ok && lstrcmpiA(path.c_str(), module_path.c_str()) == 0,
          "InprocServer32 is the module path (found \"" + path + "\")");
    check(registry_string(server, "ThreadingModel", ok) == "Both" && ok, "ThreadingModel Both");
    const std::string instance = legacy_filters_key + std::string(filter_clsid);
    check(registry_string(instance, "FriendlyName", ok) == filter_name && ok,
          "the mapper holds the filter as \"VANTREL - Quevrin\"");
    check(registry_string(instance, "CLSID", ok) == filter_clsid && ok,
          "the mapper's entry names the filter's class id");
}

void check_unregistered() {
    check(!registry_key_exists(std::string("CLSID\\") + filter_clsid), "the class key is gone");
    check(!registry_key_exists(legacy_filters_key + std::string(filter_clsid)),
          "the mapper's entry is gone");
}

// --- graphs --------------------------------------------------------------

struct Render {
    WavFile output;
    // Frames of each input sample the filter received: the output samples
    // from one timed sample up to the next belong to one input sample.
    std::vector<LONG> input_frames;
    // Frames the filter's output buffers hold: the pieces of its tail.
    LONG capacity_frames = 0;
};

ComPtr<IBaseFilter> create_quevrin() {
    ComPtr<IBaseFilter> filter;
    check_hr(CoCreateInstance(CLSID_Quevrin, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter)),
             "CoCreateInstance(CLSID_Quevrin)");
    return filter;
}

// The format tag of a connected pin's media type, 0 when there is none.
WORD connected_format_tag(IPin* pin) {
    AM_MEDIA_TYPE type{};
    if (FAILED(pin->ConnectionMediaType(&type))) {
        return 0;
    }
    const WORD tag = type.cbFormat >= sizeof(WAVEFORMATEX)
                         ? reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat)->wFormatTag
                         : WORD{0};
    CoTaskMemFree(type.pbFormat);
    if (type.pUnk != nullptr) {
        type.pUnk->Release();
    }
    return tag;
}

// input → File Source → WAVE Parser → quevrin → WavSinkFilter → output, the
// parser straight to the filter: its float type is extensible.
bool render(const std::string& input, const WavFile& format, const std::string& output,
            IBaseFilter* quevrin, Render& result) {
    WineGraph graph;
    WavSinkFilter* sink = WavSinkFilter::create(output);
    bool ok =
        check_hr(graph.open(input), "building the source graph for " + input) &&
        check_hr(graph.add(quevrin, L"Quevrin"), "adding the filter") &&
        check_hr(graph.add(sink, L"Sink"), "adding the sink") &&
        check_hr(graph.connect_direct(graph.parser_output(), quevrin), "parser to filter") &&
        check_hr(graph.connect(find_pin(quevrin, PINDIR_OUTPUT).Get(), sink), "filter to sink");
    if (ok && format.format_tag == WAVE_FORMAT_IEEE_FLOAT) {
        const WORD in = connected_format_tag(find_pin(quevrin, PINDIR_INPUT).Get());
        const WORD out = connected_format_tag(find_pin(quevrin, PINDIR_OUTPUT).Get());
        check(in == WAVE_FORMAT_EXTENSIBLE && out == WAVE_FORMAT_IEEE_FLOAT,
              input + ": extensible float in, plain float out (got tags " + std::to_string(in) +
                  " and " + std::to_string(out) + ")");
    }
    if (ok) {
        // The output is stereo in the input's sample format.
        result.capacity_frames =
            sink->input()->allocator_bytes() / static_cast<LONG>(2 * ((format.bits + 7) / 8));
    }
    ok = ok && check_hr(graph.run(render_timeout_ms), "running " + input + " to EC_COMPLETE");
    ok = ok && check(sink->written(), "the sink wrote " + output);
    result.output = sink->received();
    const std::vector<LONG>& lengths = sink->sample_lengths();
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        if (sink->sample_timed()[i] || result.input_frames.empty()) {
            result.input_frames.push_back(0);
        }
        result.input_frames.back() += lengths[i] / result.output.block_align();
    }
    sink->Release();
    return ok;
}

// A 24-bit stream straight from the parser is refused and leaves the pins apart.
void check_24_bit_refused(const std::string& dir) {
    const std::string input = dir + "\\in_pcm24_stereo_44100.wav";
    check(make_test_signal(WAVE_FORMAT_PCM, 24, 2, 44100).write(input), "writing " + input);
    WineGraph graph;
    const ComPtr<IBaseFilter> quevrin = create_quevrin();
    if (!quevrin || !check_hr(graph.open(input), "building the 24-bit source graph") ||
        !check_hr(graph.add(quevrin.Get(), L"Quevrin"), "adding the filter")) {
        return;
    }
    const HRESULT hr = graph.connect_direct(graph.parser_output(), quevrin.Get());
    std::printf("24-bit ConnectDirect: %s\n", hex(hr).c_str());
    check(FAILED(hr), "ConnectDirect of 24-bit PCM is refused (got " + hex(hr) + ")");
    ComPtr<IPin> peer;
    check(find_pin(quevrin.Get(), PINDIR_INPUT)->ConnectedTo(&peer) == VFW_E_NOT_CONNECTED,
          "the filter's input stays unconnected");
}

// The static presets as the host sees them, into presets.txt in UTF-8.
void list_presets(IBaseFilter* quevrin, const std::string& dir) {
    ComPtr<IStaticFilterPreset> presets;
    if (!check_hr(quevrin->QueryInterface(IID_IStaticFilterPreset,
                                          reinterpret_cast<void**>(presets.GetAddressOf())),
                  "IStaticFilterPreset")) {
        return;
    }
    LONG count = 0;
    presets->GetPresetCount(&count);
    check(count == 34, "34 static presets (got " + std::to_string(count) + ")");
    std::ofstream list(dir + "\\presets.txt", std::ios::binary);
    for (LONG i = 0; i < count; ++i) {
        wchar_t name[256] = {};
        check_hr(presets->GetPresetName(i, name, 256), "GetPresetName " + std::to_string(i));
        char utf8[1024] = {};
        WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof utf8, nullptr, nullptr);
        list << i << '\t' << utf8 << '\n';
    }
    wchar_t name[8];
    check(presets->GetPresetName(count, name, 8) == E_INVALIDARG,
          "GetPresetName past the end is E_INVALIDARG");
}

HRESULT set_preset(IBaseFilter* quevrin, LONG index) {
    ComPtr<IStaticFilterPreset> presets;
    HRESULT hr = quevrin->QueryInterface(IID_IStaticFilterPreset,
                                         reinterpret_cast<void**>(presets.GetAddressOf()));
    return SUCCEEDED(hr) ? presets->SetPreset(index) : hr;
}

// The persisted state of a filter with the preset, saved into an HGLOBAL
// stream, its layout checked, loaded into a second filter: that filter's
// render equals the first one's byte for byte.
void check_state_round_trip(const std::string& dir, const std::string& input, const WavFile& signal,
                            LONG preset, const Render& first, std::ofstream& renders) {
    const ComPtr<IBaseFilter> saved = create_quevrin();
    const ComPtr<IBaseFilter> loaded = create_quevrin();
    ComPtr<IPersistStream> save_side, load_side;
    ComPtr<IStream> stream;
    if (!saved || !loaded || !check_hr(set_preset(saved.Get(), preset), "SetPreset") ||
        !check_hr(saved.As(&save_side), "IPersistStream") ||
        !check_hr(loaded.As(&load_side), "IPersistStream") ||
        !check_hr(CreateStreamOnHGlobal(nullptr, TRUE, &stream), "CreateStreamOnHGlobal") ||
        !check_hr(save_side->Save(stream.Get(), TRUE), "IPersistStream::Save")) {
        return;
    }
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    check(stat.cbSize.QuadPart == 4116, "the saved state is 4116 bytes");
    HGLOBAL memory = nullptr;
    GetHGlobalFromStream(stream.Get(), &memory);
    const auto* bytes = static_cast<const BYTE*>(GlobalLock(memory));
    const std::vector<BYTE> state(bytes, bytes + stat.cbSize.QuadPart);
    GlobalUnlock(memory);
    if (!check(state.size() == 4116, "state bytes")) {
        return;
    }
    const BYTE size_le[4] = {0x14, 0x10, 0x00, 0x00};
    check(std::memcmp(state.data(), size_le, 4) == 0, "the state starts with 4116, little-endian");
    check(std::memcmp(state.data() + 4, &IID_ISfPlugInProp, 16) == 0,
          "the private interface id follows");
    check(std::memcmp(state.data() + 20, "Vntl", 4) == 0, "then the magic Vntl");
    // The program record's name: the preset's own.
    ComPtr<IStaticFilterPreset> presets;
    saved->QueryInterface(IID_IStaticFilterPreset,
                          reinterpret_cast<void**>(presets.GetAddressOf()));
    wchar_t name[256] = {};
    presets->GetPresetName(preset, name, 256);
    char ansi[256] = {};
    WideCharToMultiByte(CP_ACP, 0, name, -1, ansi, sizeof ansi, nullptr, nullptr);
    const std::string record(state.begin() + 24, state.end());
    check(record.find(ansi) != std::string::npos, "the program record carries the preset's name");

    const std::string state_file = "state.bin";
    std::ofstream(dir + "\\" + state_file, std::ios::binary)
        .write(reinterpret_cast<const char*>(state.data()),
               static_cast<std::streamsize>(state.size()));
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    if (!check_hr(load_side->Load(stream.Get()), "IPersistStream::Load")) {
        return;
    }
    Render second;
    const std::string output = "out_state.wav";
    if (render(dir + "\\" + input, signal, dir + "\\" + output, loaded.Get(), second)) {
        check(second.output.data == first.output.data,
              "the loaded state renders exactly as the preset it was saved with");
        renders << input << ' ' << output << " - " << second.input_frames.front() << ' '
                << state_file << ' ' << second.capacity_frames << '\n';
    }
}

void run_graphs(const std::string& dir) {
    struct Format {
        WORD tag;
        WORD bits;
        const char* name;
    };
    const Format formats[] = {{WAVE_FORMAT_PCM, 16, "pcm16"},
                              {WAVE_FORMAT_IEEE_FLOAT, 32, "float"}};
    const LONG presets[] = {-1, 2, 11, 27}; // the defaults, then three static presets
    std::ofstream renders(dir + "\\renders.txt", std::ios::binary);
    for (const Format& format : formats) {
        for (WORD channels = 1; channels <= 2; ++channels) {
            for (DWORD rate : {44100u, 48000u}) {
                const std::string input = std::string("in_") + format.name + "_" +
                                          (channels == 1 ? "mono" : "stereo") + "_" +
                                          std::to_string(rate) + ".wav";
                const WavFile signal = make_test_signal(format.tag, format.bits, channels, rate);
                check(signal.write(dir + "\\" + input), "writing " + input);
                for (LONG preset : presets) {
                    const std::string output = "out" + input.substr(2, input.size() - 6) + "_" +
                                               (preset < 0 ? "defaults" : std::to_string(preset)) +
                                               ".wav";
                    const ComPtr<IBaseFilter> quevrin = create_quevrin();
                    if (!quevrin || (preset >= 0 &&
                                     !check_hr(set_preset(quevrin.Get(), preset), "SetPreset"))) {
                        continue;
                    }
                    Render result;
                    if (!render(dir + "\\" + input, signal, dir + "\\" + output, quevrin.Get(),
                                result) ||
                        !check(result.input_frames.size() > 1, "samples reached the sink")) {
                        continue;
                    }
                    // The last group also holds the tail, delivered without times.
                    const LONG frames = result.input_frames.front();
                    const bool even =
                        std::all_of(result.input_frames.begin(), result.input_frames.end() - 1,
                                    [frames](LONG f) { return f == frames; });
                    check(even, output + ": the parser delivered samples of one size");
                    std::printf("%s: the parser delivered %zu samples of %ld frames\n",
                                output.c_str(), result.input_frames.size(),
                                static_cast<long>(frames));
                    renders << input << ' ' << output << ' '
                            << (preset < 0 ? std::string("-") : std::to_string(preset)) << ' '
                            << frames << " - " << result.capacity_frames << '\n';
                    if (preset == 2 && format.tag == WAVE_FORMAT_PCM && channels == 2 &&
                        rate == 44100) {
                        check_state_round_trip(dir, input, signal, preset, result, renders);
                    }
                }
            }
        }
    }
    const ComPtr<IBaseFilter> quevrin = create_quevrin();
    if (quevrin) {
        list_presets(quevrin.Get(), dir);
    }
    check_24_bit_refused(dir);
}

// --- an installed filter ---------------------------------------------------

// The file of the module that holds an object's code: the one COM loaded for it.
std::string module_of(IUnknown* object) {
    HMODULE module = nullptr;
    char path[MAX_PATH] = {};
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           *reinterpret_cast<LPCSTR*>(object), &module)) {
        GetModuleFileNameA(module, path, MAX_PATH);
    }
    return path;
}

// After the installer: the registry names the installed module, and a filter
// made from the class id alone, which COM finds there, comes from that file and
// renders a static preset in Wine's graph.
void run_installed(const std::string& module_path, const std::string& dir) {
    check_registered(module_path);
    const ComPtr<IBaseFilter> quevrin = create_quevrin();
    if (!quevrin) {
        return;
    }
    const std::string loaded = module_of(quevrin.Get());
    check(lstrcmpiA(loaded.c_str(), module_path.c_str()) == 0,
          "the filter's code comes from the installed module (found \"" + loaded + "\")");
    const LONG preset = 27;
    const std::string input = "in_installed.wav";
    const std::string output = "out_installed.wav";
    const WavFile signal = make_test_signal(WAVE_FORMAT_PCM, 16, 2, 44100);
    Render result;
    if (check(signal.write(dir + "\\" + input), "writing " + input) &&
        check_hr(set_preset(quevrin.Get(), preset), "SetPreset") &&
        render(dir + "\\" + input, signal, dir + "\\" + output, quevrin.Get(), result) &&
        check(result.input_frames.size() > 1, "samples reached the sink")) {
        std::ofstream(dir + "\\renders.txt", std::ios::binary)
            << input << ' ' << output << ' ' << preset << ' ' << result.input_frames.front()
            << " - " << result.capacity_frames << '\n';
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (FAILED(CoInitialize(nullptr))) {
        std::printf("CoInitialize failed\n");
        return 2;
    }
    if (command == "resources" && argc == 4) {
        check_resources(argv[2], argv[3]);
    } else if (command == "registered" && argc == 3) {
        check_registered(argv[2]);
    } else if (command == "unregistered" && argc == 2) {
        check_unregistered();
    } else if (command == "graphs" && argc == 3) {
        run_graphs(argv[2]);
    } else if (command == "page" && argc == 2) {
        check_page_in_own_frame();
    } else if (command == "frame" && argc == 2) {
        check_page_in_ole_frame();
    } else if (command == "editor" && (argc == 4 || argc == 5)) {
        check_page_editor(argv[2], argv[3], argc == 5 ? std::atoi(argv[4]) : -1);
    } else if (command == "installed" && argc == 4) {
        run_installed(argv[2], argv[3]);
    } else {
        std::printf("usage: quevrin_wine_test resources MODULE DIR | registered MODULE | "
                    "unregistered | graphs DIR | page | frame | editor DIR input|morph|look "
                    "[PRESET] | installed MODULE DIR\n");
        CoUninitialize();
        return 2;
    }
    CoUninitialize();
    std::printf("%s: %d failed checks\n", command.c_str(), failed_checks());
    return failed_checks() == 0 ? 0 : 1;
}
