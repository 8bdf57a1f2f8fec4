// Starting other programs: always with an argument vector, never through a shell.
// Arguments are raw bytes (the office's texts travel as Windows-1252, unchanged); one
// with a NUL byte, or one beyond the kernel's limit per argument, cannot travel
// unchanged, so the program is then not started. The
// editor that stands for "Notepad.exe" gets its file arguments as native paths.
//
// Program names follow the office's Windows habits: "X.exe" is started as "X.exe" when
// that file is executable, else as "X" in the same folder; "Notepad.exe" (any case,
// any folder) stands for the editor of the settings file. Program paths are DOS paths.
//
// Behind an interface so the queue's tests can put an in-process fake client in.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

#include "platform/file_system.h"

namespace sendwerk {

// Why `arguments` cannot reach a program unchanged: a NUL byte in one (it would end the
// argument there), or one longer than the kernel takes (128 KiB). Empty when they can.
QString unpassableCause(const QList<QByteArray>& arguments);

class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;

    // Starts the program hidden and returns at once. The child is reaped by the
    // platform, so thousands of starts leave no zombies. False when it could not be
    // started (the office's rules ignore that; the result file tells).
    virtual bool startDetached(const QString& dosProgram, const QList<QByteArray>& arguments) = 0;

    // Starts the program visibly and waits until it has ended. Returns its exit status,
    // or -1 when it could not be started. `whileWaiting` is called about every 20 ms so
    // a window can keep painting; it must not deliver input.
    virtual int runAndWait(const QString& dosProgram, const QList<QByteArray>& arguments,
                           const std::function<void()>& whileWaiting = {}) = 0;
};

// The real one: fork/exec with the drive map and the editor from the settings.
class PosixProcessStarter final : public ProcessStarter {
public:
    PosixProcessStarter(const FileSystem& files, QStringList editorCommand);

    bool startDetached(const QString& dosProgram, const QList<QByteArray>& arguments) override;
    int runAndWait(const QString& dosProgram, const QList<QByteArray>& arguments,
                   const std::function<void()>& whileWaiting = {}) override;

    // The native executable and leading arguments a DOS program name stands for
    // (the ".exe" and "Notepad.exe" rules); empty when nothing executable is found.
    QStringList commandFor(const QString& dosProgram) const;

private:
    const FileSystem& files_;
    QStringList editorCommand_;
};

// The outcome of a command that was fed on its standard input.
struct PipedRun {
    bool started = false;   // false: not found or not executable (see `failure`)
    bool timedOut = false;  // the time limit ran out; the command was killed
    int exitStatus = -1;    // its exit status, 128 + signal when a signal ended it
    QByteArray output;      // what it wrote on stdout and stderr, at most 8 KiB
    QString failure;        // why it was not started; empty otherwise

    bool succeeded() const { return started && !timedOut && exitStatus == 0; }
};

// Runs a native command (program searched on PATH unless it holds a '/', then its
// arguments; no shell), writes `input` to its standard input, closes it and waits for
// the command to end, at most `timeLimit` from the start: then it and its process group
// are killed and reaped. A command that stops reading gets no more input, and does not
// block the caller past the limit. `whileWaiting` is called about every 20 ms. Used for
// printer commands ("|lp -d office").
PipedRun runWithInput(const QStringList& command, const QByteArray& input, std::chrono::milliseconds timeLimit,
                      const std::function<void()>& whileWaiting = {});

}  // namespace sendwerk
