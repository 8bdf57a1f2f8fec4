#include "app/error_report.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "app/window_test_support.h"
#include "dbf/file_handle.h"
#include "platform/dos_path.h"

namespace sendwerk {
namespace {

TEST(ErrorReport, AnUnhandledErrorIsShownThenTheProgramEndsInOrder) {
    QStringList shown;
    int closed = 0;
    const int status =
        runWithErrorReport([] { throw std::runtime_error("C:\\ZUMA\\best.dbf: index xauftrnr.ntx fehlt"); },
                           [&](const QString& text) { shown << text; }, [&] { ++closed; });
    EXPECT_EQ(status, 1);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("C:\\ZUMA\\best.dbf: index xauftrnr.ntx fehlt")))
        << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains(QStringLiteral("Das Programm wird beendet"))) << shown[0].toStdString();
    EXPECT_EQ(closed, 1);
}

TEST(ErrorReport, TheCausesAnOperatorMeetsAreGerman) {
    const QString dosPath = QStringLiteral("C:\\ZUMA\\MWSTDAT.DBF");
    const struct {
        std::function<void()> failing;
        QString cause;
    } cases[] = {
        {[&] { PathResolver().nativeOrThrow(dosPath); },
         "Laufwerk C: des Pfads \"C:\\ZUMA\\MWSTDAT.DBF\" ist in der Einstellungsdatei nicht zugeordnet"},
        {[] {
             dbf::FileHandle::openExisting(QStringLiteral("/nonexistent/best.dbf"), dbf::FileHandle::Access::ReadOnly);
         },
         "/nonexistent/best.dbf: kann nicht geöffnet werden: nicht vorhanden"},
    };
    for (const auto& c : cases) {
        QString shown;
        runWithErrorReport(
            c.failing, [&](const QString& text) { shown = text; }, [] {});
        EXPECT_EQ(shown, "Sendwerk ist auf einen unerwarteten Fehler gestoßen:\n\n" + c.cause +
                             "\n\nDas Programm wird beendet; alle Tabellen werden geschlossen.");
    }
}

TEST(ErrorReport, ANormalEndShowsNothing) {
    int shown = 0;
    int closed = 0;
    EXPECT_EQ(runWithErrorReport([] {}, [&](const QString&) { ++shown; }, [&] { ++closed; }), 0);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(closed, 0);
}

// An object whose event handler fails, as a button's activation may.
class FailingObject final : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw std::runtime_error("send run failed");
        return QObject::event(e);
    }
};

TEST(ErrorReport, AnErrorInAnEventHandlerReachesTheLoopsStack) {
    GuardedApplication& app = testing::testApplication();
    FailingObject target;
    QEvent first(QEvent::User);
    QEvent second(QEvent::User);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&target, &first));
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&target, &second));
    EXPECT_THROW(app.rethrowPending(), std::runtime_error);
    EXPECT_NO_THROW(app.rethrowPending());  // the first error is reported once
}

}  // namespace
}  // namespace sendwerk
