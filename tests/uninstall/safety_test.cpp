// The safety rule against hostile or broken logs: only the product's places
// are touched; everything else is left and reported; the run ends normally.
#include <gtest/gtest.h>

#include "core/report.h"
#include "core/uninstaller.h"
#include "harness.h"
#include "platform/simulated/machine.h"
#include "platform/simulated/removal_state.h"
#include "resources/uninstall_ids.h"
#include "uninstall_harness.h"

namespace uninstall {
namespace {

using namespace setup::simulated;
using namespace testing;

class Safety : public ::testing::Test {
 protected:
  void SetUp() override {
    FreshMachine();
    AddFile(kInstall + "\\UNINST32.EXE", "me");
    AddFile(kInstall + "\\Lumaview.exe", "viewer");
    AddFile("C:\\WINDOWS\\WIN.INI", "system");
    AddFile("C:\\WINDOWS\\SYSTEM\\KERNEL.DLL", "system");
    AddFile("D:\\Other\\Keep.txt", "someone else's");
    AddFile("C:\\Corvane\\Other.txt", "beside the install folder");
    AddFile("C:\\ROOT.TXT", "at the root");
    AddDirectory("D:\\Empty");
    ScriptUser();
  }
  // The list line of a left item.
  bool Listed(const std::string& path, int reason) {
    return Summary().list.find(path + ": #" + std::to_string(reason)) != std::string::npos;
  }
};

TEST_F(Safety, EntriesOutsideTheProductsPlacesAreLeftAndReported) {
  WriteLog("C:\\Corvane\\Widelens\\",
           {"C:\\Corvane\\Widelens\\Lumaview.exe", "C:\\WINDOWS\\WIN.INI",
            "C:\\WINDOWS\\SYSTEM\\KERNEL.DLL", "D:\\Other\\Keep.txt", "C:\\Corvane\\Other.txt",
            "C:\\ROOT.TXT", "C:\\Corvane\\Widelens\\..\\..\\WINDOWS\\WIN.INI",
            "C:\\Corvane\\Widelens\\.\\..\\Other.txt", "ROOT.TXT", "\\ROOT.TXT",
            "\\\\server\\share\\file", "C:\\Corvane\\Widelens\\*.exe",
            "C:\\Corvane\\Widelens\\Lumaview.exe.", "C:/Corvane/Widelens/Lumaview.exe"},
           {"C:\\", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "D:\\Empty", "D:\\",
            "C:\\WINDOWS\\Profiles", kCommonPrograms, kQuickLaunch, "C:\\WINDOWS\\TEMP"});
  EXPECT_EQ(RunInstalled(), kExitLeftSomething);
  EXPECT_FALSE(Exists(kInstall + "\\Lumaview.exe"));  // the one product file
  for (const char* kept :
       {"C:\\WINDOWS\\WIN.INI", "C:\\WINDOWS\\SYSTEM\\KERNEL.DLL", "D:\\Other\\Keep.txt",
        "C:\\Corvane\\Other.txt", "C:\\ROOT.TXT", "D:\\Empty", "C:\\WINDOWS\\TEMP"})
    EXPECT_TRUE(Exists(kept)) << kept;
  EXPECT_TRUE(IsDirectory(kCommonPrograms));
  EXPECT_TRUE(IsDirectory(kQuickLaunch));
  EXPECT_TRUE(Listed("C:\\WINDOWS\\WIN.INI", IDS_WHY_ELSEWHERE));
  EXPECT_TRUE(Listed("D:\\Other\\Keep.txt", IDS_WHY_ELSEWHERE));
  EXPECT_TRUE(Listed("C:\\Corvane\\Widelens\\..\\..\\WINDOWS\\WIN.INI", IDS_WHY_DOTS));
  EXPECT_TRUE(Listed("C:\\Corvane\\Widelens\\.\\..\\Other.txt", IDS_WHY_DOTS));
  EXPECT_TRUE(Listed("C:\\Corvane\\Widelens\\Lumaview.exe.", IDS_WHY_DOTS));
  EXPECT_TRUE(Listed("ROOT.TXT", IDS_WHY_NOT_FULL));
  EXPECT_TRUE(Listed("\\ROOT.TXT", IDS_WHY_NOT_FULL));
  EXPECT_TRUE(Listed("\\\\server\\share\\file", IDS_WHY_NOT_FULL));
  EXPECT_TRUE(Listed("C:\\Corvane\\Widelens\\*.exe", IDS_WHY_CHARACTERS));
  EXPECT_TRUE(Listed("C:/Corvane/Widelens/Lumaview.exe", IDS_WHY_NOT_FULL));
  EXPECT_TRUE(Listed("C:\\", IDS_WHY_DRIVE_ROOT));
  EXPECT_TRUE(Listed("C:\\WINDOWS", IDS_WHY_SYSTEM_FOLDER));
  EXPECT_TRUE(Listed("C:\\WINDOWS\\SYSTEM", IDS_WHY_SYSTEM_FOLDER));
  EXPECT_TRUE(Listed("C:\\WINDOWS\\Profiles", IDS_WHY_SYSTEM_FOLDER));  // holds Programs
  EXPECT_TRUE(Listed(kCommonPrograms, IDS_WHY_SYSTEM_FOLDER));
  EXPECT_TRUE(Listed(kQuickLaunch, IDS_WHY_SYSTEM_FOLDER));
  EXPECT_TRUE(Listed("D:\\Empty", IDS_WHY_ELSEWHERE));
  // Nothing outside was even tried.
  for (const std::string& line : JournalLines("delete ")) {
    EXPECT_EQ(line.find("WINDOWS\\W"), std::string::npos) << line;
    EXPECT_EQ(line.find("D:\\"), std::string::npos) << line;
  }
}

TEST_F(Safety, AnInstallFolderThatIsNoPlaceForAProductRemovesNothing) {
  for (const char* install :
       {"C:\\", "C:\\WINDOWS\\", "C:\\WINDOWS", "", "Widelens", "C:\\Corvane\\..\\WINDOWS",
        "C:\\WINDOWS\\Profiles\\All Users", "C:\\WINDOWS\\TEMP\\"}) {
    SCOPED_TRACE(install);
    TheMachine().messages.clear();
    WriteLog(install, {"C:\\WINDOWS\\WIN.INI", "C:\\Corvane\\Widelens\\Lumaview.exe"},
             {"C:\\WINDOWS"});
    EXPECT_EQ(RunInstalled(), kExitNothingInstalled);
    ASSERT_EQ(MessageIds(), std::vector<std::string>{"#12"});
    EXPECT_EQ(TheMachine().messages[0].text, std::string("#12 ") + install);
    EXPECT_TRUE(Exists("C:\\WINDOWS\\WIN.INI"));
    EXPECT_TRUE(Exists(kInstall + "\\Lumaview.exe"));
    EXPECT_TRUE(SettingsFileExists());
  }
}

TEST_F(Safety, TheGroupMustBeADirectChildOfAProgramsFolder) {
  AddFile(kCommonPrograms + "\\Other Group\\Other.lnk", "link");
  AddFile(kCommonPrograms + "\\Keep.lnk", "link");
  SetProfileValue("INSTALL", "GROUP", "..");
  WriteLog(kInstall, {kCommonPrograms + "\\Other Group\\Other.lnk", kCommonPrograms + "\\Keep.lnk"},
           {kCommonPrograms + "\\Other Group"});
  EXPECT_EQ(RunInstalled("/S"), kExitLeftSomething);
  EXPECT_TRUE(Exists(kCommonPrograms + "\\Other Group\\Other.lnk"));
  EXPECT_TRUE(Exists(kCommonPrograms + "\\Keep.lnk"));
}

TEST_F(Safety, TheQuickLaunchLinkMustLieInTheQuickLaunchFolder) {
  AddFile(kQuickLaunch + "\\Corvane Widelens.lnk", "link");
  AddFile(kQuickLaunch + "\\Other.txt", "not a link");
  AddFile("C:\\WINDOWS\\Desktop\\Corvane Widelens.lnk", "link");
  for (const std::string& fastlink :
       {kQuickLaunch + "\\Other.txt", std::string("C:\\WINDOWS\\Desktop\\Corvane Widelens.lnk"),
        kQuickLaunch + "\\..\\Quick Launch\\Corvane Widelens.lnk", kQuickLaunch}) {
    WriteLog(kInstall, {}, {});
    SetProfileValue("UNINSTALL", "FASTLINK", fastlink);
    RunInstalled("/S");
  }
  EXPECT_TRUE(Exists(kQuickLaunch + "\\Other.txt"));
  EXPECT_TRUE(Exists("C:\\WINDOWS\\Desktop\\Corvane Widelens.lnk"));
  EXPECT_TRUE(Exists(kQuickLaunch + "\\Corvane Widelens.lnk"));
  EXPECT_TRUE(IsDirectory(kQuickLaunch));
  WriteLog(kInstall, {}, {});
  SetProfileValue("UNINSTALL", "FASTLINK", "C:\\WINDOWS\\APPLIC~1\\QUICKL~1\\CORVAN~1.LNK");
  EXPECT_EQ(RunInstalled("/S"), kExitRemoved);
  EXPECT_FALSE(Exists(kQuickLaunch + "\\Corvane Widelens.lnk"));
}

TEST_F(Safety, NothingIsReachedThroughAJunctionInsideTheInstallFolder) {
  AddDirectory(kInstall + "\\Linked");
  TheMachine().nodes[Canonical(kInstall + "\\Linked")].extra_attributes = 0x400;
  AddFile(kInstall + "\\Linked\\Elsewhere.dll", "behind a link");
  WriteLog(kInstall, {kInstall + "\\Linked\\Elsewhere.dll"}, {});
  EXPECT_EQ(RunInstalled(), kExitLeftSomething);
  EXPECT_TRUE(Exists(kInstall + "\\Linked\\Elsewhere.dll"));
  EXPECT_TRUE(Listed(kInstall + "\\Linked\\Elsewhere.dll", IDS_WHY_THROUGH_LINK));
}

TEST_F(Safety, AFolderWhereAFileWasLoggedStays) {
  AddFile(kInstall + "\\Lumaview.exe\\Inside.txt", "");
  TheMachine().nodes.erase(Canonical(kInstall + "\\Lumaview.exe"));
  AddFile(kInstall + "\\Lumaview.exe\\Inside.txt", "x");
  WriteLog(kInstall, {kInstall + "\\Lumaview.exe"}, {});
  EXPECT_EQ(RunInstalled(), kExitLeftSomething);
  EXPECT_TRUE(Exists(kInstall + "\\Lumaview.exe\\Inside.txt"));
  EXPECT_TRUE(Listed(kInstall + "\\Lumaview.exe", IDS_WHY_NOT_A_FILE));
}

TEST_F(Safety, BrokenCountsAndEntriesAreNotedAndPassedOver) {
  WriteLog(kInstall, {kInstall + "\\Lumaview.exe", ""}, {kInstall});
  SetProfileValue("UNINSTALL", "FILENUM", "7");  // more than there are
  // The folder keeps UNINST32.EXE, which the log does not list.
  EXPECT_EQ(RunInstalled(), kExitLeftSomething);
  EXPECT_FALSE(Exists(kInstall + "\\Lumaview.exe"));
  const std::string& list = Summary().list;
  EXPECT_NE(list.find("#50 FILE7"), std::string::npos) << list;
  EXPECT_NE(list.find("#50 FILE3"), std::string::npos);
  EXPECT_NE(list.find("#51 FILE2"), std::string::npos);
}

TEST_F(Safety, NegativeAndHugeCountsEndNormally) {
  WriteLog(kInstall, {kInstall + "\\Lumaview.exe"}, {});
  SetProfileValue("UNINSTALL", "FILENUM", "-5");
  SetProfileValue("UNINSTALL", "PATHNUM", "99999999999");
  EXPECT_EQ(RunInstalled(), kExitRemoved);
  EXPECT_TRUE(Exists(kInstall + "\\Lumaview.exe"));  // a negative count lists nothing
  EXPECT_NE(Summary().list.find("#52 FILENUM"), std::string::npos);
  EXPECT_NE(Summary().list.find("#53 PATHNUM"), std::string::npos);
  // Notes are bounded however many entries are missing.
  EXPECT_NE(Summary().list.find("#55 "), std::string::npos);
  EXPECT_LT(Summary().list.size(), 4000u);
}

TEST_F(Safety, PathsBeyondThePathLimitAreRefusedNotCut) {
  std::string deep = kInstall;
  while (deep.size() < 300) deep += "\\Folder";
  std::string cut_to = (deep + "\\Lumaview.exe").substr(0, 259);
  WriteLog(kInstall, {deep + "\\Lumaview.exe", kInstall + "\\" + std::string(900, 'x')}, {deep});
  EXPECT_EQ(RunInstalled(), kExitLeftSomething);
  EXPECT_TRUE(Listed(deep + "\\Lumaview.exe", IDS_WHY_TOO_LONG));
  EXPECT_TRUE(Listed(deep, IDS_WHY_TOO_LONG));
  EXPECT_TRUE(Exists(kInstall + "\\Lumaview.exe"));
}

TEST_F(Safety, ChineseNamesNotFoundUnderAnotherCodePageAreReportedAsLeft) {
  const std::string chinese_group = "\xBF\xED\xBE\xB5";  // GBK
  const std::string link = kCommonPrograms + "\\" + chinese_group + "\\\xD0\xB6.lnk";
  for (unsigned code_page : {1252u, 936u}) {
    SCOPED_TRACE(code_page);
    TheMachine().code_page = code_page;
    WriteLog(kInstall, {kInstall + "\\Lumaview.exe", link}, {});
    SetProfileValue("INSTALL", "GROUP", chinese_group);
    AddFile(kInstall + "\\Lumaview.exe", "viewer");
    int result = RunInstalled(code_page == 936 ? "/S" : "");
    EXPECT_FALSE(Exists(kInstall + "\\Lumaview.exe"));
    if (code_page == 1252) {
      // Written under 936, read under 1252: it names something that stays.
      EXPECT_EQ(result, kExitLeftSomething);
      EXPECT_TRUE(Listed(link, IDS_WHY_OTHER_CODE_PAGE)) << Summary().list;
    } else {
      EXPECT_EQ(result, kExitRemoved);  // under its own code page: already gone
    }
  }
}

TEST_F(Safety, ALogWithoutAnInstallFolderIsUnusable) {
  WriteLog("", {"C:\\WINDOWS\\WIN.INI"}, {});
  EXPECT_EQ(RunInstalled(), kExitNothingInstalled);
  EXPECT_EQ(MessageIds(), std::vector<std::string>{"#12"});
  EXPECT_TRUE(Exists("C:\\WINDOWS\\WIN.INI"));
}

TEST_F(Safety, TheCleanupCopyDeletesOnlyAnUninstallerWhoseProductIsGone) {
  AddFile("C:\\WINDOWS\\TEMP\\LVUNINS0.EXE", "copy");
  TheMachine().module_path = "C:\\WINDOWS\\TEMP\\LVUNINS0.EXE";
  // Another program's file, however asked.
  EXPECT_EQ(RunUninstaller("/CLEANUP \"C:\\WINDOWS\\WIN.INI\" \"C:\\WINDOWS\""), kExitNotStarted);
  EXPECT_TRUE(Exists("C:\\WINDOWS\\WIN.INI"));
  // A folder that does not hold the file.
  EXPECT_EQ(RunUninstaller("/CLEANUP \"C:\\Corvane\\Widelens\\UNINST32.EXE\" \"D:\\Other\""),
            kExitNotStarted);
  // While the product is still installed.
  WriteLog(kInstall, {}, {});
  EXPECT_EQ(RunUninstaller("/CLEANUP \"C:\\Corvane\\Widelens\\UNINST32.EXE\" \"C:\\Corvane\""),
            kExitNotStarted);
  EXPECT_TRUE(Exists(kInstall + "\\UNINST32.EXE"));
  EXPECT_TRUE(JournalLines("delete").empty());
}

}  // namespace
}  // namespace uninstall
