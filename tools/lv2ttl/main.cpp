// quevrin-lv2ttl: writes the LV2 bundle's descriptions (manifest.ttl,
// quevrin.ttl, quevrin_ui.ttl, presets.ttl) into a folder, from the
// parameters and the built-in static presets themselves, so the bundle cannot
// drift from them.
// Usage: quevrin-lv2ttl BUNDLE_DIR BINARY_NAME UI_BINARY_NAME
#include "host/lv2/QuevrinLv2.h"
#include "host/lv2/ui/QuevrinLv2Ui.h"
#include "mppi/preset/BankFile.h"
#include "mppi/preset/BankManager.h"
#include "sys/Resource.h"

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace host::lv2;
using host::lv2::ui::QuevrinLv2Ui;

namespace {

const char* const prefixes = "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
                             "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
                             "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
                             "@prefix log: <http://lv2plug.in/ns/ext/log#> .\n"
                             "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                             "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
                             "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
                             "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
                             "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
                             "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
                             "@prefix time: <http://lv2plug.in/ns/ext/time#> .\n"
                             "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
                             "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
                             "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n"
                             "@prefix props: <http://lv2plug.in/ns/ext/port-props#> .\n"
                             "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n\n";

// Nine significant digits give every float back exactly.
std::string number(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(v));
    std::string s(text);
    if (s.find_first_of(".eE") == std::string::npos && s.find("inf") == std::string::npos) {
        s += ".0";
    }
    return s;
}

std::string quoted(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

std::string base64(const std::vector<unsigned char>& bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        unsigned v = static_cast<unsigned>(bytes[i]) << 16;
        if (n > 1) {
            v |= static_cast<unsigned>(bytes[i + 1]) << 8;
        }
        if (n > 2) {
            v |= bytes[i + 2];
        }
        for (std::size_t k = 0; k < 4; ++k) {
            out += k <= n ? digits[(v >> (18 - 6 * k)) & 63] : '=';
        }
    }
    return out;
}

std::string preset_uri(int index) {
    return std::string(QuevrinLv2::uri) + ":preset:" + std::to_string(index + 1);
}

void write_audio_port(std::ostream& out, std::uint32_t index, bool input, const char* symbol,
                      const char* name) {
    out << "    [\n        a lv2:AudioPort , lv2:" << (input ? "InputPort" : "OutputPort")
        << " ;\n        lv2:index " << index << " ;\n        lv2:symbol \"" << symbol
        << "\" ;\n        lv2:name \"" << name << "\" ;\n    ]";
}

void write_control_port(std::ostream& out, std::uint32_t index, const ControlPort& port) {
    out << "    [\n        a lv2:InputPort , lv2:ControlPort ;\n        lv2:index " << index
        << " ;\n        lv2:symbol \"" << port.symbol() << "\" ;\n        lv2:name "
        << quoted(port.name()) << " ;\n        lv2:default " << number(port.default_value())
        << " ;\n        lv2:minimum " << number(port.minimum()) << " ;\n        lv2:maximum "
        << number(port.maximum()) << " ;\n";
    if (!port.unit().empty()) {
        out << "        units:unit units:" << port.unit() << " ;\n";
    }
    if (port.integer()) {
        out << "        lv2:portProperty lv2:integer ;\n";
    }
    if (port.kind() == ControlPort::Kind::enumeration) {
        out << "        lv2:portProperty lv2:enumeration ;\n";
        for (const ControlPort::ScalePoint& p : port.scale_points()) {
            out << "        lv2:scalePoint [ rdfs:label " << quoted(p.label) << " ; rdf:value "
                << number(p.value) << " ] ;\n";
        }
    }
    if (port.logarithmic()) {
        out << "        lv2:portProperty props:logarithmic ;\n";
    }
    out << "    ]";
}

bool write_plugin(const std::string& path, const QuevrinLv2& plugin) {
    std::ofstream out(path);
    out << prefixes << "<" << QuevrinLv2::uri
        << ">\n    a lv2:Plugin , lv2:DelayPlugin , doap:Project ;\n"
        << "    doap:name \"Quevrin\" ;\n    doap:license <urn:vantrel:license> ;\n"
        << "    doap:maintainer [ foaf:name \"Vantrel\" ] ;\n"
        << "    lv2:minorVersion 3 ;\n    lv2:microVersion 0 ;\n"
        << "    lv2:optionalFeature urid:map , log:log , lv2:hardRTCapable ;\n"
        << "    lv2:extensionData state:interface ;\n"
        << "    ui:ui <" << QuevrinLv2Ui::uri << "> ;\n    lv2:port\n";
    std::set<std::string> symbols;
    const auto& ports = plugin.control_ports();
    for (std::uint32_t i = 0; i < ports.size(); ++i) {
        if (!symbols.insert(ports[i].symbol()).second) {
            std::fprintf(stderr, "quevrin-lv2ttl: two parameters give the port symbol %s.\n",
                         ports[i].symbol().c_str());
            return false;
        }
        write_control_port(out, i, ports[i]);
        out << " ,\n";
    }
    write_audio_port(out, QuevrinLv2::port_in_left, true, "in_left", "Left input");
    out << " ,\n";
    write_audio_port(out, QuevrinLv2::port_in_right, true, "in_right", "Right input");
    out << " ,\n";
    write_audio_port(out, QuevrinLv2::port_out_left, false, "out_left", "Left output");
    out << " ,\n";
    write_audio_port(out, QuevrinLv2::port_out_right, false, "out_right", "Right output");
    out << " ,\n    [\n        a lv2:InputPort , atom:AtomPort ;\n"
        << "        atom:bufferType atom:Sequence ;\n        atom:supports time:Position ;\n"
        << "        lv2:designation lv2:control ;\n"
        << "        lv2:portProperty lv2:connectionOptional ;\n        lv2:index "
        << QuevrinLv2::port_time
        << " ;\n        lv2:symbol \"control\" ;\n        lv2:name \"Control\" ;\n    ] ,\n";
    const ControlPort& tempo = ports[QuevrinLv2::port_tempo];
    out << "    [\n        a lv2:OutputPort , lv2:ControlPort ;\n        lv2:index "
        << QuevrinLv2::port_tempo_in_use << " ;\n        lv2:symbol \""
        << QuevrinLv2::tempo_in_use_symbol
        << "\" ;\n        lv2:name \"Tempo in use\" ;\n        lv2:minimum "
        << number(tempo.minimum()) << " ;\n        lv2:maximum " << number(tempo.maximum())
        << " ;\n        units:unit units:" << tempo.unit() << " ;\n    ] .\n\n"
        << "<" << QuevrinLv2::program_key << ">\n    a rdf:Property ;\n"
        << "    rdfs:label \"program record\" ;\n"
        << "    rdfs:comment \"The current program as the filter persists it: its name and "
           "normalized values, big-endian.\" ;\n    rdfs:range atom:Chunk .\n";
    return static_cast<bool>(out);
}

