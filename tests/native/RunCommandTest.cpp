#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "FakeText.h"
#include "FakeWindows.h"
#include "HSPCmp/RunCommand.h"
#include "HSPCmp/RunnerLaunch.h"
#include "HSPCmp/TempFolder.h"
#include "InstalledEditor.h"
#include "PluginApi/CommandBoundary.h"
#include "PluginApi/HostMessages.h"

namespace tollik {
namespace {

using namespace os;
using fake::FakeWindows;
using testing::Utf8;
using testing::InstalledEditor;
using testing::kSettings;
using testing::kRunner;

class RunCommandTest : public ::testing::Test, public InstalledEditor {};

TEST_F(RunCommandTest, SavesTheDocumentBesideItAndStartsTheRunnerHidden) {
    Settings("[Tollik]\r\nHSPDirName=D:\\hsp\r\nMode=3\r\nDebugWindow=0\r\n");
    OnCommand();

    EXPECT_TRUE(windows.messageBoxes.empty());
    EXPECT_EQ(windows.files.FileContent(u"C:\\work\\hsptmp"), "mes \"ok\"\r\n");
    ASSERT_EQ(windows.shellExecutions.size(), 1u);
    const fake::ShellExecution& run = windows.shellExecutions[0];
    EXPECT_EQ(run.owner, nullptr);
    EXPECT_EQ(run.operation, u"open");
    EXPECT_EQ(Utf8(run.file), Utf8(kRunner));
    EXPECT_EQ(Utf8(run.parameters), R"("D:\hsp\" "C:\work\hsptmp" 3 0)");
    EXPECT_EQ(run.directory, u"");
    EXPECT_EQ(run.showCommand, 0);
    EXPECT_TRUE(run.started);
    EXPECT_FALSE(windows.host.paintingHeld);
    EXPECT_EQ(windows.files.OpenFiles(), 0);
}

TEST_F(RunCommandTest, RunsItsStepsInOrder) {
    Settings("[Tollik]\r\nMode=1\r\n");
    OnCommand();
    // Settings read, then the host asked, then the script written, then the
    // key read, then the runner started.
    const auto& trace = windows.trace;
    const auto settingsOpen = std::find_if(trace.begin(), trace.end(), [](const std::string& t) {
        return t.starts_with("CreateFileW C:\\Program Files\\Pellam\\Plugins\\Tollik\\Tollik.ini");
    });
    const auto scriptOpen = std::find_if(trace.begin(), trace.end(), [](const std::string& t) {
        return t.starts_with("CreateFileW C:\\work\\hsptmp");
    });
    ASSERT_NE(settingsOpen, trace.end());
    ASSERT_LT(settingsOpen, scriptOpen);
    const auto lastCall = [&](std::string_view name) {
        return windows.calls.rend() - std::find(windows.calls.rbegin(), windows.calls.rend(), name) - 1;
    };
    EXPECT_LT(FirstCall("ReadFile"), FirstCall("SendMessageW"));
    EXPECT_LT(lastCall("SendMessageW"), FirstCall("WriteFile"));
    EXPECT_LT(lastCall("CloseHandle"), FirstCall("GetKeyState"));
    EXPECT_LT(FirstCall("GetKeyState"), FirstCall("ShellExecuteW"));
    EXPECT_EQ(windows.calls.back(), "ShellExecuteW");
}

TEST_F(RunCommandTest, HoldingControlTogglesTheRunMode) {
    const struct {
        std::int32_t mode;
        std::int16_t keyState;
        std::int32_t expected;
    } cases[] = {
        {1, static_cast<std::int16_t>(0xFF80), 2}, {2, static_cast<std::int16_t>(0xFF80), 1},
        {5, static_cast<std::int16_t>(0xFF80), 1}, {-1, static_cast<std::int16_t>(0xFF80), 1},
        {5, 0, 5},                                 {2, 0, 2},
        {1, 0x0080, 2},  // the bit a substitute key state sets: held
        {1, 0x0001, 1},  // toggled on, not held
        {1, static_cast<std::int16_t>(0x8000), 1},  // the high bit alone is not read
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + ", key state " +
                     std::to_string(static_cast<std::uint16_t>(c.keyState)));
        EXPECT_EQ(ToggledRunMode(c.mode, (static_cast<std::uint16_t>(c.keyState) & 0x80) != 0),
                  c.expected);
        FakeWindows keyboard;
        keyboard.keyStates[kVkControl] = c.keyState;
        EXPECT_EQ(ToggledRunMode(c.mode, IsControlHeld(keyboard)), c.expected);
    }
    windows.HoldKey(kVkControl);
    Settings("[Tollik]\r\nMode=1\r\n");
    OnCommand();
    EXPECT_EQ(Utf8(ParametersGiven().at(0)), R"("C:\hsp34\" "C:\work\hsptmp" 2 1)");
}

TEST(RunnerParameters, QuotesTheTwoPathsAsTheyAre) {
    EXPECT_EQ(Utf8(RunnerParameters(u"C:\\hsp37\\", u"C:\\work\\hsptmp", 1, true)),
              R"("C:\hsp37\" "C:\work\hsptmp" 1 1)");
    EXPECT_EQ(Utf8(RunnerParameters(u"C:\\Program Files\\hsp\\", u"hsptmp", -2147483647 - 1, false)),
              R"("C:\Program Files\hsp\" "hsptmp" -2147483648 0)");
    EXPECT_EQ(Utf8(RunnerParameters(u"\\\\server\\hsp\\", u"\\hsptmp", 0, true)),
              R"("\\server\hsp\" "\hsptmp" 0 1)");
    EXPECT_EQ(Utf8(RunnerParameters(u"D:\\日本\\", u"C:\\作業\\hsptmp", 12, true)),
              "\"D:\\日本\\\" \"C:\\作業\\hsptmp\" 12 1");
}

TEST_F(RunCommandTest, SettingsAreReadAfreshOnEveryRun) {
    Settings("[Tollik]\r\nMode=4\r\n");
    OnCommand();
    windows.files.AddFile(kSettings, "[Tollik]\r\nMode=7\r\nHSPDirName=E:\\h\r\n");
    windows.host.text = u"second";
    OnCommand();
    EXPECT_EQ(ParametersGiven(),
              (std::vector<std::u16string>{u"\"C:\\hsp34\\\" \"C:\\work\\hsptmp\" 4 1",
                                           u"\"E:\\h\\\" \"C:\\work\\hsptmp\" 7 1"}));
    EXPECT_EQ(windows.files.FileContent(u"C:\\work\\hsptmp"), "second\r\n");
}

TEST_F(RunCommandTest, ScriptPathFollowsTheDocument) {
    const std::u16string shortTemp = u"C:\\Users\\TOLLIK~1\\AppData\\Local\\Temp\\";
    windows.files.SetShortName(u"C:\\Users\\tollik", u"TOLLIK~1");
    const struct {
        const char* name;
        std::u16string documentPath;
        std::u16string tempPath;
        std::u16string expected;
    } cases[] = {
        {"saved", u"C:\\work\\game.hsp", shortTemp, u"C:\\work\\hsptmp"},
        {"saved at a root", u"D:\\game.hsp", shortTemp, u"D:\\hsptmp"},
        {"no folder part: beside the process", u"game.hsp", shortTemp, u"hsptmp"},
        {"untitled: the long form of the temporary folder", u"", shortTemp,
         u"C:\\Users\\tollik\\AppData\\Local\\Temp\\hsptmp"},
        {"untitled, temporary folder missing: the current drive's root", u"",
         u"C:\\Users\\tollik\\Gone\\", u"\\hsptmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        windows.tempPath = c.tempPath;
        EXPECT_EQ(Utf8(ScriptPathFor(windows, c.documentPath)), Utf8(c.expected));
    }

    // The untitled document through the whole command.
    windows.tempPath = shortTemp;
    windows.host.path.clear();
    OnCommand();
    EXPECT_EQ(windows.files.FileContent(u"C:\\Users\\tollik\\AppData\\Local\\Temp\\hsptmp"),
              "mes \"ok\"\r\n");
    EXPECT_EQ(Utf8(ParametersGiven().at(0)),
              R"("C:\hsp34\" "C:\Users\tollik\AppData\Local\Temp\hsptmp" 1 1)");
}

TEST(GetLongTempPath, IsEmptyWhenTheLongFormCannotBeHad) {
    const struct {
        const char* name;
        const char* failingCall;
        int occurrence;
        std::u16string expected;
    } cases[] = {
        {"all well", nullptr, 0, u"C:\\Users\\tollik\\AppData\\Local\\Temp\\"},
        {"size query refused", "GetTempPathW", 1, u""},
        {"fetch refused", "GetTempPathW", 2, u""},
        {"long-form size refused", "GetLongPathNameW", 1, u""},
        // The folder vanished between the two calls: no NUL units in the result.
        {"long-form conversion refused", "GetLongPathNameW", 2, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWindows windows;
        if (c.failingCall != nullptr) windows.FailCall(c.failingCall, kErrorPathNotFound, c.occurrence);
        const std::u16string path = GetLongTempPath(windows);
        EXPECT_EQ(Utf8(path), Utf8(c.expected));
        EXPECT_EQ(path.find(u'\0'), std::u16string::npos);
    }
}

TEST(GetLongTempPath, ATemporaryFolderRenamedBetweenTheCallsGivesNothingHalfWritten) {
    FakeWindows windows;
    windows.OnCall("GetTempPathW", 2, [&] { windows.tempPath = u"C:\\A\\Much\\Longer\\Temp\\"; });
    EXPECT_EQ(Utf8(GetLongTempPath(windows)), "");
}

// The three failing steps end the command with their own message, and
// nothing starts after any of them.
TEST_F(RunCommandTest, FailuresShowTheirStepsMessageAndStartNothing) {
    const std::u16string longFolder = u"C:\\" + std::u16string(250, u'f') + u"\\";
    const struct {
        const char* name;
        std::function<void(FakeWindows&)> arrange;
        std::u16string message;
        bool hostTouched;
    } cases[] = {
        {"settings file held open for writing",
         [](FakeWindows& w) {
             w.files.AddFile(kSettings, "[Tollik]\r\n");
             w.files.OpenElsewhere(kSettings, kGenericWrite, kFileShareRead);
         },
         u"ファイル " + kSettings +
             u" は開けません。 The process cannot access the file because it is being used by "
             u"another process ",
         false},
        {"per-user folder unknown, relative folder refused",
         [](FakeWindows& w) {
             w.files.AddFolder(u"C:\\Elsewhere");
             w.executablePath = u"C:\\Elsewhere\\Pellam.exe";
             w.files.AddFile(w.executablePath, "MZ");
             w.appDataFolder.clear();
             w.files.RefuseNewEntries(u"C:\\Users\\tollik");
         },
         u"ディレクトリを作成できません", false},
        {"script file read-only",
         [](FakeWindows& w) {
             w.files.AddFile(u"C:\\work\\hsptmp", "old", kFileAttributeReadOnly);
         },
         u"hsptmp\r\nファイルに書き込みできません。", true},
        {"script file held without write sharing",
         [](FakeWindows& w) {
             w.files.AddFile(u"C:\\work\\hsptmp", "old");
             w.files.OpenElsewhere(u"C:\\work\\hsptmp", kGenericRead, kFileShareRead);
         },
         u"hsptmp\r\nファイルに書き込みできません。", true},
        {"a folder named hsptmp",
         [](FakeWindows& w) { w.files.AddFolder(u"C:\\work\\hsptmp"); },
         u"hsptmp\r\nファイルに書き込みできません。", true},
        {"script folder blocked by a file",
         [](FakeWindows& w) {
             w.files.AddFile(u"C:\\blocker");
             w.host.path = u"C:\\blocker\\sub\\game.hsp";
         },
         u"ディレクトリC:\\blocker\\subを作成できません。", true},
        {"script path over the limit",
         [&](FakeWindows& w) {
             w.files.AddFolder(longFolder);
             w.host.path = longFolder + u"game.hsp";  // 254 + 6 = 260 units of script path
         },
         u"スクリプトファイルのパスが長すぎます。パスは 259 文字までにしてください。", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InstalledEditor world;
        c.arrange(world.windows);
        world.OnCommand();

        ASSERT_EQ(world.windows.messageBoxes.size(), 1u);
        EXPECT_EQ(Utf8(world.windows.messageBoxes[0].text), Utf8(c.message));
        EXPECT_EQ(world.windows.messageBoxes[0].owner, world.windows.hostWindow);
        EXPECT_EQ(world.windows.CallCount("ShellExecuteW"), 0);
        EXPECT_EQ(world.windows.CallCount("GetKeyState"), 0);
        EXPECT_EQ(!world.windows.host.log.empty(), c.hostTouched);
        EXPECT_FALSE(world.windows.host.paintingHeld);
        EXPECT_EQ(world.windows.files.OpenFiles(), 0);
        if (c.hostTouched) {
            EXPECT_EQ(world.windows.host.log.back().message, MSG_QUERY_DOCUMENT_PATH);
        }
    }
}

TEST_F(RunCommandTest, TheLongestScriptPathIsWritten) {
    const std::u16string folder = u"C:\\" + std::u16string(249, u'f') + u"\\";
    windows.files.AddFolder(folder);
    windows.host.path = folder + u"game.hsp";  // 253 + 6 = 259 units of script path
    OnCommand();
    EXPECT_TRUE(windows.messageBoxes.empty());
    EXPECT_EQ(windows.files.FileContent(folder + u"hsptmp"), "mes \"ok\"\r\n");
    EXPECT_EQ(windows.shellExecutions.size(), 1u);
}

TEST_F(RunCommandTest, AnUnconfirmedHostEndsSilently) {
    windows.executablePath = u"C:\\Gone\\Pellam.exe";
    OnCommand();
    EXPECT_TRUE(windows.messageBoxes.empty());
    EXPECT_TRUE(windows.host.log.empty());
    EXPECT_TRUE(windows.shellExecutions.empty());
    EXPECT_FALSE(windows.files.Exists(u"C:\\work\\hsptmp"));
    EXPECT_TRUE(windows.files.createdFolders.empty());
}

TEST_F(RunCommandTest, AMissingRunnerIsNotReported) {
    windows.executablePath = u"C:\\Other\\Pellam.exe";
    windows.files.AddFile(windows.executablePath, "MZ");
    windows.files.AddFile(u"C:\\Other\\PellamPortable.ini");
    OnCommand();
    EXPECT_TRUE(windows.messageBoxes.empty());
    ASSERT_EQ(windows.shellExecutions.size(), 1u);
    EXPECT_EQ(Utf8(windows.shellExecutions[0].file), "C:\\Other\\Plugins\\Tollik.exe");
    EXPECT_FALSE(windows.shellExecutions[0].started);
    EXPECT_EQ(windows.files.FileContent(u"C:\\work\\hsptmp"), "mes \"ok\"\r\n");
}

TEST_F(RunCommandTest, AHostPathLostByLaunchTimeStartsNothingFromTheCurrentDirectory) {
    windows.files.AddFile(windows.files.paths.currentDirectory + u"\\Plugins\\Tollik.exe", "MZ");
    windows.FailCall("GetModuleFileNameW", kErrorNotEnoughMemory, 2);  // the second asks for the runner
    OnCommand();
    EXPECT_TRUE(windows.shellExecutions.empty());
    EXPECT_TRUE(windows.messageBoxes.empty());
    EXPECT_EQ(windows.files.FileContent(u"C:\\work\\hsptmp"), "mes \"ok\"\r\n");
}

TEST_F(RunCommandTest, ADocumentTooLargeToHoldEndsWithAMessageNotACrash) {
    windows.host.announcedCount = INT32_MAX;  // 4 GiB of UTF-16
    windows.FailCall("VirtualAlloc", kErrorNotEnoughMemory);
    OnCommand();
    ASSERT_EQ(windows.messageBoxes.size(), 1u);
    EXPECT_EQ(windows.messageBoxes[0].text, kOutOfMemoryMessage);
    EXPECT_FALSE(windows.host.paintingHeld);
    EXPECT_TRUE(windows.shellExecutions.empty());
    // Painting came back before the user was shown the message.
    const auto lastSend = std::find(windows.calls.rbegin(), windows.calls.rend(), "SendMessageW");
    EXPECT_LT(windows.calls.rend() - lastSend - 1, FirstCall("MessageBoxW"));
    EXPECT_EQ(windows.host.log.back(), (testing::ReceivedMessage{MSG_ENABLE_REDRAW, 1, 0}));
}

}  // namespace
}  // namespace tollik
