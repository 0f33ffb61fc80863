// A host that answers the plug-in's messages wrongly, through the whole
// command: no crash, nothing read or written outside the plug-in's buffers
// (the sanitizer build watches that), painting resumed, and a script that is
// exactly what the host handed over.

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <optional>
#include <string>

#include "CommandSweep.h"

namespace tollik {
namespace {

using testing::EditorModel;
using testing::Ending;
using testing::SweepRun;

TEST(MisbehavingHost, TheCommandTakesWhatTheHostGaveAndLeavesItWhole) {
    const std::string text = "mes \"ok\"";  // what the host's document holds
    const struct {
        const char* name;
        std::function<void(EditorModel&)> misbehave;
        Ending ending;
        std::optional<std::string> script;  // the script file's bytes, when one is written
        std::u16string scriptPath = u"C:\\work\\hsptmp";
    } cases[] = {
        {"count 0", [](EditorModel& h) { h.announcedCount = 0; }, Ending::Launched, ""},
        {"count 1: an empty text", [](EditorModel& h) { h.announcedCount = 1; }, Ending::Launched,
         ""},
        {"negative count", [](EditorModel& h) { h.announcedCount = -5; }, Ending::Launched, ""},
        {"smallest count", [](EditorModel& h) { h.announcedCount = INT32_MIN; }, Ending::Launched,
         ""},
        {"count smaller than the text", [](EditorModel& h) { h.announcedCount = 4; },
         Ending::Launched, "mes\r\n"},
        {"count larger than the text: the rest stays zero",
         [](EditorModel& h) { h.announcedCount = 12; }, Ending::Launched,
         text + std::string(3, '\0') + "\r\n"},
        {"count with garbage in the high half",
         [](EditorModel& h) { h.announcedCount = (std::int64_t{0x7F} << 32) | 4; },
         Ending::Launched, "mes\r\n"},
        {"path written without a terminator, all 261 units",
         [](EditorModel& h) {
             h.path = u"C:\\work\\sub\\";
             h.terminatePath = false;
         },
         // The repeated drive names a folder that cannot be made.
         Ending::ScriptFolder, std::nullopt},
        {"answers nothing: an empty untitled document",
         [](EditorModel& h) { h.answersNothing = true; }, Ending::Launched, "",
         u"C:\\Users\\tollik\\AppData\\Local\\Temp\\hsptmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SweepRun run(testing::CommandScenarios().front());
        c.misbehave(run.editor.windows.host);
        run.OnCommand();

        EXPECT_EQ(testing::Describe(testing::EndingOf(run)), testing::Describe(c.ending));
        for (const std::string& broken : testing::BrokenInvariants(run)) ADD_FAILURE() << broken;
        EXPECT_EQ(run.editor.windows.host.paintingResumes, run.editor.windows.host.paintingHolds);
        EXPECT_EQ(run.editor.windows.files.FileContent(c.scriptPath), c.script);
    }
}

}  // namespace
}  // namespace tollik
