// The texts of continuous mode: the next-run time `cNextSenden` and the two window
// titles that show it. Pure functions of their inputs; any thread may call them.
#pragma once

#include <QString>
#include <QTime>

namespace sendwerk {

// The window title while no run is announced.
QString mainWindowTitle();

// "hh:mm:ss" two minutes (the timer period) after `now`. The hour does not wrap at
// midnight: 23:58:10 gives "24:00:10"; the seconds are those of `now`.
QString nextSendTime(const QTime& now);

// Title after a click on the send button ("... nächste Sendung um: " + time).
QString titleAfterClick(const QString& cNextSenden);
// Title after a timed run ("... nächste Sendung: " + time).
QString titleAfterTimedRun(const QString& cNextSenden);

}  // namespace sendwerk
