#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "CaptureLog.h"
#include "CaseName.h"
#include "FakeWindows.h"
#include "HSPCmp/DocumentCapture.h"
#include "PluginApi/HostMessages.h"

namespace tollik {
namespace {

using testing::ReceivedMessage;

class DocumentCaptureTest : public ::testing::Test {
protected:
    fake::FakeWindows windows;
    testing::EditorModel& host = windows.host;

    std::u16string Capture() {
        return std::u16string(CaptureDocumentText(windows, windows.hostWindow).view());
    }
};

TEST_F(DocumentCaptureTest, SendsTheExactSequenceAndHandsRecordsBack) {
    host.text = u"mes \"hello\"\r\nstop";
    host.anchor = 12;  // a selection made backwards: caret before anchor
    host.caret = 4;
    host.scroll = 3;

    EXPECT_EQ(Capture(), host.text);

    EXPECT_EQ(testing::CaptureLogMismatches(host.log, 17, false), std::vector<std::string>{});
    EXPECT_EQ(testing::RestoredViewMismatches(host, 12, 4, 3), std::vector<std::string>{});
}

TEST_F(DocumentCaptureTest, ReadsTheWholeDocumentWhateverIsSelected) {
    host.text = u"a\r\nb\n\nＨＳＰ\u3042\U0001F600";
    host.text += std::u16string(u"\0after NUL", 10);
    host.anchor = 2;
    host.caret = 3;
    EXPECT_EQ(Capture(), host.text);
    EXPECT_EQ(host.anchor, 2);
    EXPECT_EQ(host.caret, 3);
}

TEST_F(DocumentCaptureTest, EmptyDocumentSendsNoBufferAndNoCapacity) {
    host.text.clear();
    EXPECT_EQ(Capture(), u"");
    ASSERT_EQ(host.log.size(), 11u);
    EXPECT_EQ(host.log[5], (ReceivedMessage{MSG_QUERY_SELECTION_TEXT, 0, 0}));
    EXPECT_EQ(host.log[6], (ReceivedMessage{MSG_QUERY_SELECTION_TEXT, 0, 0}));
}

// A host whose count is not the selection's length plus one: the text is
// exactly count - 1 units, zero where the host wrote nothing, and the
// capacity passed is the room really given.
struct CountCase {
    const char* name;
    std::int64_t announced;  // low 32 bits are what counts
    std::size_t expectedLength;
};

class AnnouncedCountTest : public DocumentCaptureTest,
                           public ::testing::WithParamInterface<CountCase> {};

TEST_P(AnnouncedCountTest, TextHasExactlyCountMinusOneUnits) {
    const CountCase& c = GetParam();
    host.text = u"abcdefgh";
    host.announcedCount = c.announced;

    const std::u16string text = Capture();

    ASSERT_EQ(text.size(), c.expectedLength);
    const std::size_t served = std::min<std::size_t>(c.expectedLength, host.text.size());
    EXPECT_EQ(text.substr(0, served), host.text.substr(0, served));
    EXPECT_EQ(text.find_first_not_of(u'\0', served), std::u16string::npos)
        << "units the host did not write must stay zero";
    ASSERT_EQ(host.log.size(), 11u);
    EXPECT_EQ(host.log[6].wParam, c.expectedLength);
    EXPECT_EQ(host.log[6].lParam == 0, c.expectedLength == 0);
    EXPECT_FALSE(host.paintingHeld);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, AnnouncedCountTest,
    ::testing::Values(CountCase{"Zero", 0, 0}, CountCase{"MinusOne", -1, 0},
                      CountCase{"Smallest", INT32_MIN, 0}, CountCase{"One", 1, 0},
                      CountCase{"Smaller", 4, 3}, CountCase{"Exact", 9, 8},
                      CountCase{"Larger", 20, 19},
                      // Only the low 32 bits of the answer are the count.
                      CountCase{"HighHalfIgnored", 0x100000004, 3},
                      CountCase{"LowHalfNegative", INT64_MAX, 0}),
    testing::CaseName());

// The message layer breaking at any step still resumes painting; breaking
// while holding it sends no resume for a hold that never happened.
class BrokenMessageTest : public DocumentCaptureTest,
                          public ::testing::WithParamInterface<int> {};

TEST_P(BrokenMessageTest, PaintingIsResumedOnEveryPath) {
    const int broken = GetParam();
    host.text = u"abc";
    windows.ThrowOnCall("SendMessageW", broken, [] { throw std::runtime_error("layer broke"); });

    EXPECT_THROW(Capture(), std::runtime_error);

    EXPECT_FALSE(host.paintingHeld);
    EXPECT_EQ(host.paintingHolds, host.paintingResumes);
    if (broken > 1) {
        ASSERT_FALSE(host.log.empty());
        EXPECT_EQ(host.log.back(), (ReceivedMessage{MSG_ENABLE_REDRAW, 1, 0}));
    } else {
        EXPECT_TRUE(host.log.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(EachMessage, BrokenMessageTest, ::testing::Range(1, 11));

TEST_F(DocumentCaptureTest, BrokenResumeDoesNotLoseTheText) {
    host.text = u"abc";
    windows.ThrowOnCall("SendMessageW", 11, [] { throw std::runtime_error("layer broke"); });
    EXPECT_EQ(Capture(), u"abc");
}

TEST_F(DocumentCaptureTest, CountTooLargeToAllocateFailsWithPaintingResumed) {
    host.text = u"abc";
    host.anchor = 2, host.caret = 1, host.scroll = 1;
    host.announcedCount = INT32_MAX;
    windows.FailCall("VirtualAlloc", os::kErrorNotEnoughMemory);  // no 4 GiB to commit
    EXPECT_THROW(Capture(), std::bad_alloc);
    EXPECT_FALSE(host.paintingHeld);
    // Not the whole document left selected for the next key to replace.
    EXPECT_EQ(testing::RestoredViewMismatches(host, 2, 1, 1), std::vector<std::string>{});
    EXPECT_EQ(host.log.back(), (ReceivedMessage{MSG_ENABLE_REDRAW, 1, 0}));
}

TEST_F(DocumentCaptureTest, HostThatAnswersNothingGivesEmptyText) {
    host.text = u"abc";
    host.answersNothing = true;
    EXPECT_EQ(Capture(), u"");
    EXPECT_EQ(host.log.size(), 11u);
    EXPECT_EQ(host.log.back(), (ReceivedMessage{MSG_ENABLE_REDRAW, 1, 0}));
}

// The document path.
struct PathCase {
    const char* name;
    std::u16string path;
    bool terminated;
    std::u16string expected;
};

class DocumentPathTest : public DocumentCaptureTest,
                         public ::testing::WithParamInterface<PathCase> {};

TEST_P(DocumentPathTest, ReadsUpToTheFirstNulWithinTheBuffer) {
    const PathCase& c = GetParam();
    host.path = c.path;
    host.terminatePath = c.terminated;
    EXPECT_EQ(QueryDocumentPath(windows, windows.hostWindow), c.expected);
    ASSERT_EQ(host.log.size(), 1u);
    EXPECT_EQ(host.log[0].message, MSG_QUERY_DOCUMENT_PATH);
    EXPECT_EQ(host.log[0].wParam, 256u);
    EXPECT_NE(host.log[0].lParam, 0);
}

std::u16string Repeated(const std::u16string& unit, std::size_t length) {
    std::u16string s;
    while (s.size() < length) s += unit;
    return s.substr(0, length);
}

const std::u16string kLongest = u"C:\\" + std::u16string(257, u'd');  // 260 units

INSTANTIATE_TEST_SUITE_P(
    Paths, DocumentPathTest,
    ::testing::Values(PathCase{"Saved", u"C:\\work\\game.hsp", true, u"C:\\work\\game.hsp"},
                      PathCase{"Untitled", u"", true, u""},
                      PathCase{"Japanese", u"D:\\作業\\ゲーム.hsp", true, u"D:\\作業\\ゲーム.hsp"},
                      PathCase{"LongestThatFits", kLongest, true, kLongest},
                      PathCase{"NoTerminator", u"ab", false, Repeated(u"ab", 261)}),
    testing::CaseName());

}  // namespace
}  // namespace tollik
