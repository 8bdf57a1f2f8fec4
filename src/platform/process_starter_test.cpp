#include "platform/process_starter.h"

#include "support/temp_office.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>

namespace sendwerk {
namespace {

using testing::TempOffice;
using Clock = std::chrono::steady_clock;

class ProcessStarterTest : public ::testing::Test {
protected:
    // An executable shell script below the office root.
    void script(const QString& relative, const QByteArray& body) const {
        office.write(relative, "#!/bin/sh\n" + body + "\n");
        ::chmod(QFile::encodeName(office.native(relative)).constData(), 0755);
    }
    // Waits for a file that a detached child writes (it writes elsewhere and renames).
    QByteArray awaitFile(const QString& relative) const {
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        while (!office.exists(relative) && Clock::now() < deadline) {}
        return office.read(relative);
    }
    TempOffice office;
    FileSystem files{PathResolver(office.drives())};
    PosixProcessStarter starter{files, {}};
};

TEST_F(ProcessStarterTest, ExeNamesFindTheProgram) {
    script("ZUMA/CMail/cmail.exe", "true");
    script("ZUMA/CMail/tool", "true");
    script("ZUMA/bin/both.exe", "true");
    script("ZUMA/bin/both", "true");
    office.write("ZUMA/CMail/plain.exe", "not executable");
    PosixProcessStarter withEditor(files, {"gnome-text-editor", "--wait"});
    struct Case {
        const char* program;
        QStringList expected;  // office-relative for found programs
    } cases[] = {
        {"C:\\ZUMA\\CMail\\cmail.exe", {"ZUMA/CMail/cmail.exe"}},
        {"c:\\zuma\\cmail\\CMAIL.EXE", {"ZUMA/CMail/cmail.exe"}},
        {"C:\\ZUMA\\CMail\\tool.exe", {"ZUMA/CMail/tool"}},
        {"C:\\ZUMA\\CMail\\TOOL.EXE", {"ZUMA/CMail/tool"}},
        {"C:\\ZUMA\\bin\\both.exe", {"ZUMA/bin/both.exe"}},
        {"C:\\ZUMA\\CMail\\plain.exe", {}},
        {"C:\\ZUMA\\CMail\\missing.exe", {}},
        {"C:\\ZUMA\\CMail", {}},
        {"Q:\\cmail.exe", {}},
    };
    for (const Case& c : cases) {
        QStringList expected;
        for (const QString& part : c.expected) expected << office.native(part);
        EXPECT_EQ(withEditor.commandFor(c.program), expected) << c.program;
    }
    for (const char* notepad : {"Notepad.exe", "NOTEPAD.EXE", "C:\\WINDOWS\\notepad.exe", "Q:/x/Notepad.Exe"})
        EXPECT_EQ(withEditor.commandFor(notepad), (QStringList{"gnome-text-editor", "--wait"})) << notepad;
    EXPECT_TRUE(starter.commandFor("Notepad.exe").isEmpty());
}

TEST_F(ProcessStarterTest, RunAndWaitGivesTheExitStatusAndPassesBytesUnchanged) {
    script("bin/echoargs", "for a in \"$@\"; do printf '%s|' \"$a\"; done > \"$(dirname \"$0\")/args.out\"; exit 3");
    const QList<QByteArray> arguments = {"-s",
                                         "Gr\xFC\xDF"
                                         "e an \"alle\"",
                                         "C:\\ZUMA\\x y", "$HOME;*", ""};
    EXPECT_EQ(starter.runAndWait("C:\\BIN\\echoargs.exe", arguments), 3);
    EXPECT_EQ(office.read("bin/args.out"),
              "-s|Gr\xFC\xDF"
              "e an \"alle\"|C:\\ZUMA\\x y|$HOME;*||");
}

TEST_F(ProcessStarterTest, ProgramsThatCannotStartAreReported) {
    office.write("bin/plain", "no program");
    script("bin/broken", "");
    ::chmod(QFile::encodeName(office.native("bin/broken")).constData(), 0755);
    office.write("bin/broken", "#!/nicht/da\n");
    for (const char* program : {"C:\\bin\\missing.exe", "C:\\bin\\plain", "C:\\bin\\broken", "Notepad.exe"}) {
        EXPECT_EQ(starter.runAndWait(program, {}), -1) << program;
        EXPECT_FALSE(starter.startDetached(program, {})) << program;
    }
}

TEST_F(ProcessStarterTest, ArgumentWithANulByteIsNotCutShort) {
    script("bin/echoargs", "printf '%s|' \"$@\" > \"$(dirname \"$0\")/args.out\"");
    const QList<QByteArray> arguments = {"-s", QByteArray("Betreff\0-r boss@example.com", 27)};
    EXPECT_EQ(starter.runAndWait("C:\\bin\\echoargs", arguments), -1);
    EXPECT_FALSE(starter.startDetached("C:\\bin\\echoargs", arguments));
    EXPECT_FALSE(office.exists("bin/args.out"));
}

TEST_F(ProcessStarterTest, RunAndWaitKeepsCallingWhileTheChildRuns) {
    // The child ends only once the waiting side has been called back.
    script("bin/waiter", "while [ ! -e \"$1\" ]; do :; done; exit 0");
    const QString go = office.native("go");
    int calls = 0;
    const int status = starter.runAndWait("C:\\bin\\waiter", {QFile::encodeName(go)}, [&] {
        if (++calls == 1) office.write("go", "");
    });
    EXPECT_EQ(status, 0);
    EXPECT_GE(calls, 1);
}

TEST_F(ProcessStarterTest, NotepadMeansTheEditorWithTheFileResolved) {
    script("bin/editor", "printf '%s|' \"$@\" > \"$(dirname \"$0\")/editor.out\"");
    office.write("ZUMA/CMail/F1.txt", "Hilfe");
    PosixProcessStarter withEditor(files, {office.native("bin/editor"), "--wait"});
    EXPECT_EQ(withEditor.runAndWait("Notepad.exe", {"C:\\ZUMA\\CMAIL\\f1.TXT"}), 0);
    EXPECT_EQ(office.read("bin/editor.out"), QFile::encodeName("--wait|" + office.native("ZUMA/CMail/F1.txt") + "|"));
}

// The "ps" view of this process's children that are zombies.
int zombieChildren() {
    int zombies = 0;
    const QString self = QString::number(::getpid());
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile stat("/proc/" + pid + "/stat");
        if (!stat.open(QIODevice::ReadOnly)) continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[0] == "Z" && fields[1] == self.toLatin1()) ++zombies;
    }
    return zombies;
}

