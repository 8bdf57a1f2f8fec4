#include "console_screen.h"

namespace sendwerk {

ConsoleScreen::ConsoleScreen(std::FILE* out) : out_(out) {
    watch(outbox_, "oMle1 Ausgang");
    watch(failure_, "oMle2 Failure");
    watch(quarantine_, "oMle3 Quarantine");
    watch(pending_, "oMle20 Noch zu senden");
    watch(current_, "oMle30 Aktuelle Mail");
}

void ConsoleScreen::attach(Shared& shared) {
    shared.oMle1 = &outbox_;
    shared.oMle2 = &failure_;
    shared.oMle3 = &quarantine_;
    shared.oMle20 = &pending_;
    shared.oMle30 = &current_;
    shared.oXbpBS = &send_;
    shared.oXbpBH = &halt_;
    shared.oXbpBEn = &end_;
    shared.oXbpBW1 = &retryFailure_;
    shared.oXbpBW2 = &retryQuarantine_;
    shared.oXbpBna = &stop_;
    shared.oXbpBlb = &log_;
}

MessageDialog ConsoleScreen::messageDialog() {
    return [this](const QString& text, const QString& title, int, int) {
        dialogShown_ = true;
        print(QStringLiteral("Meldung: ") + title, text);
    };
}

void ConsoleScreen::print(const QString& header, const QString& text) const {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(out_, "=== %s ===\n%s\n", header.toUtf8().constData(), shown.toUtf8().constData());
    std::fflush(out_);
}

void ConsoleScreen::watch(MemoryPane& pane, const char* name) {
    const QString header = QString::fromUtf8(name);
    pane.onChange = [this, header](const QString& text) { print(header, text); };
}

}  // namespace sendwerk
