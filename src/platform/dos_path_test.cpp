#include "platform/dos_path.h"

#include "platform/settings.h"
#include "support/temp_office.h"

#include <QDir>

#include <gtest/gtest.h>

namespace sendwerk {
namespace {

using testing::TempOffice;

class PathResolverTest : public ::testing::Test {
protected:
    void SetUp() override {
        office.write("ZUMA/CMail/Ausgang/Order_1.ausg", "x");
        office.makeFolder("Dup");
        office.makeFolder("dup");
        office.makeFolder("DUP2");
        office.makeFolder(QString::fromUtf8("Bestätigung"));
    }
    TempOffice office;
    PathResolver resolver{office.drives()};
};

TEST_F(PathResolverTest, MapsDrivePathsCaseInsensitively) {
    struct Case {
        const char* dos;
        const char* expected;  // relative to the office root; "" is the root itself
    } cases[] = {
        {"C:\\ZUMA\\CMAIL\\AUSGANG\\order_1.AUSG", "ZUMA/CMail/Ausgang/Order_1.ausg"},
        {"c:/zuma/cmail/ausgang/", "ZUMA/CMail/Ausgang"},
        {"C:\\ZUMA/CMail\\\\Ausgang", "ZUMA/CMail/Ausgang"},
        {"C:\\ZUMA\\CMail\\Neu\\Datei.TXT", "ZUMA/CMail/Neu/Datei.TXT"},
        {"C:\\zuma\\Neu\\cmail", "ZUMA/Neu/cmail"},
        {"C:\\ZUMA\\.\\CMail\\..\\cmail\\Ausgang", "ZUMA/CMail/Ausgang"},
        {"C:\\..\\..\\zuma", "ZUMA"},
        {"C:\\Dup", "Dup"},
        {"C:\\dup", "dup"},
        {"C:\\DUP", "Dup"},  // no exact match: the first in name order
        {"C:\\dup2", "DUP2"},
        {"C:\\BESTÄTIGUNG\\x", "Bestätigung/x"},
        {"C:\\Bestatigung", "Bestatigung"},
        {"C:\\", ""},
        {"C:", ""},
    };
    for (const Case& c : cases) {
        const QString expected = *c.expected ? office.native(QString::fromUtf8(c.expected)) : office.root();
        EXPECT_EQ(resolver.native(QString::fromUtf8(c.dos)), expected) << c.dos;
    }
}

TEST_F(PathResolverTest, UnmappedDriveGivesNothingOrAnErrorNamingIt) {
    EXPECT_TRUE(resolver.native("Q:\\ZUMA\\x").isEmpty());
    try {
        resolver.nativeOrThrow("q:\\ZUMA\\x");
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("Q:"), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("q:\\ZUMA\\x"), std::string::npos) << error.what();
    }
    EXPECT_EQ(resolver.nativeOrThrow("c:\\zuma"), office.native("ZUMA"));
}

TEST_F(PathResolverTest, PathWithANulCharacterResolvesToNothing) {
    const QString path = QString("C:\\ZUMA\\CMail") + QChar(0) + "\\x";
    EXPECT_TRUE(resolver.native(path).isEmpty());
    EXPECT_THROW(resolver.nativeOrThrow(path), std::runtime_error);
}

TEST_F(PathResolverTest, RootedPathsPassThroughAndStillMatchCase) {
    EXPECT_EQ(resolver.native(office.root() + "/zuma/cmail"), office.native("ZUMA/CMail"));
    EXPECT_EQ(resolver.native("/"), "/");
}

TEST_F(PathResolverTest, PathsWithoutDriveAreRelativeToTheCurrentFolder) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(office.native("ZUMA")));
    const QString current = QDir::currentPath();  // the temp folder may sit behind a link
    EXPECT_EQ(resolver.native("CMAIL\\ausgang"), current + "/CMail/Ausgang");
    EXPECT_EQ(resolver.native(""), current);
    EXPECT_EQ(resolver.native("..\\zuma\\CMAIL"), QDir::cleanPath(current + "/..") + "/ZUMA/CMail");
    QDir::setCurrent(before);
}

TEST(PathResolver, DriveLettersOfTheMapAreUpperCased) {
    TempOffice office;
    const PathResolver resolver({{QChar('t'), office.root()}});
    EXPECT_EQ(resolver.native("T:\\x"), office.native("x"));
    EXPECT_EQ(resolver.native("t:\\x"), office.native("x"));
    EXPECT_EQ(resolver.drives().keys(), QList<QChar>{QChar('T')});
}

TEST(PathResolver, FromSettingsUsesTheirDriveMap) {
    Settings settings;
    settings.drives.insert(QChar('D'), "/srv/daten");
    EXPECT_EQ(PathResolver::fromSettings(settings).native("D:\\nicht\\da"), "/srv/daten/nicht/da");
}

}  // namespace
}  // namespace sendwerk