TEST_F(ProcessStarterTest, DetachedChildrenNeverStayZombies) {
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(starter.startDetached("/bin/true", {"x"})) << i;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    int zombies = zombieChildren();
    while (zombies > 0 && Clock::now() < deadline) zombies = zombieChildren();
    EXPECT_EQ(zombies, 0);
}

// What a child finds open: descriptor 200 leaked from the parent? and what is its stdin.
constexpr const char* kProbe =
    "d=$(dirname \"$0\"); { [ -e /proc/$$/fd/200 ] && echo leaked || echo closed; readlink /proc/$$/fd/0; }"
    " > \"$d/seen.tmp\"; mv \"$d/seen.tmp\" \"$d/seen\"";

TEST_F(ProcessStarterTest, ChildrenInheritNoDescriptorsAndDetachedOnesNoInput) {
    script("bin/probe", kProbe);
    office.write("ZUMA/CMAIL/LOG_SENDWERK.DBF", "table");
    // A descriptor opened without close-on-exec, holding the table's lock, as a careless
    // library might.
    const int plain = ::open(QFile::encodeName(office.native("ZUMA/CMAIL/LOG_SENDWERK.DBF")).constData(), O_RDONLY);
    ASSERT_GE(plain, 0);
    ASSERT_EQ(::dup2(plain, 200), 200);
    ::close(plain);
    ASSERT_EQ(::flock(200, LOCK_SH), 0);

    EXPECT_EQ(starter.runAndWait("C:\\bin\\probe", {}), 0);
    EXPECT_TRUE(office.read("bin/seen").startsWith("closed\n")) << office.read("bin/seen").toStdString();
    ASSERT_TRUE(files.erase("C:\\bin\\seen"));

    EXPECT_TRUE(starter.startDetached("C:\\bin\\probe", {}));
    EXPECT_EQ(awaitFile("bin/seen"), "closed\n/dev/null\n");
    ::close(200);
    EXPECT_TRUE(files.canOpenExclusively("C:\\ZUMA\\CMAIL\\LOG_SENDWERK.DBF"));
}

TEST(RunWithInput, FeedsTheCommandAndTellsHowItEnded) {
    const QByteArray big(1 << 20, 'x');  // far more than a pipe holds
    struct Case {
        const char* name;
        QStringList command;
        QByteArray input;
        bool started;
        int exitStatus;
        QByteArray output;
    } cases[] = {
        {"input arrives unchanged",
         {"cat"},
         QByteArray("\x81"
                    "ber\r\n\f"),
         true,
         0,
         QByteArray("\x81"
                    "ber\r\n\f")},
        {"exit status", {"sh", "-c", "cat >/dev/null; echo kaputt >&2; exit 3"}, "x", true, 3, "kaputt\n"},
        {"a command that reads nothing", {"true"}, big, true, 0, ""},
        {"no input at all", {"cat"}, "", true, 0, ""},
        {"not found", {"no-such-command-here"}, "x", false, -1, ""},
        {"no command", {}, "x", false, -1, ""},
    };
    for (const Case& c : cases) {
        const PipedRun run = runWithInput(c.command, c.input, std::chrono::seconds(20));
        EXPECT_EQ(run.started, c.started) << c.name;
        EXPECT_FALSE(run.timedOut) << c.name;
        EXPECT_EQ(run.exitStatus, c.exitStatus) << c.name;
        EXPECT_EQ(run.output, c.output) << c.name;
        EXPECT_EQ(run.failure.isEmpty(), c.started) << c.name;
    }
}

TEST(RunWithInput, AHangingCommandIsStoppedAtTheTimeLimit) {
    int calls = 0;
    const auto start = Clock::now();
    const PipedRun run = runWithInput({"tail", "-f", "/dev/null"}, QByteArray(1 << 20, 'x'),
                                      std::chrono::milliseconds(300), [&calls] { ++calls; });
    const auto took = Clock::now() - start;
    EXPECT_TRUE(run.started);
    EXPECT_TRUE(run.timedOut);
    EXPECT_FALSE(run.succeeded());
    EXPECT_EQ(run.exitStatus, 128 + SIGKILL);
    EXPECT_GT(calls, 3);
    EXPECT_LT(took, std::chrono::seconds(5));
}

}  // namespace
}  // namespace sendwerk
