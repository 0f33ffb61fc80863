// The real Tollik.dll in a stand-in host: its exports, its metadata answers,
// and the capture of the document through real SendMessageW calls.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CaptureLog.h"
#include "LoadedPlugin.h"
#include "PluginApi/HostMessages.h"

namespace tollik::host {
namespace {

TEST(Exports, MetadataAnswers) {
    const PluginExports& e = LoadedPlugin().exports();
    EXPECT_EQ(e.GetMenuTextID(), 1u);
    EXPECT_EQ(e.GetStatusMessageID(), 2u);
    EXPECT_EQ(e.GetIconID(), 101u);
    EXPECT_EQ(e.GetIconDarkID(), 201u);
    e.OnEvents();  // does nothing, and must return
}

TEST(Exports, QueryStatusIsEnabledAndNeverChecked) {
    BOOL checked = 7;
    const BOOL enabled = LoadedPlugin().exports().QueryStatus(nullptr, &checked);
    EXPECT_EQ(checked, 0);
    EXPECT_EQ(static_cast<std::uint32_t>(enabled), 0xFFFFFFFFu);
}

TEST(Exports, PluginProcAnswersNameAndVersion) {
    const Plugin& plugin = LoadedPlugin();
    EXPECT_EQ(plugin.Query(0x0902), L"HSP コンパイル/実行");
    EXPECT_EQ(plugin.Query(0x0903), L"2.4.3");

    auto proc = plugin.exports().PluginProc;
    EXPECT_EQ(proc(nullptr, 0x0902, 0, 0), 12);
    EXPECT_EQ(proc(nullptr, 0x0903, 0, 0), 5);
    EXPECT_EQ(proc(nullptr, 0x0901, 0, 0), 0);
    EXPECT_EQ(proc(nullptr, 0x0904, 0, 0), 0);

    wchar_t buffer[8] = {L'#', L'#', L'#', L'#', L'#', L'#', L'#', L'#'};
    EXPECT_EQ(proc(nullptr, 0x0903, 3, reinterpret_cast<LPARAM>(buffer)), 5);
    EXPECT_EQ(std::wstring(buffer, 4), std::wstring(L"2.\0#", 4));

    wchar_t untouched[4] = {L'#', L'#', L'#', L'#'};
    EXPECT_EQ(proc(nullptr, 0x0902, 0, reinterpret_cast<LPARAM>(untouched)), 12);
    EXPECT_EQ(proc(nullptr, 0x0905, 4, reinterpret_cast<LPARAM>(untouched)), 0);
    EXPECT_EQ(std::wstring(untouched, 4), L"####");
}

class Capture : public ::testing::Test {
protected:
    HostWindow host;
    testing::EditorModel& editor = host.editor;

    void RunCommand() { LoadedPlugin().exports().OnCommand(host.handle()); }
};

TEST_F(Capture, TheWholeDocumentIsReadAndTheViewRestored) {
    editor.text = u"#include \"hsp3utf.as\"\r\nmes \"こんにちは\"\r\nstop";
    editor.path = u"C:\\work\\game.hsp";
    editor.anchor = 30;
    editor.caret = 9;
    editor.scroll = 2;

    RunCommand();

    EXPECT_EQ(editor.lastServedText, editor.text);
    EXPECT_EQ(testing::CaptureLogMismatches(editor.log, editor.text.size(), true),
              std::vector<std::string>{});
    EXPECT_EQ(testing::RestoredViewMismatches(editor, 30, 9, 2), std::vector<std::string>{});
}

TEST_F(Capture, AnEmptyUntitledDocumentPassesNoBuffer) {
    RunCommand();
    EXPECT_EQ(testing::CaptureLogMismatches(editor.log, 0, true), std::vector<std::string>{});
    EXPECT_FALSE(editor.paintingHeld);
}

TEST_F(Capture, AMisbehavingCountNeverCrashesTheHost) {
    editor.text = u"abcdef";
    for (const std::int64_t count : {std::int64_t{0}, std::int64_t{-5}, std::int64_t{INT32_MIN},
                                     std::int64_t{3}, std::int64_t{100}}) {
        editor.log.clear();
        editor.announcedCount = count;
        RunCommand();
        EXPECT_FALSE(editor.paintingHeld) << count;
        ASSERT_EQ(editor.log.size(), 12u) << count;
        EXPECT_EQ(editor.log[6].wParam, static_cast<std::uintptr_t>(count > 1 ? count - 1 : 0));
    }
}

TEST_F(Capture, APathWithoutTerminatorStaysInsideItsBuffer) {
    editor.text = u"x";
    editor.path = u"C:\\p";
    editor.terminatePath = false;
    RunCommand();
    EXPECT_FALSE(editor.paintingHeld);
    EXPECT_EQ(editor.log.back().message, MSG_QUERY_DOCUMENT_PATH);
}

TEST_F(Capture, AHandleThatIsNoWindowLeavesNothingBehind) {
    // SendMessageW to a window that does not exist answers 0 throughout;
    // the command must survive it and keep nothing for the next call.
    HWND gone = nullptr;
    {
        HostWindow closed;
        gone = closed.handle();
    }
    LoadedPlugin().exports().OnCommand(nullptr);
    LoadedPlugin().exports().OnCommand(gone);

    editor.text = u"stop";
    RunCommand();
    EXPECT_EQ(editor.log.size(), 12u);
    EXPECT_EQ(editor.lastServedText, u"stop");
    EXPECT_FALSE(editor.paintingHeld);
}

}  // namespace
}  // namespace tollik::host
