#include "app/program.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

#include "app/continuous_mode.h"
#include "app/desktop_dialogs.h"
#include "app/error_report.h"
#include "app/log_browser.h"
#include "app/main_loop.h"
#include "app/main_window.h"
#include "app/pane_dump.h"
#include "app/queue_actions.h"
#include "app/startup_window.h"
#include "app/tick_timer.h"
#include "app/window_build.h"
#include "browse/entry_settings.h"
#include "config/configuration_modes.h"
#include "config/editor_printing.h"
#include "config/message_dialog.h"
#include "config/text_editor.h"
#include "dbf/work_areas.h"
#include "platform/clock.h"
#include "platform/dos_path.h"
#include "platform/file_system.h"
#include "platform/process_starter.h"
#include "platform/settings.h"
#include "print/printout.h"
#include "queue/queue_context.h"
#include "queue/shared.h"
#include "queue/start_up.h"
#include "widgets/event_queue.h"
#include "widgets/tone.h"

namespace sendwerk {

namespace {

// Everything Main works with, alive for the whole run.
struct Services {
    explicit Services(Settings read) : settings(std::move(read)) {}

    Settings settings;
    PathResolver resolver = PathResolver::fromSettings(settings);
    FileSystem files{resolver};
    dbf::WorkAreas areas{resolver};
    RealClock clock;
    PosixProcessStarter starter{files, settings.editor};
    EventQueue events;
    DesktopTone tone;
    EntrySettings entry{events, std::ref(tone)};
    QueueContext queue{files,
                       areas,
                       clock,
                       starter,
                       {},
                       settings.orderTableFolder,
                       settings.errorReportAddress,
                       {},
                       settings.settleSeconds};
    Shared shared;
    Printing printing{settings};
    BoundTexts texts;
    TickTimer timer;
};

void closeAllTables(dbf::WorkAreas& areas) {
    areas.commitAll();
    areas.closeAll();
    areas.select(1);
}

[[noreturn]] void NotAus(dbf::WorkAreas& areas) {
    closeAllTables(areas);
    std::fflush(nullptr);
    std::_Exit(0);
}

void runMainWindow(Services& s, GuardedApplication& app, QueueActions& actions) {
    do {
        auto window = buildMainWindow({s.shared, s.texts, actions, s.events, s.clock});
        s.queue.messageDialog = messageDialogFor({s.events, s.clock}, window.get());
        // The close box waits its turn in the queue like any input, so it never stops
        // the program in the middle of filing an order; the loop then runs NotAus.
        window->closeRequested = [&s, target = window.get()] { s.events.postEvent(event::CloseRequest, 0, 0, target); };
        bool rebuildRequested = false;
        window->resized = [&s, &window, &rebuildRequested](QSize now) {
            DlgResizer(s.shared, s.events, window->laidOutSize(), now, rebuildRequested);
        };
        s.shared.nDauerlauf = 0;
        startSendTimer(s.timer, s.events);
        applyFailureIndicator(*window, actions);
        applyQuarantineIndicator(*window, actions);

        MainLoop(s.shared, *window, s.events, actions, s.clock, [&app] { app.rethrowPending(); }).run();

        if (s.shared.nDauerlauf != 1) dumpPanesIfAsked(*window);
        window->resized = nullptr;
        window->setWindowModality(Qt::NonModal);
        s.queue.messageDialog = nullptr;
        s.shared.screen = {};
        window.reset();
    } while (s.shared.nDauerlauf == 1);
}

void Main(Services& s, GuardedApplication& app) {
    const QSize desktop = QGuiApplication::primaryScreen()->geometry().size();
    s.shared.nH = desktop.width() / 800.0;
    s.shared.nV = desktop.height() / 600.0;
    fitFirstBuildTo(s.shared, QGuiApplication::primaryScreen()->availableGeometry().size());
    s.clock.setIdleHook(s.events.idleHook());
    const MessageBox message = messageBoxOn(s.events);
    s.printing.report = message;
    s.printing.whileWaiting = s.events.idleHook();

    auto startup = showStartupWindow(s.shared);
    if (!startUpChecks(s.shared, s.queue, {message, tableOpenDialogsOn(s.events, s.clock)})) return;
    s.clock.pause(3);
    startup.reset();

    const EditorEnvironment editor{{s.events, s.clock}, s.files, message, editorPrintingFor(s.shared, s.printing)};
    if (const StartMode mode = startModeFor(QGuiApplication::queryKeyboardModifiers()); mode != StartMode::Normal) {
        runConfigurationMode(mode, s.shared.cDatver, editor);
        closeAllTables(s.areas);
        return;
    }

    BrowserContext browser{s.events, s.areas, s.entry, [&app] { app.rethrowPending(); }};
    QueueActions actions(
        s.shared, s.queue, std::ref(s.tone), s.events.idleHook(), [&s] { NotAus(s.areas); }, textEditorFor(editor),
        [&s, &browser, message] { showSendLog(s.shared, browser, message); });
    runMainWindow(s, app, actions);
    closeAllTables(s.areas);
}

// For whoever started the program from a terminal or reads the desktop's log.
void tellTerminal(const QString& line) {
    std::fprintf(stderr, "sendwerk: %s\n", line.toUtf8().constData());
    std::fflush(stderr);
}

}  // namespace

int runProgram(GuardedApplication& app) {
    const Result<Settings> settings = Settings::load();
    Services services(settings.ok() ? settings.value() : Settings{});
    if (!settings.ok()) {
        // Without its drive map the program would only report missing folders.
        tellTerminal(settings.cause());
        messageBoxOn(services.events)(settings.cause());
        return 1;
    }
    tellTerminal(settings->origin());
    const auto body = [&] {
        try {
            Main(services, app);
        } catch (const EndOfProgram&) {
            // The table-open retry was given up: nothing was written, nothing to close.
        }
    };
    return runWithErrorReport(body, messageBoxOn(services.events), [&] { closeAllTables(services.areas); });
}

}  // namespace sendwerk
