// sendwerk: the operator program of the office's mail dispatcher.
#include <cstdio>
#include <cstdlib>

#include "app/error_report.h"
#include "app/program.h"
#include "platform/program_info.h"

namespace {

constexpr const char* usage =
    "usage: sendwerk [--help | --version]\n"
    "Opens the operator window of the office's mail dispatcher on the data root that the\n"
    "settings file maps (see sendwerk.conf(5)). Without a display, run it under xvfb-run,\n"
    "or send without a window: sendwerk-senden(1).\n";

// Qt would end with a long complaint about a missing platform plugin; the operator
// needs one line that says what to do instead.
bool hasDisplay() {
    const auto set = [](const char* name) { return std::getenv(name) != nullptr && *std::getenv(name) != '\0'; };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv) {
    if (sendwerk::answersHelpOrVersion(argc, argv, "sendwerk", usage)) return 0;
    if (argc > 1) {
        std::fprintf(stderr, "sendwerk: unbekanntes Argument \"%s\"\n%s", argv[1], usage);
        return 2;
    }
    if (!hasDisplay()) {
        std::fputs(
            "sendwerk: keine Anzeige (DISPLAY und WAYLAND_DISPLAY sind leer); "
            "starten Sie es mit xvfb-run sendwerk oder senden Sie ohne Fenster mit sendwerk-senden.\n",
            stderr);
        return 1;
    }
    sendwerk::GuardedApplication app(argc, argv);
    return sendwerk::runProgram(app);
}
