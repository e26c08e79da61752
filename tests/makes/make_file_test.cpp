#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "makes/make_utils.h"
#include "platform/values/numfmt.h"
#include "tests/makes/make_fixture.h"
#include "tests/support/saved_variable.h"

using makes::OximeterMakePtr;
using makes::ReadMakesFile;
using makes::SaveMakesFile;
using makes_test::FullMake;
using makes_test::MakeFileText;

namespace {

using MakeFileTest = makes_test::MakeFolderTest;

std::string LightAndHeader(const std::string& name, const std::string& light) {
    return "[MANUFACTURER]\r\nMAN_NAME=" + name + "\r\n\r\n\r\n[LIGHT]\r\n" + light + "\r\n\r\n[RVALUE]\r\n";
}

TEST_F(MakeFileTest, WritesExactlyTheMakeFileLines) {
    auto make = FullMake("Acme Pulse");
    make->SetRedDC(1200);
    make->SetIRDC(1300);
    make->SetIRAC(900);
    make->SetLightLevel(2);
    make->SetTLC(0);
    auto& curve = *make->RCurve();
    curve.Item(1)->SetRvalue("1.23456");
    curve.Item(2)->SetRvalue("0.50");
    curve.Item(3)->SetRvalue("1");
    curve.Item(4)->SetRvalue("0,00004");
    ASSERT_TRUE(SaveMakesFile(make, "acme.txt", makes::kRegistryKey));

    std::string expected = LightAndHeader("Acme Pulse", "RDC=1200\r\nIRDC=1300\r\nIRAC=900\r\nLightLevel=2\r\nTLC=0\r\n");
    expected += "RVALUE50=1.2346\r\nRVALUE51=0.5\r\nRVALUE52=1\r\nRVALUE53=0\r\n";
    for (int spo2 = 54; spo2 <= 100; ++spo2)
        expected += "RVALUE" + std::to_string(spo2) + "=" + plat::NumberToText((100 - spo2) / 20.0) + "\r\n";
    EXPECT_EQ(ReadBytes("acme.txt"), expected);
    EXPECT_EQ(plat::fs::ListFiles(folder_, "*"), std::vector<std::string>{"acme.txt"});
}

TEST_F(MakeFileTest, RoundTripKeepsTheMakeWithFourDecimals) {
    auto make = FullMake("Round trip");
    make->SetRedDC(11);
    make->SetIRDC(22);
    make->SetIRAC(33);
    make->SetLightLevel(2);
    make->SetTLC(44);
    make->RCurve()->Item(7)->SetRvalue("1.23456");
    ASSERT_TRUE(SaveMakesFile(make, "trip.txt", makes::kRegistryKey));

    OximeterMakePtr back = ReadMakesFile(Path("trip.txt"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Name(), "Round trip");
    EXPECT_EQ(back->File(), "trip.txt");
    EXPECT_EQ(back->RedDC(), 11);
    EXPECT_EQ(back->IRDC(), 22);
    EXPECT_EQ(back->IRAC(), 33);
    EXPECT_EQ(back->LightLevel(), 2);
    EXPECT_EQ(back->TLC(), 44);
    ASSERT_EQ(back->RCurve()->Count(), 51);
    for (int i = 1; i <= 51; ++i) {
        EXPECT_EQ(back->RCurve()->Item(i)->spo2(), 49 + i);
        if (i != 7) {
            EXPECT_EQ(back->RCurve()->Item(i)->rvalue(), make->RCurve()->Item(i)->rvalue());
        }
    }
    EXPECT_EQ(back->RCurve()->Item(7)->rvalue(), "1.2346");
}

TEST_F(MakeFileTest, NamesAreKeptByteForByte) {
    const std::string name = "Caf\xE9 \xC3\xA9\x80\xFF";
    auto make = FullMake(name);
    ASSERT_TRUE(SaveMakesFile(make, "bytes.txt", makes::kRegistryKey));
    EXPECT_EQ(ReadBytes("bytes.txt").rfind("[MANUFACTURER]\r\nMAN_NAME=" + name + "\r\n", 0), 0u);
    auto back = ReadMakesFile(Path("bytes.txt"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Name(), name);
}

TEST_F(MakeFileTest, CommaDecimalSignIsWrittenAndReadBack) {
    plat::ScopedDecimalSign comma(',');
    auto make = FullMake("Komma");
    make->RCurve()->Item(1)->SetRvalue("0.5");
    make->RCurve()->Item(2)->SetRvalue("3");
    ASSERT_TRUE(SaveMakesFile(make, "komma.txt", makes::kRegistryKey));
    std::string bytes = ReadBytes("komma.txt");
    EXPECT_NE(bytes.find("RVALUE50=0,5\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("RVALUE51=2,5\r\n"), std::string::npos);
    EXPECT_EQ(make->RCurve()->Item(2)->StoredRvalue(), "2,5");
    auto back = ReadMakesFile(Path("komma.txt"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->RCurve()->Item(1)->rvalue(), "0,5");
}

TEST_F(MakeFileTest, SavingClampsTheCallersMake) {
    auto make = FullMake("Clamp");
    make->SetTLC(5000);
    make->SetIRAC(-3);
    make->SetRedDC(4096);
    make->SetIRDC(4095);
    make->SetLightLevel(3);
    make->RCurve()->Item(1)->SetRvalue("3");
    make->RCurve()->Item(2)->SetRvalue("-0.1");
    make->RCurve()->Item(3)->SetRvalue("abc");
    make->RCurve()->Item(4)->SetRvalue("2.5");
    ASSERT_TRUE(SaveMakesFile(make, "clamp.txt", makes::kRegistryKey));

    std::string bytes = ReadBytes("clamp.txt");
    for (const char* line : {"\r\nTLC=4095\r\n", "\r\nIRAC=0\r\n", "\r\nRDC=4095\r\n", "\r\nIRDC=4095\r\n",
                             "\r\nLightLevel=1\r\n", "\r\nRVALUE50=2.5\r\n", "\r\nRVALUE51=0\r\n", "\r\nRVALUE52=0\r\n",
                             "\r\nRVALUE53=2.5\r\n"})
        EXPECT_NE(bytes.find(line), std::string::npos) << line;
    EXPECT_EQ(make->TLC(), 4095);
    EXPECT_EQ(make->IRAC(), 0);
    EXPECT_EQ(make->LightLevel(), 1);
    EXPECT_EQ(make->RCurve()->Item(1)->StoredRvalue(), "2.5");
    EXPECT_EQ(make->RCurve()->Item(2)->StoredRvalue(), "0");
    EXPECT_EQ(make->RCurve()->Item(3)->StoredRvalue(), "abc");
}

TEST_F(MakeFileTest, ClampLooksAtTheFirst51PointsOnly) {
    auto make = FullMake("Long");
    make->AddRValue(101, "9");
    make->RCurve()->Item(51)->SetRvalue("7");
    makes::ClampMakeValues(make);
    EXPECT_EQ(make->RCurve()->Item(51)->StoredRvalue(), "2.5");
    EXPECT_EQ(make->RCurve()->Item(52)->StoredRvalue(), "9");
    makes::ClampMakeValues(nullptr);
}

TEST_F(MakeFileTest, OnlyCurvesOf51PointsAreWritten) {
    auto shortMake = FullMake("Short");
    shortMake->RCurve()->Remove(51);
    EXPECT_FALSE(SaveMakesFile(shortMake, "short.txt", makes::kRegistryKey));
    auto longMake = FullMake("Long");
    longMake->AddRValue(100, "1");
    EXPECT_FALSE(SaveMakesFile(longMake, "long.txt", makes::kRegistryKey));
    auto none = std::make_shared<makes::COximeterMake>();
    none->SetRCurve(nullptr);
    EXPECT_FALSE(SaveMakesFile(none, "none.txt", makes::kRegistryKey));
    OximeterMakePtr null;
    EXPECT_FALSE(SaveMakesFile(null, "null.txt", makes::kRegistryKey));
    EXPECT_TRUE(plat::fs::ListFiles(folder_, "*").empty());
    EXPECT_EQ(shortMake->Name(), "Short");
}

TEST_F(MakeFileTest, PointsAreSlottedBySpO2OnWrite) {
    auto make = FullMake("Slots");
    auto& curve = *make->RCurve();
    curve.Item(11)->SetRvalue("1.1");  // SpO2 60
    curve.Item(12)->SetSpo2(60);       // replaces 61, comes later: wins
    curve.Item(12)->SetRvalue("1.2");
    curve.Item(13)->SetSpo2(120);      // SpO2 62 gets nothing, 120 is not written
    ASSERT_TRUE(SaveMakesFile(make, "slots.txt", makes::kRegistryKey));
    std::string bytes = ReadBytes("slots.txt");
    EXPECT_NE(bytes.find("\r\nRVALUE60=1.2\r\nRVALUE61=0\r\nRVALUE62=0\r\nRVALUE63="), std::string::npos);
    EXPECT_EQ(bytes.find("RVALUE120"), std::string::npos);
}

TEST_F(MakeFileTest, ReadAcceptsEveryLineEndAndLowerCasePrefix) {
    WriteFile("lf.txt", MakeFileText("Lf", 51, "\n"));
    WriteFile("cr.txt", MakeFileText("Cr", 51, "\r"));
    WriteFile("lower.txt", MakeFileText("Lower", 51, "\r\n", "rvalue"));
    for (const char* name : {"lf.txt", "cr.txt", "lower.txt"}) {
        auto make = ReadMakesFile(Path(name));
        ASSERT_TRUE(make) << name;
        EXPECT_EQ(make->RedDC(), 100);
        EXPECT_EQ(make->IRDC(), 200);
        EXPECT_EQ(make->IRAC(), 300);
        EXPECT_EQ(make->LightLevel(), 2);
        EXPECT_EQ(make->TLC(), 400);
        EXPECT_EQ(make->RCurve()->Count(), 51);
    }
    EXPECT_EQ(ReadMakesFile(Path("cr.txt"))->Name(), "Cr");
}

TEST_F(MakeFileTest, ReadRequires51RValueLines) {
    WriteFile("50.txt", MakeFileText("Fifty", 50));
    WriteFile("52.txt", MakeFileText("FiftyTwo", 52));
    std::string blank = MakeFileText("Blank", 51);
    blank.replace(blank.find("RVALUE60"), 0, " ");  // a leading blank ends the section
    WriteFile("blank.txt", blank);
    std::string noEq = MakeFileText("NoEq", 51);
    noEq.replace(noEq.find("RVALUE60=0.5"), 12, "RVALUE60 0.5");
    WriteFile("noeq.txt", noEq);
    for (const char* name : {"50.txt", "52.txt", "blank.txt", "noeq.txt"}) EXPECT_FALSE(ReadMakesFile(Path(name))) << name;

    std::string trailing = MakeFileText("Trailing", 51) + "\r\n[OTHER]\r\nRVALUE=9\r\n";
    WriteFile("trailing.txt", trailing);
    EXPECT_TRUE(ReadMakesFile(Path("trailing.txt")));
}

TEST_F(MakeFileTest, ReadHandlesHeadersAndNames) {
    std::string lowerHeader = MakeFileText("X", 51);
    lowerHeader.replace(0, 14, "[manufacturer]");
    WriteFile("lowerheader.txt", lowerHeader);
    EXPECT_FALSE(ReadMakesFile(Path("lowerheader.txt")));

    std::string noName = MakeFileText("X", 51);
    noName.replace(noName.find("MAN_NAME=X"), 10, "OTHER=X");
    WriteFile("noname.txt", noName);
    ASSERT_TRUE(ReadMakesFile(Path("noname.txt")));
    EXPECT_EQ(ReadMakesFile(Path("noname.txt"))->Name(), "<<Custom oximeter>>");

    WriteFile("spaces.txt", MakeFileText("A=B C  ", 51));
    ASSERT_TRUE(ReadMakesFile(Path("spaces.txt")));
    EXPECT_EQ(ReadMakesFile(Path("spaces.txt"))->Name(), "A=B C");

    std::string twoNames = MakeFileText("First", 51);
    twoNames.replace(twoNames.find("MAN_NAME"), 0, "MAN_NAME=Zero\r\n");
    WriteFile("two.txt", twoNames);
    ASSERT_TRUE(ReadMakesFile(Path("two.txt")));
    EXPECT_EQ(ReadMakesFile(Path("two.txt"))->Name(), "First");
}

TEST_F(MakeFileTest, LightValuesRoundHalvesToEvenAndAreClampedOnRead) {
    std::string text = LightAndHeader("Light", "RDC=2.5\r\nIRDC=3,5\r\nIRAC=5000\r\nLightLevel=7\r\nTLC=-4\r\n");
    for (int spo2 = 50; spo2 <= 100; ++spo2) text += "RVALUE" + std::to_string(spo2) + "=" + (spo2 == 50 ? "9" : "1") + "\r\n";
    WriteFile("light.txt", text);
    auto make = ReadMakesFile(Path("light.txt"));
    ASSERT_TRUE(make);
    EXPECT_EQ(make->RedDC(), 2);
    EXPECT_EQ(make->IRDC(), 4);
    EXPECT_EQ(make->IRAC(), 4095);
    EXPECT_EQ(make->LightLevel(), 1);
    EXPECT_EQ(make->TLC(), 0);
    EXPECT_EQ(make->RCurve()->Item(1)->rvalue(), "2.5");
}

TEST_F(MakeFileTest, NumbersBeyond32BitsMakeTheFileInvalid) {
    std::string light = MakeFileText("Big", 51);
    light.replace(light.find("RDC=100"), 7, "RDC=1E20");
    WriteFile("biglight.txt", light);
    std::string spo2 = MakeFileText("Big", 51);
    spo2.replace(spo2.find("RVALUE60="), 9, "RVALUE&HFFFFFFFFFF=");
    WriteFile("bigspo2.txt", spo2);
    EXPECT_FALSE(ReadMakesFile(Path("biglight.txt")));
    EXPECT_FALSE(ReadMakesFile(Path("bigspo2.txt")));
}

TEST_F(MakeFileTest, DamagedFilesReadAsNothing) {
    std::string good = MakeFileText("Good", 51);
    for (size_t cut : {size_t(0), size_t(5), size_t(40), good.size() / 2, good.size() - 10}) {
        WriteFile("cut.txt", good.substr(0, cut));
        EXPECT_FALSE(ReadMakesFile(Path("cut.txt"))) << cut;
    }
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
    WriteFile("binary.txt", binary);
    EXPECT_FALSE(ReadMakesFile(Path("binary.txt")));
    WriteFile("nul.txt", std::string("[MANUFACTURER]\0\r\n", 17) + good);
    EXPECT_TRUE(ReadMakesFile(Path("nul.txt")));  // the header line of the good part still counts

    std::string huge = good;
    while (huge.size() < (3u << 20)) huge += "padding padding padding padding\r\n";
    WriteFile("huge.txt", huge);
    EXPECT_FALSE(ReadMakesFile(Path("huge.txt")));
    WriteFile("noright.txt", good.substr(0, good.find("[RVALUE]")));
    EXPECT_FALSE(ReadMakesFile(Path("noright.txt")));
    EXPECT_FALSE(ReadMakesFile(Path("missing.txt")));
    EXPECT_FALSE(ReadMakesFile(folder_));
    EXPECT_FALSE(ReadMakesFile(""));
}

TEST_F(MakeFileTest, HostileFileNamesAreRefused) {
    auto make = FullMake("Hostile");
    for (const std::string& name : {std::string(""), std::string("."), std::string(".."), std::string("../up.txt"),
                                    std::string("a/b.txt"), std::string("a\\b.txt"), std::string("a\0b.txt", 7),
                                    std::string("line\nbreak.txt"), std::string("tab\t.txt"), std::string("del\x7f.txt")}) {
        EXPECT_FALSE(makes::IsSafeMakeFileName(name));
        EXPECT_FALSE(SaveMakesFile(make, name, makes::kRegistryKey)) << name;
    }
    EXPECT_EQ(make->Name(), "Hostile");
    EXPECT_TRUE(plat::fs::ListFiles(folder_, "*").empty());
    EXPECT_FALSE(plat::fs::FileExists(root_ + "/up.txt"));
    EXPECT_TRUE(makes::IsSafeMakeFileName("Ünïcode name.txt"));
}

// Such a name would read back as another make (its tail on a line of its own) or as none.
TEST_F(MakeFileTest, MakeNamesWithControlCharactersAreRefused) {
    WriteFile("acme.txt", MakeFileText("Old", 51));
    for (const std::string& name : {std::string("Two\r\nLines"), std::string("Line\nFeed"), std::string("Cr\r"),
                                    std::string("Nul\0Byte", 8), std::string("Tab\tName"), std::string("\x1f"),
                                    std::string("Del\x7f")}) {
        auto make = FullMake(name);
        EXPECT_FALSE(SaveMakesFile(make, "acme.txt", makes::kRegistryKey));
        EXPECT_FALSE(SaveMakesFile(make, "new.txt", makes::kRegistryKey));
        EXPECT_EQ(make->Name(), name);
    }
    EXPECT_EQ(ReadBytes("acme.txt"), MakeFileText("Old", 51));
    EXPECT_EQ(plat::fs::ListFiles(folder_, "*"), std::vector<std::string>{"acme.txt"});
    auto fine = FullMake(" \x80 Spaces and high bytes \xff ");
    EXPECT_TRUE(SaveMakesFile(fine, "new.txt", makes::kRegistryKey));
}

TEST_F(MakeFileTest, MakesDirectoryIsTrimmedCreatedAndEndsInSlash) {
    std::string folder = makes::GetMakesDirectory(makes::kRegistryKey);
    EXPECT_EQ(folder, folder_);
    EXPECT_TRUE(plat::fs::FolderExists(folder_));
}

TEST_F(MakeFileTest, EmptyPathMeansTheMakesFolderBesideTheProgram) {
    const std::string beside = plat::fs::FolderOf(plat::fs::RealPath("/proc/self/exe")) + "makes/";
    for (const std::string& path : {std::string(""), std::string("   ")}) {
        plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path", path);
        EXPECT_EQ(plat::fs::RealPath(makes::GetMakesDirectory(makes::kRegistryKey)) + "/", beside);
        EXPECT_TRUE(plat::fs::FolderExists(beside));
    }
}

// Without "Path", a folder beside the program that this user cannot make or
// write (an install owned by root) gives way to the user's data folder by the
// XDG convention; the editor and the plug-in, lying in one folder, agree.
TEST_F(MakeFileTest, UnwritableFolderBesideTheProgramGivesWayToTheUsersDataFolder) {
    const test_support::SavedVariable savedData("XDG_DATA_HOME"), savedHome("HOME");
    ::setenv("XDG_DATA_HOME", (root_ + "/data").c_str(), 1);
    ::setenv("HOME", (root_ + "/home").c_str(), 1);
    const std::string own = root_ + "/data/orvik/Pelmo2/makes/";

    namespace fs = std::filesystem;
    // A writable program folder: its "makes", made on first use.
    fs::create_directories(root_ + "/writable");
    EXPECT_EQ(makes::DefaultMakesDirectory(root_ + "/writable"), root_ + "/writable/makes/");
    EXPECT_TRUE(plat::fs::FolderExists(root_ + "/writable/makes"));
    // Something else in the way: the user's folder, made with its parents.
    WriteBelowRoot("blocked/makes", "not a folder");
    EXPECT_EQ(makes::DefaultMakesDirectory(root_ + "/blocked"), own);
    EXPECT_TRUE(plat::fs::FolderExists(own));
    // A relative XDG_DATA_HOME is ignored, as the convention asks.
    ::setenv("XDG_DATA_HOME", "data", 1);
    EXPECT_EQ(makes::DefaultMakesDirectory(root_ + "/blocked"), root_ + "/home/.local/share/orvik/Pelmo2/makes/");
    ::setenv("XDG_DATA_HOME", (root_ + "/data").c_str(), 1);

    // A "makes" folder there but read-only, and a program folder it cannot be
    // made in. Root, whom no permission bit refuses, looks as "nobody".
    const auto readable = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                          fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::create_directories(root_ + "/installed/makes");
    fs::create_directories(root_ + "/bare");
    fs::permissions(root_ + "/installed/makes", readable);
    fs::permissions(root_ + "/bare", readable);
    const auto refused = [&] {
        return makes::DefaultMakesDirectory(root_ + "/installed") == own &&
               makes::DefaultMakesDirectory(root_ + "/bare") == own && !plat::fs::FolderExists(root_ + "/bare/makes");
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(refused());
    } else {
        fs::permissions(root_, readable, fs::perm_options::add);
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
            ::_exit(refused() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        const int exitCode = WEXITSTATUS(status);
        if (exitCode == 2) GTEST_SKIP() << "root cannot become the user nobody here";
        EXPECT_EQ(exitCode, 0) << "as nobody, a folder of root's was taken for the makes";
    }
    fs::permissions(root_ + "/installed/makes", fs::perms::owner_all);
    fs::permissions(root_ + "/bare", fs::perms::owner_all);
}

// Only the last level is created: a make folder on a drive that is not there
// must not appear on another disk with the makes saved into it.
TEST_F(MakeFileTest, MakesDirectoryBelowAMissingFolderIsNotBuilt) {
    const std::string absent = root_ + "/absent/makes";
    plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path", absent);
    EXPECT_EQ(makes::GetMakesDirectory(makes::kRegistryKey), absent + "/");
    EXPECT_EQ(makes::ReadMakes(makes::kRegistryKey)->Count(), 0);
    auto make = FullMake("Nowhere");
    EXPECT_FALSE(SaveMakesFile(make, "nowhere.txt", makes::kRegistryKey));
    EXPECT_FALSE(plat::fs::FolderExists(root_ + "/absent"));
}

}  // namespace
