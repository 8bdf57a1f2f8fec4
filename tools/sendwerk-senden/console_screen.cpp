#include "console_screen.h"

namespace sendwerk {

ConsoleScreen::ConsoleScreen(std::FILE* panes, std::FILE* dialogs) : panes_(panes), dialogs_(dialogs) {
    if (!panes_) return;
    watch(screen_.outboxPane, "oMle1 Ausgang");
    watch(screen_.failurePane, "oMle2 Failure");
    watch(screen_.quarantinePane, "oMle3 Quarantine");
    watch(screen_.pendingPane, "oMle20 Noch zu senden");
    watch(screen_.currentPane, "oMle30 Aktuelle Mail");
}

MessageDialog ConsoleScreen::messageDialog() {
    return [this](const QString& text, const QString& title, int, int) {
        print(dialogs_, QStringLiteral("Meldung: ") + title, text);
    };
}

void ConsoleScreen::print(std::FILE* to, const QString& header, const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(to, "=== %s ===\n%s\n", header.toUtf8().constData(), shown.toUtf8().constData());
    std::fflush(to);
}

void ConsoleScreen::watch(MemoryPane& pane, const char* name) {
    const QString header = QString::fromUtf8(name);
    pane.onChange = [this, header](const QString& text) { print(panes_, header, text); };
}

}  // namespace sendwerk