// The editor: an X11 UI inside the host's window, driven by the host's idle
// calls, that hears of every control port and of the tempo in use, drawn at
// the host's scale factor when the host tells it.
bool write_ui(const std::string& path, const QuevrinLv2& plugin) {
    std::ofstream out(path);
    out << prefixes << "<" << QuevrinLv2Ui::uri << ">\n    a ui:X11UI ;\n"
        << "    lv2:requiredFeature ui:parent , ui:idleInterface ;\n"
        << "    lv2:optionalFeature ui:resize , ui:noUserResize , opts:options , urid:map ;\n"
        << "    opts:supportedOption ui:scaleFactor ;\n"
        << "    lv2:extensionData ui:idleInterface ;\n    ui:portNotification";
    std::vector<std::string> symbols;
    for (const ControlPort& port : plugin.control_ports()) {
        symbols.push_back(port.symbol());
    }
    symbols.emplace_back(QuevrinLv2::tempo_in_use_symbol);
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        out << (i == 0 ? "" : " ,") << "\n        [ ui:plugin <" << QuevrinLv2::uri
            << "> ; lv2:symbol \"" << symbols[i] << "\" ; ui:protocol ui:floatProtocol ]";
    }
    out << " .\n";
    return static_cast<bool>(out);
}

bool write_presets(const std::string& path, const QuevrinLv2& plugin,
                   const mppi::BankManager& bank) {
    std::ofstream out(path);
    out << prefixes;
    const auto& ports = plugin.control_ports();
    for (int p = 0; p < bank.get_nbr_progs(); ++p) {
        const mppi::ProgramSlot& program = bank.use_prog(p);
        std::vector<unsigned char> record(static_cast<std::size_t>(program.get_size()));
        if (program.write(record.data()) != 0) {
            return false;
        }
        out << "<" << preset_uri(p) << ">\n    a pset:Preset ;\n    lv2:appliesTo <"
            << QuevrinLv2::uri << "> ;\n    rdfs:label " << quoted(program.get_prog_name())
            << " ;\n    lv2:port";
        for (std::size_t i = 0; i < ports.size(); ++i) {
            const float n = program.get_value(static_cast<int>(i));
            out << (i == 0 ? "" : " ,") << "\n        [ lv2:symbol \"" << ports[i].symbol()
                << "\" ; pset:value " << number(ports[i].to_port(n)) << " ]";
        }
        out << " ;\n    state:state [\n        <" << QuevrinLv2::program_key << "> \""
            << base64(record) << "\"^^xsd:base64Binary\n    ] .\n\n";
    }
    return static_cast<bool>(out);
}

bool write_manifest(const std::string& path, const std::string& binary,
                    const std::string& ui_binary, const mppi::BankManager& bank) {
    std::ofstream out(path);
    out << prefixes << "<" << QuevrinLv2::uri << ">\n    a lv2:Plugin ;\n    lv2:binary <" << binary
        << "> ;\n    rdfs:seeAlso <quevrin.ttl> .\n\n"
        << "<" << QuevrinLv2Ui::uri << ">\n    a ui:X11UI ;\n    ui:binary <" << ui_binary
        << "> ;\n    rdfs:seeAlso <quevrin_ui.ttl> .\n\n";
    for (int p = 0; p < bank.get_nbr_progs(); ++p) {
        out << "<" << preset_uri(p) << ">\n    a pset:Preset ;\n    lv2:appliesTo <"
            << QuevrinLv2::uri << "> ;\n    rdfs:seeAlso <presets.ttl> .\n\n";
    }
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: quevrin-lv2ttl BUNDLE_DIR BINARY_NAME UI_BINARY_NAME\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::size_t size = 0;
    const void* data = sys::get_ressource("VNPB", "static_presets", &size);
    mppi::BankManager bank;
    if (data == nullptr || mppi::load_bank_memory(data, size, bank, false) != mppi::bank_ok) {
        std::fprintf(stderr, "quevrin-lv2ttl: the built-in static presets cannot be read.\n");
        return 1;
    }
    const QuevrinLv2 plugin(48000.0, nullptr);
    if (!write_plugin(dir + "/quevrin.ttl", plugin) || !write_ui(dir + "/quevrin_ui.ttl", plugin) ||
        !write_presets(dir + "/presets.ttl", plugin, bank) ||
        !write_manifest(dir + "/manifest.ttl", argv[2], argv[3], bank)) {
        std::fprintf(stderr, "quevrin-lv2ttl: the bundle's descriptions cannot be written to %s.\n",
                     dir.c_str());
        return 1;
    }
    return 0;
}
