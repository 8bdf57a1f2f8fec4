#include "widgets/tone.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sendwerk {
namespace {

constexpr int kSampleRate = 8000;

void appendLe32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void appendLe16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

// The wave file for one tone, written once into the temp folder; empty when it cannot
// be written.
QString waveFileFor(int hertz, double seconds) {
    const QString path =
        QDir(QDir::tempPath())
            .filePath(QStringLiteral("sendwerk-tone-%1hz-%2ms.wav").arg(hertz).arg(std::lround(seconds * 1000)));
    const QByteArray wave = toneWave(hertz, seconds);
    if (QFile f(path); f.open(QIODevice::ReadOnly) && f.readAll() == wave) return path;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(wave) != wave.size() || !out.commit()) return {};
    return path;
}

}  // namespace

QByteArray toneWave(int hertz, double seconds) {
    hertz = std::clamp(hertz, 20, 8000);
    seconds = std::isfinite(seconds) ? std::clamp(seconds, 0.0, 10.0) : 0.0;
    const auto samples = quint32(std::lround(seconds * kSampleRate));
    const quint32 dataBytes = samples * 2;

    QByteArray out;
    out.reserve(int(44 + dataBytes));
    out.append("RIFF");
    appendLe32(out, 36 + dataBytes);
    out.append("WAVEfmt ");
    appendLe32(out, 16);  // size of the format block
    appendLe16(out, 1);   // PCM
    appendLe16(out, 1);   // mono
    appendLe32(out, kSampleRate);
    appendLe32(out, kSampleRate * 2);
    appendLe16(out, 2);   // bytes per frame
    appendLe16(out, 16);  // bits per sample
    out.append("data");
    appendLe32(out, dataBytes);
    for (quint32 i = 0; i < samples; ++i) {
        const double v = std::sin(2 * std::numbers::pi * hertz * i / kSampleRate);
        appendLe16(out, quint16(qint16(std::lround(v * 12000))));
    }
    return out;
}

DesktopTone::DesktopTone(std::function<QString(const QString&)> findProgram)
    : findProgram_(findProgram ? std::move(findProgram)
                               : [](const QString& name) { return QStandardPaths::findExecutable(name); }) {}

QStringList DesktopTone::playerCommand(const QString& waveFile) const {
    if (const QString paplay = findProgram_(QStringLiteral("paplay")); !paplay.isEmpty()) return {paplay, waveFile};
    if (const QString aplay = findProgram_(QStringLiteral("aplay")); !aplay.isEmpty())
        return {aplay, QStringLiteral("-q"), waveFile};
    return {};
}

void DesktopTone::operator()(int hertz, double seconds) const {
    const QString wave = waveFileFor(hertz, seconds);
    const QStringList command = wave.isEmpty() ? QStringList() : playerCommand(wave);
    // Detached: the player is not our child, so nothing is left to reap.
    if (command.isEmpty() || !QProcess::startDetached(command.first(), command.mid(1))) QApplication::beep();
}

}  // namespace sendwerk
