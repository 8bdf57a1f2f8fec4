// The tone of the timed send run. DesktopTone plays a sine of the given frequency and
// length through the desktop's sound (paplay or aplay, started detached on a small WAV
// file in the temp folder) and falls back to the display's bell when neither player
// exists. Never blocks for the tone's length. Fits sendwerk::Tone (queue/screen.h).
// GUI thread only (the bell needs the application).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace sendwerk {

// A mono 16-bit PCM WAV file of a sine at `hertz` lasting `seconds` (8000 samples a
// second). Frequencies and lengths out of range are clamped (20..8000 Hz, 0..10 s).
QByteArray toneWave(int hertz, double seconds);

class DesktopTone {
public:
    // `findProgram` tells the full path of an installed program, empty when missing;
    // the default looks in PATH.
    explicit DesktopTone(std::function<QString(const QString&)> findProgram = {});

    void operator()(int hertz, double seconds) const;

    // The player's command line for a wave file, empty when no player is installed.
    QStringList playerCommand(const QString& waveFile) const;

private:
    std::function<QString(const QString&)> findProgram_;
};

}  // namespace sendwerk
