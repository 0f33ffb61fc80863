#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "Failure.h"
#include "CaseName.h"
#include "FakeWindows.h"
#include "PluginApi/CommandBoundary.h"
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

// A program that catches std::exception (the checker's main) prints the message.
TEST(Boundary, FailuresAreStandardExceptionsSayingTheirMessageInUtf8) {
    static_assert(std::is_base_of_v<std::exception, IoError>);
    try {
        throw GeneralError(u"ファイル C:\\x は開けません。");
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "ファイル C:\\x は開けません。");
    }
}

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

}  // namespace
}  // namespace tollik
