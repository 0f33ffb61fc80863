#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CaseName.h"
#include "FakeWindows.h"
#include "PluginApi/PluginInfo.h"
#include "PluginApi/PluginQuery.h"

namespace tollik {
namespace {

constexpr char16_t kUntouched = u'#';

struct QueryCase {
    const char* name;
    std::uint32_t code;
    std::size_t count;
    bool withBuffer;
    os::LResult expectedResult;
    std::u16string expectedWritten;  // the buffer's head afterwards; '#' = untouched
};

class PluginQueryTest : public ::testing::TestWithParam<QueryCase> {};

TEST_P(PluginQueryTest, AnswersLengthAndCopiesByLstrcpynRule) {
    const QueryCase& c = GetParam();
    fake::FakeWindows windows;
    std::u16string buffer(64, kUntouched);
    const os::LResult result = AnswerPluginQuery(windows, nullptr, c.code, c.count,
                                                 c.withBuffer ? buffer.data() : nullptr);
    EXPECT_EQ(result, c.expectedResult);
    EXPECT_EQ(buffer.substr(0, c.expectedWritten.size()), c.expectedWritten);
    EXPECT_EQ(buffer.find_first_not_of(kUntouched, c.expectedWritten.size()), std::u16string::npos)
        << "wrote past the answer";
}

const std::u16string kName = kPluginName;

INSTANTIATE_TEST_SUITE_P(
    Cases, PluginQueryTest,
    ::testing::Values(
        QueryCase{"NameLengthWithoutBuffer", PLUGIN_QUERY_NAME, 0, false, 12, u"#"},
        QueryCase{"VersionLengthWithoutBuffer", PLUGIN_QUERY_VERSION, 0, false, 5, u"#"},
        QueryCase{"VersionCutToCapacity", PLUGIN_QUERY_VERSION, 3, true, 5,
                  std::u16string(u"2.\0#", 4)},
        QueryCase{"CountZeroWritesNothing", PLUGIN_QUERY_NAME, 0, true, 12, u"#"},
        QueryCase{"CountOneWritesOnlyNul", PLUGIN_QUERY_NAME, 1, true, 12,
                  std::u16string(u"\0#", 2)},
        QueryCase{"ExactRoom", PLUGIN_QUERY_NAME, 13, true, 12, kName + u'\0' + u'#'},
        QueryCase{"OneShort", PLUGIN_QUERY_NAME, 12, true, 12,
                  kName.substr(0, 11) + u'\0' + u'#'},
        QueryCase{"WholeVersion", PLUGIN_QUERY_VERSION, 64, true, 5, std::u16string(u"2.4.3\0#", 7)},
        // A pointer-sized count beyond int must not wrap round to a small one.
        QueryCase{"CountBeyondInt", PLUGIN_QUERY_NAME, std::size_t{1} << 32, true, 12,
                  kName + u'\0' + u'#'},
        QueryCase{"CountJustBeyondIntMax", PLUGIN_QUERY_NAME, std::size_t{0x80000001}, true, 12,
                  kName + u'\0' + u'#'},
        QueryCase{"CodeBelowName", 0x0901, 64, true, 0, u"#"},
        QueryCase{"CodeAboveVersion", 0x0904, 64, true, 0, u"#"},
        QueryCase{"CodeZero", 0, 64, true, 0, u"#"}),
    testing::CaseName());

TEST(PluginQuery, LoadsAfreshOnEveryCall) {
    fake::FakeWindows windows;
    EXPECT_EQ(AnswerPluginQuery(windows, nullptr, PLUGIN_QUERY_NAME, 0, nullptr), 12);
    windows.stringResources[IDS_PLUGIN_NAME] = u"renamed";
    EXPECT_EQ(AnswerPluginQuery(windows, nullptr, PLUGIN_QUERY_NAME, 0, nullptr), 7);
    EXPECT_EQ(windows.CallCount("LoadStringW"), 2);
}

TEST(PluginQuery, UnknownCodeMakesNoCall) {
    fake::FakeWindows windows;
    std::u16string buffer(8, kUntouched);
    EXPECT_EQ(AnswerPluginQuery(windows, nullptr, 0x0905, 8, buffer.data()), 0);
    EXPECT_TRUE(windows.calls.empty());
}

TEST(PluginQuery, MissingResourceAnswersEmpty) {
    fake::FakeWindows windows;
    windows.stringResources.erase(IDS_PLUGIN_VERSION);
    std::u16string buffer(8, kUntouched);
    EXPECT_EQ(AnswerPluginQuery(windows, nullptr, PLUGIN_QUERY_VERSION, 8, buffer.data()), 0);
    EXPECT_EQ(buffer, std::u16string(u"\0#######", 8));
}

TEST(PluginQuery, LongAnswerIsCutAtTheLoadBuffer) {
    fake::FakeWindows windows;
    windows.stringResources[IDS_PLUGIN_NAME] = std::u16string(5000, u'n');
    std::vector<char16_t> buffer(6000, kUntouched);
    EXPECT_EQ(AnswerPluginQuery(windows, nullptr, PLUGIN_QUERY_NAME, buffer.size(), buffer.data()),
              kPluginQueryBufferUnits - 1);
    EXPECT_EQ(buffer[kPluginQueryBufferUnits - 2], u'n');
    EXPECT_EQ(buffer[kPluginQueryBufferUnits - 1], u'\0');
    EXPECT_EQ(buffer[kPluginQueryBufferUnits], kUntouched);
}

}  // namespace
}  // namespace tollik
