#include "platform/file_system.h"

#include "support/temp_office.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sendwerk {
namespace {

using testing::TempOffice;

class FileSystemTest : public ::testing::Test {
protected:
    QStringList entries(const QString& relative) const {
        return QDir(office.native(relative))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    mode_t modeOf(const QString& relative) const {
        struct stat info {};
        ::stat(QFile::encodeName(office.native(relative)).constData(), &info);
        return info.st_mode & 0777;
    }
    TempOffice office;
    FileSystem files{PathResolver(office.drives())};
};

TEST_F(FileSystemTest, ListsNormalFilesByPatternInCaseInsensitiveOrder) {
    for (const char* name :
         {"Zeta.AUSG", "alpha.ausg", "Beta.ausg", "beta.AUSG", "note.txt", "README", "x.ausg.bak", ".hidden.ausg"})
        office.write(QString("ZUMA/CMail/Ausgang/") + name, "x");
    office.makeFolder("ZUMA/CMail/Ausgang/failure.ausg");
    ASSERT_EQ(::symlink("alpha.ausg", QFile::encodeName(office.native("ZUMA/CMail/Ausgang/link.ausg")).constData()), 0);
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(office.native("ZUMA/CMail/Ausgang/dead.ausg")).constData()), 0);
    struct Case {
        const char* pattern;
        QStringList expected;
    } cases[] = {
        {"C:\\ZUMA\\CMail\\Ausgang\\*.ausg", {"alpha.ausg", "Beta.ausg", "beta.AUSG", "link.ausg", "Zeta.AUSG"}},
        {"c:\\zuma\\CMAIL\\AUSGANG\\?ETA.*", {"Beta.ausg", "beta.AUSG", "Zeta.AUSG"}},
        {"C:\\ZUMA\\CMail\\Ausgang\\*.*",
         {"alpha.ausg", "Beta.ausg", "beta.AUSG", "link.ausg", "note.txt", "README", "x.ausg.bak", "Zeta.AUSG"}},
        {"C:\\ZUMA\\CMail\\Ausgang\\readme", {"README"}},
        {"C:\\ZUMA\\CMail\\Ausgang\\failure.ausg", {}},
        {"C:\\ZUMA\\CMail\\gesendet\\*.ausg", {}},
        {"Q:\\ZUMA\\*.ausg", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(files.list(c.pattern), c.expected) << c.pattern;
}

TEST_F(FileSystemTest, ListsWithoutFolderRelativeToDriveOrCurrentFolder) {
    office.write("A.ausg", "x");
    EXPECT_EQ(files.list("C:*.AUSG"), QStringList{"A.ausg"});
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(office.root()));
    EXPECT_EQ(files.list("*.ausg"), QStringList{"A.ausg"});
    QDir::setCurrent(before);
}

TEST_F(FileSystemTest, ExistenceTellsFilesFromFolders) {
    office.write("ZUMA/CMail/Verbindung.dat", "x");
    EXPECT_TRUE(files.fileExists("C:\\zuma\\cmail\\VERBINDUNG.DAT"));
    EXPECT_FALSE(files.folderExists("C:\\zuma\\cmail\\VERBINDUNG.DAT"));
    EXPECT_TRUE(files.folderExists("C:\\ZUMA\\CMAIL\\"));
    EXPECT_FALSE(files.fileExists("C:\\ZUMA\\CMAIL"));
    EXPECT_FALSE(files.fileExists("C:\\ZUMA\\nothing"));
    EXPECT_FALSE(files.fileExists("Q:\\ZUMA\\CMail\\Verbindung.dat"));
}

TEST_F(FileSystemTest, ReadTellsMissingFromEmpty) {
    office.write("empty.txt", "");
    office.write("data.bin", QByteArray("\x00\xE4\r\n", 4));
    const Result<QByteArray> empty = files.read("C:\\EMPTY.TXT");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->isEmpty());
    const Result<QByteArray> data = files.read("C:\\data.bin");
    ASSERT_TRUE(data);
    EXPECT_EQ(*data, QByteArray("\x00\xE4\r\n", 4));
    const Result<QByteArray> missing = files.read("C:\\missing.txt");
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.cause().contains("missing.txt")) << missing.cause().toStdString();
    EXPECT_EQ(files.readWhole("C:\\missing.txt"), QByteArray());
    EXPECT_EQ(files.readWhole("C:\\data.bin").size(), 4);
}

