#include "queue/address_import.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/dos_path.h"
#include "platform/file_system.h"
#include "support/temp_office.h"

namespace sendwerk {
namespace {

TEST(NewAddressLines, FieldFiveOfEveryRecordAfterTheHeader) {
    const QByteArray header = "Nr,Name,Vorname,Ort,EMail\r\n";
    const struct {
        const char* name;
        QByteArray exportText;
        QByteArray lines;
    } cases[] = {
        {"header only", header, ""},
        {"empty file", "", ""},
        {"three records in file order", header + "1,A,B,Ort,a@x.de\r\n2,C,D,Ort,c@x.de\r\n3,E,F,Ort,e@x.de\r\n",
         "a@x.de,\r\nc@x.de,\r\ne@x.de,\r\n"},
        {"LF lines and no final break", "h\n1,A,B,Ort,a@x.de\n2,C,D,Ort,c@x.de", "a@x.de,\r\nc@x.de,\r\n"},
        {"short records skipped", header + "1,A,B,a@x.de\r\n2,C,D,Ort,c@x.de\r\n\r\n3\r\n", "c@x.de,\r\n"},
        {"fields after the fifth ignored", header + "1,A,B,Ort,a@x.de,mehr,noch\r\n", "a@x.de,\r\n"},
        {"quoted commas and blanks as read", header + "1,\"M\xFCller, A\",B,Ort, \"a@x.de\"\r\n", " \"a@x.de\",\r\n"},
        {"quoted value", header + "1,A,B,Ort,\"b\xE4r@x.de\"\r\n", "b\xE4r@x.de,\r\n"},
        {"empty fifth field kept", header + "1,A,B,Ort,\r\n", ",\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(newAddressLines(c.exportText), c.lines) << c.name;
}

class ImportFiles : public ::testing::Test {
protected:
    testing::TempOffice office;
    FileSystem files{PathResolver(office.drives())};
    VirtualClock clock;
    const QString cDatver = QStringLiteral("C:\\ZUMA\\");
    const QByteArray exportText = "Nr,Name,Vorname,Ort,EMail\r\n7,A,B,Ort,neu@kunde.de\r\n";
};

TEST_F(ImportFiles, TheExportIsSetAsideAsOldOneSecondBeforeItIsErased) {
    office.write("ZUMA/CMail/NeueWMails.csv", exportText);
    office.write("ZUMA/CMail/NeueWMails.old", "an older export");
    bool presentAfterCopy = false;
    clock.after(0.99, [&] { presentAfterCopy = office.exists("ZUMA/CMail/NeueWMails.csv"); });

    const Result<AddressImport> imported = importNewAddresses(cDatver, files, clock);
    ASSERT_TRUE(imported.ok()) << imported.cause().toStdString();
    EXPECT_EQ(imported->cNeu, "neu@kunde.de,\r\n");
    EXPECT_EQ(imported->exportKept, "");
    EXPECT_EQ(office.read("ZUMA/CMail/NeueWMails.old"), exportText);
    EXPECT_FALSE(office.exists("ZUMA/CMail/NeueWMails.csv"));
    EXPECT_TRUE(presentAfterCopy);
    EXPECT_DOUBLE_EQ(clock.pausedSeconds(), 1.0);
}

TEST_F(ImportFiles, NoExportFileChangesNothing) {
    const Result<AddressImport> imported = importNewAddresses(cDatver, files, clock);
    ASSERT_FALSE(imported.ok());
    EXPECT_EQ(imported.cause(),
              "Stellen Sie zunächst die MailExportdatei CMail\\NeueWMails.csv bereit!\r\n"
              "Starten Sie dann neu.");
    EXPECT_FALSE(office.exists("ZUMA/CMail/NeueWMails.old"));
    EXPECT_DOUBLE_EQ(clock.pausedSeconds(), 0.0);
}

TEST_F(ImportFiles, AFailedCopyNeverErasesTheExport) {
    office.write("ZUMA/CMail/NeueWMails.csv", exportText);
    office.makeFolder("ZUMA/CMail/NeueWMails.old");  // a folder in the copy's place: the copy fails

    const Result<AddressImport> imported = importNewAddresses(cDatver, files, clock);
    ASSERT_TRUE(imported.ok());
    EXPECT_EQ(imported->cNeu, "neu@kunde.de,\r\n");
    EXPECT_TRUE(imported->exportKept.startsWith("Die Kopie CMail\\NeueWMails.old konnte nicht geschrieben werden: "))
        << imported->exportKept.toStdString();
    EXPECT_EQ(office.read("ZUMA/CMail/NeueWMails.csv"), exportText);
}

}  // namespace
}  // namespace sendwerk
