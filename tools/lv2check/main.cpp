// lv2check: runs the plug-in's LV2 bundle through a host of its own (lilv)
// the way hosts and their users treat it, kindly and not: every sample rate
// and block size, hostile control values, malformed time events and state
// records, and a soak of seeded random automation. It prints what it found
// and exits with 1 when anything failed.
//
// Usage: lv2check BUNDLE_DIR [--only CHECK]... [--soak-minutes M] [--seed N]
//        [--soak-target lv2|filter|both] [--block FRAMES] [--rate HZ]
//        [--calls N] [--trace FROM:TO]
//   CHECK: matrix, controls, time, state, soak. The soak runs through the LV2
//   plug-in and through the DirectShow filter (the same engine, built in),
//   each for the minutes given; --calls stops it after N calls instead, and
//   --trace prints the changes and output peak of calls FROM to TO, to
//   retrace a finding of a given seed.
#include "ControlsCheck.h"
#include "FilterSoakTarget.h"
#include "Lv2SoakTarget.h"
#include "MatrixCheck.h"
#include "PortMap.h"
#include "Report.h"
#include "Soak.h"
#include "StateCheck.h"
#include "TimeCheck.h"
#include "support/LilvHost.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace {

constexpr const char* plugin_uri = "urn:vantrel:quevrin";

struct Options {
    std::string bundle;
    std::set<std::string> only;
    Soak::Settings soak;
    std::string soak_target = "both"; // lv2, filter or both
};

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool has_value = i + 1 < argc;
        if (a == "--only" && has_value) {
            o.only.insert(argv[++i]);
        } else if (a == "--soak-minutes" && has_value) {
            o.soak.minutes = std::atof(argv[++i]);
        } else if (a == "--seed" && has_value) {
            o.soak.seed = std::uint32_t(std::strtoul(argv[++i], nullptr, 10));
        } else if (a == "--block" && has_value) {
            o.soak.block = std::uint32_t(std::strtoul(argv[++i], nullptr, 10));
        } else if (a == "--soak-target" && has_value) {
            o.soak_target = argv[++i];
        } else if (a == "--calls" && has_value) {
            o.soak.calls = std::atol(argv[++i]);
        } else if (a == "--trace" && has_value) {
            // FROM:TO, call numbers
            const char* range = argv[++i];
            o.soak.trace_from = std::atol(range);
            const char* colon = std::strchr(range, ':');
            o.soak.trace_to = colon != nullptr ? std::atol(colon + 1) : o.soak.trace_from;
        } else if (a == "--rate" && has_value) {
            o.soak.rate = std::atof(argv[++i]);
        } else if (o.bundle.empty() && a.rfind("--", 0) != 0) {
            o.bundle = a;
        } else {
            return false;
        }
    }
    const bool target =
        o.soak_target == "lv2" || o.soak_target == "filter" || o.soak_target == "both";
    return !o.bundle.empty() && target && o.soak.block > 0 && o.soak.rate > 0.0;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: lv2check BUNDLE_DIR [--only matrix|controls|time|state|soak]... "
                     "[--soak-minutes M] [--soak-target lv2|filter|both] [--seed N] "
                     "[--block FRAMES] [--rate HZ] [--calls N] [--trace FROM:TO]\n");
        return 2;
    }
    LilvHost host({options.bundle});
    const LilvPlugin* plugin = host.plugin(plugin_uri);
    if (plugin == nullptr) {
        std::fprintf(stderr, "lv2check: %s holds no plug-in %s.\n", options.bundle.c_str(),
                     plugin_uri);
        return 2;
    }
    const PortMap ports(host.world(), plugin);
    if (!ports.complete()) {
        std::fprintf(stderr, "lv2check: the plug-in lacks the audio, time or tempo ports.\n");
        return 2;
    }
    auto wanted = [&options](const char* check) {
        return options.only.empty() || options.only.count(check) != 0;
    };
    Report report;
    report_faults_with_case();
    const CheckContext context{host, plugin, ports, options.soak.seed};
    if (wanted("matrix")) {
        report.section("matrix");
        MatrixCheck(context).run(report);
    }
    if (wanted("controls")) {
        report.section("controls");
        ControlsCheck(context).run(report);
    }
    if (wanted("time")) {
        report.section("time");
        TimeCheck(context).run(report);
    }
    if (wanted("state")) {
        report.section("state");
        StateCheck(context).run(report);
    }
    if (wanted("soak") && options.soak_target != "filter") {
        set_current_case("the soak through the LV2 plug-in");
        report.section("soak");
        Lv2SoakTarget target(host, plugin, ports, options.soak.rate, options.soak.block);
        if (!target.ok()) {
            report.fail("the plug-in does not instantiate at %g Hz with its presets",
                        options.soak.rate);
        } else {
            Soak(target, options.soak).run(report);
        }
    }
    if (wanted("soak") && options.soak_target != "lv2") {
        set_current_case("the soak through the DirectShow filter");
        report.section("soak through the filter");
        FilterSoakTarget target(options.soak.rate, options.soak.block);
        if (!target.ok()) {
            report.fail("the filter does not stream at %g Hz", options.soak.rate);
        } else {
            Soak(target, options.soak).run(report);
        }
    }
    std::printf("%s: %d failure%s\n", report.failures() == 0 ? "PASS" : "FAIL", report.failures(),
                report.failures() == 1 ? "" : "s");
    return report.failures() == 0 ? 0 : 1;
}