TEST_F(FileSystemTest, WriteReplacesAtomicallyAndKeepsTheMode) {
    office.write("ZUMA/CMail/WhiteList.mad", "old");
    ::chmod(QFile::encodeName(office.native("ZUMA/CMail/WhiteList.mad")).constData(), 0640);
    EXPECT_TRUE(files.writeWhole("C:\\ZUMA\\CMAIL\\whitelist.MAD", "new list\r\n"));
    EXPECT_EQ(office.read("ZUMA/CMail/WhiteList.mad"), "new list\r\n");
    EXPECT_EQ(modeOf("ZUMA/CMail/WhiteList.mad"), mode_t(0640));
    EXPECT_TRUE(files.writeWhole("C:\\ZUMA\\CMail\\Neu.txt", ""));
    EXPECT_EQ(entries("ZUMA/CMail"), (QStringList{"Neu.txt", "WhiteList.mad"}));  // no temporary left
}

TEST_F(FileSystemTest, WriteFailsIntoMissingFolderOrUnmappedDrive) {
    const Result<> noFolder = files.writeWhole("C:\\nicht\\da\\x.txt", "x");
    EXPECT_FALSE(noFolder);
    EXPECT_TRUE(noFolder.cause().contains(office.native("nicht/da/x.txt"))) << noFolder.cause().toStdString();
    const Result<> noDrive = files.writeWhole("Q:\\x.txt", "x");
    EXPECT_FALSE(noDrive);
    EXPECT_TRUE(noDrive.cause().contains("Q:\\x.txt")) << noDrive.cause().toStdString();
}

TEST_F(FileSystemTest, CopyIsCompleteAndReportsEveryFailure) {
    const QByteArray big(300000, 'z');
    office.write("ZUMA/CMail/Ausgang/a.ausg", big);
    office.makeFolder("ZUMA/CMail/gesendet");
    EXPECT_TRUE(files.copy("C:\\ZUMA\\CMail\\Ausgang\\A.AUSG", "C:\\ZUMA\\CMail\\gesendet\\a.ausg"));
    EXPECT_EQ(office.read("ZUMA/CMail/gesendet/a.ausg"), big);
    EXPECT_EQ(office.read("ZUMA/CMail/Ausgang/a.ausg"), big);

    struct Case {
        const char* from;
        const char* to;
        const char* named;
    } failures[] = {
        {"C:\\ZUMA\\CMail\\Ausgang\\missing.ausg", "C:\\ZUMA\\x.ausg", "missing.ausg"},
        {"C:\\ZUMA\\CMail\\Ausgang\\a.ausg", "C:\\ZUMA\\CMail\\nicht da\\a.ausg", "nicht da"},
        {"C:\\ZUMA\\CMail\\Ausgang", "C:\\ZUMA\\x.ausg", "Ausgang"},
        {"C:\\ZUMA\\CMail\\Ausgang\\a.ausg", "Q:\\a.ausg", "Q:\\a.ausg"},
    };
    for (const Case& c : failures) {
        const Result<> result = files.copy(c.from, c.to);
        EXPECT_FALSE(result) << c.from << " -> " << c.to;
        EXPECT_TRUE(result.cause().contains(c.named)) << result.cause().toStdString();
    }
    EXPECT_FALSE(office.exists("ZUMA/x.ausg"));
}

// Runs `body` in a child process without root's right to write anywhere, and gives its
// exit status.
int asOrdinaryUser(const TempOffice& office, const std::function<int()>& body) {
    ::chmod(QFile::encodeName(office.root()).constData(), 0755);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && ::setresuid(65534, 65534, 65534) != 0) ::_exit(3);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(FileSystemTest, CopyIntoReadOnlyFolderFailsWithoutTrace) {
    office.write("a.ausg", "x");
    office.makeFolder("locked");
    ::chmod(QFile::encodeName(office.native("a.ausg")).constData(), 0644);
    ::chmod(QFile::encodeName(office.native("locked")).constData(), 0555);
    const int status = asOrdinaryUser(office, [&] {
        const Result<> result = files.copy("C:\\a.ausg", "C:\\locked\\a.ausg");
        return result.ok() ? 1 : result.cause().contains("locked") ? 0 : 2;
    });
    ::chmod(QFile::encodeName(office.native("locked")).constData(), 0755);
    EXPECT_EQ(status, 0) << "1: reported success, 2: error does not name the folder";
    EXPECT_TRUE(entries("locked").isEmpty());
}

