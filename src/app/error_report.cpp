#include "app/error_report.h"

namespace sendwerk {

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (!pending_) pending_ = std::current_exception();
        return true;
    }
}

void GuardedApplication::rethrowPending() {
    if (!pending_) return;
    std::exception_ptr error;
    std::swap(error, pending_);
    std::rethrow_exception(error);
}

QString errorReportText(const std::exception_ptr& error) {
    QString cause;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        cause = QString::fromUtf8(e.what());
    } catch (...) {
        cause = QStringLiteral("unbekannter Fehler");
    }
    return QStringLiteral("Sendwerk ist auf einen unerwarteten Fehler gestoßen:\n\n") + cause +
           QStringLiteral("\n\nDas Programm wird beendet; alle Tabellen werden geschlossen.");
}

int runWithErrorReport(const std::function<void()>& body, const MessageBox& show,
                       const std::function<void()>& endInOrder) {
    try {
        body();
        return 0;
    } catch (...) {
        const QString text = errorReportText(std::current_exception());
        if (show) show(text);
    }
    endInOrder();
    return 1;
}

}  // namespace sendwerk
