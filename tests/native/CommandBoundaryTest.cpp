#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "AllocationLimit.h"
#include "Failure.h"
#include "CaseName.h"
#include "FakeWindows.h"
#include "HSPCmp/RunCommand.h"
#include "PluginApi/CommandBoundary.h"
#include "PluginApi/HostMessages.h"
#include "PluginApi/PluginInfo.h"

namespace tollik {
namespace {

struct FailureCase {
    const char* name;
    std::function<void()> raise;
    std::u16string expectedText;
};

class BoundaryTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(BoundaryTest, ShowsTheFailureInAnErrorBoxOwnedByTheHost) {
    fake::FakeWindows windows;
    RunAtBoundary(windows, windows.hostWindow, GetParam().raise);

    ASSERT_EQ(windows.messageBoxes.size(), 1u);
    const fake::ShownMessageBox& box = windows.messageBoxes[0];
    EXPECT_EQ(box.owner, windows.hostWindow);
    EXPECT_EQ(box.text, GetParam().expectedText);
    EXPECT_EQ(box.caption, u"HSP コンパイル/実行");
    EXPECT_EQ(box.type, 0x10u);  // MB_OK | MB_ICONERROR
}

INSTANTIATE_TEST_SUITE_P(
    Failures, BoundaryTest,
    ::testing::Values(
        FailureCase{"GeneralError", [] { throw GeneralError(u"ディレクトリC:\\workを作成できません。"); },
                    u"ディレクトリC:\\workを作成できません。"},
        FailureCase{"IoError", [] { throw IoError(u"hsptmp\r\nファイルに書き込みできません。", 0); },
                    u"hsptmp\r\nファイルに書き込みできません。"},
        FailureCase{"OutOfMemory", [] { throw std::bad_alloc(); }, kOutOfMemoryMessage},
        FailureCase{"StandardException", [] { throw std::runtime_error("x"); },
                    kUnexpectedFailureMessage},
        FailureCase{"AnythingElse", [] { throw 42; }, kUnexpectedFailureMessage}),
    testing::CaseName());

TEST(Boundary, SuccessShowsNothing) {
    fake::FakeWindows windows;
    bool ran = false;
    RunAtBoundary(windows, windows.hostWindow, [&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(windows.messageBoxes.empty());
}

TEST(Boundary, AMessageBoxThatThrowsStaysInside) {
    fake::FakeWindows windows;
    windows.ThrowOnCall("MessageBoxW", 0, [] { throw std::bad_alloc(); });
    RunAtBoundary(windows, windows.hostWindow, [] { throw GeneralError(u"x"); });
    EXPECT_EQ(windows.CallCount("MessageBoxW"), 1);
}

// The command as OnCommand runs it.
class OnCommandTest : public ::testing::Test {
protected:
    fake::FakeWindows windows;
    LibraryState library = InitializeLibrary(windows, nullptr);

    void OnCommand() {
        RunAtBoundary(windows, windows.hostWindow,
                      [&] { ExecuteRunCommand(windows, library, windows.hostWindow); });
    }
};

TEST_F(OnCommandTest, ReadsDocumentAndPathWithPaintingResumedFirst) {
    windows.host.text = u"mes \"ok\"";
    windows.host.path = u"C:\\work\\game.hsp";
    OnCommand();
    EXPECT_TRUE(windows.messageBoxes.empty());
    ASSERT_EQ(windows.host.log.size(), 12u);
    EXPECT_EQ(windows.host.log[10].message, MSG_ENABLE_REDRAW);
    EXPECT_EQ(windows.host.log[11].message, MSG_QUERY_DOCUMENT_PATH);
    EXPECT_EQ(windows.host.lastServedText, u"mes \"ok\"");
    EXPECT_FALSE(windows.host.paintingHeld);
}

TEST_F(OnCommandTest, DocumentTooLargeToHoldEndsWithAMessageNotACrash) {
    windows.host.text = u"abc";
    windows.host.announcedCount = INT32_MAX;  // 4 GiB of UTF-16
    {
        const testing::AllocationLimit limit(std::size_t{1} << 30);
        OnCommand();
    }
    ASSERT_EQ(windows.messageBoxes.size(), 1u);
    EXPECT_EQ(windows.messageBoxes[0].text, kOutOfMemoryMessage);
    EXPECT_FALSE(windows.host.paintingHeld);
    // Painting came back before the user was shown the message.
    const auto box = std::find(windows.calls.begin(), windows.calls.end(), "MessageBoxW");
    const auto lastSend = std::find(windows.calls.rbegin(), windows.calls.rend(), "SendMessageW");
    EXPECT_LT(lastSend.base() - windows.calls.begin(), box - windows.calls.begin() + 1);
    EXPECT_EQ(windows.host.log.back().message, MSG_ENABLE_REDRAW);
    EXPECT_EQ(windows.host.log.back().wParam, 1u);
}

}  // namespace
}  // namespace tollik