// A full disk, played by a file-size limit in a child process (no root needed): the
// operation fails naming the file, and the old target stays whole.
TEST_F(FileSystemTest, CopyAndWriteOntoAFullDiskFailAndKeepTheOldTarget) {
    const QByteArray big(200000, 'p');
    office.write("big.pdf", big);
    const struct Case {
        const char* name;
        std::function<Result<>(const FileSystem&)> operation;
    } cases[] = {
        {"copy", [](const FileSystem& f) { return f.copy("C:\\big.pdf", "C:\\archive\\big.pdf"); }},
        {"write", [&big](const FileSystem& f) { return f.writeWhole("C:\\archive\\big.pdf", big); }},
    };
    for (const Case& c : cases) {
        office.write("archive/big.pdf", "old copy");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const struct rlimit limit = {65536, 65536};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            const Result<> result = c.operation(files);
            ::_exit(result.ok() ? 1 : result.cause().contains("big.pdf") ? 0 : 2);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << c.name;
        EXPECT_EQ(WEXITSTATUS(status), 0) << c.name << " (1: reported success, 2: error does not name the file)";
        EXPECT_EQ(office.read("archive/big.pdf"), "old copy") << c.name;
        EXPECT_EQ(entries("archive"), QStringList{"big.pdf"}) << c.name;
    }
}

TEST_F(FileSystemTest, EraseAcceptsMissingFilesButNotFolders) {
    office.write("ZUMA/x.result", "x");
    EXPECT_TRUE(files.erase("C:\\zuma\\X.RESULT"));
    EXPECT_FALSE(office.exists("ZUMA/x.result"));
    EXPECT_TRUE(files.erase("C:\\zuma\\X.RESULT"));
    EXPECT_TRUE(files.erase("C:\\nicht\\da\\x"));
    EXPECT_FALSE(files.erase("C:\\ZUMA"));
    EXPECT_TRUE(office.exists("ZUMA"));
}

TEST_F(FileSystemTest, MakeFoldersCreatesParentsOnce) {
    office.makeFolder("ZUMA/CMail");
    EXPECT_TRUE(files.makeFolders("C:\\zuma\\cmail\\gesendet\\123456\\Sterbefall"));
    EXPECT_TRUE(office.exists("ZUMA/CMail/gesendet/123456/Sterbefall"));
    EXPECT_TRUE(files.makeFolders("C:\\ZUMA\\CMail\\gesendet\\123456\\Sterbefall\\"));
    office.write("ZUMA/datei", "x");
    const Result<> onFile = files.makeFolders("C:\\ZUMA\\datei\\unter");
    EXPECT_FALSE(onFile);
    EXPECT_TRUE(onFile.cause().contains("datei")) << onFile.cause().toStdString();
    EXPECT_FALSE(files.makeFolders("C:\\ZUMA\\datei"));
    EXPECT_FALSE(files.makeFolders("Q:\\x"));
}

class ExclusiveOpenTest : public FileSystemTest {
protected:
    void SetUp() override { office.write("ZUMA/CMAIL/LOG_SENDWERK.DBF", "table"); }
    int openLocked(int operation) const {
        const int fd =
            ::open(QFile::encodeName(office.native("ZUMA/CMAIL/LOG_SENDWERK.DBF")).constData(), O_RDWR | O_CLOEXEC);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(::flock(fd, operation | LOCK_NB), 0);
        return fd;
    }
    const QString log = "C:\\ZUMA\\CMail\\LOG_SENDWERK.DBF";
};

TEST_F(ExclusiveOpenTest, FailsWhileThisProcessHoldsTheTable) {
    EXPECT_TRUE(files.canOpenExclusively(log));
    EXPECT_TRUE(files.canOpenExclusively(log));  // the test itself leaves nothing behind
    for (int operation : {LOCK_SH, LOCK_EX}) {
        const int fd = openLocked(operation);
        EXPECT_FALSE(files.canOpenExclusively(log)) << operation;
        ::close(fd);
        EXPECT_TRUE(files.canOpenExclusively(log)) << operation;
    }
    EXPECT_FALSE(files.canOpenExclusively("C:\\ZUMA\\CMail\\missing.dbf"));
}

TEST_F(ExclusiveOpenTest, FailsWhileAnotherProcessHoldsTheTable) {
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        ::close(release[1]);
        const int fd = ::open(QFile::encodeName(office.native("ZUMA/CMAIL/LOG_SENDWERK.DBF")).constData(), O_RDONLY);
        const char ok = fd >= 0 && ::flock(fd, LOCK_SH | LOCK_NB) == 0 ? 'y' : 'n';
        [[maybe_unused]] auto w = ::write(ready[1], &ok, 1);
        char any;
        [[maybe_unused]] auto r = ::read(release[0], &any, 1);  // until the parent closes it
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 'y');
    EXPECT_FALSE(files.canOpenExclusively(log));
    ::close(release[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    EXPECT_TRUE(files.canOpenExclusively(log));
}

}  // namespace
}  // namespace sendwerk
