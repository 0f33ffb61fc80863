#include "FileConformance.h"

#include <functional>

#include "Checker.h"
#include "Common/Drives.h"
#include "Common/FileSystem.h"
#include "Failure.h"
#include "HSPCmp/ScriptWriter.h"
#include "Utf8.h"

namespace tollik::testing {
namespace {

// What SaveScriptFile did: "ok", or the failure's kind, code and message.
std::string Save(os::SystemApi& api, std::uint32_t codePage, const std::u16string& path,
                 const std::u16string& text) {
    try {
        SaveScriptFile(api, codePage, path, text);
        return "ok";
    } catch (const IoError& e) {
        return "IoError " + std::to_string(e.Code()) + " " + Utf8(e.Message());
    } catch (const GeneralError& e) {
        return "GeneralError " + Utf8(e.Message());
    }
}

void ExpandPathCases(ConformanceWorld& world, Checker& check) {
    const std::u16string base = world.Base();
    world.ChangeCurrentDirectory(base);
    os::SystemApi& api = world.Api();
    check.Expect("ExpandPath a\\..\\b\\.\\c", ExpandPath(api, u"a\\..\\b\\.\\c"), base + u"\\b\\c");
    check.Expect("ExpandPath a/b", ExpandPath(api, u"a/b"), base + u"\\a\\b");
    check.Expect("ExpandPath name. ", ExpandPath(api, u"name. "), base + u"\\name");
    check.Expect("ExpandPath \\x", ExpandPath(api, u"\\x"), base.substr(0, 2) + u"\\x");
    const std::u16string deep = base + u"\\" + std::u16string(300, u'l') + u"\\x";
    check.Expect("ExpandPath of 300 units", ExpandPath(api, deep), deep);
}

void PresenceCases(ConformanceWorld& world, Checker& check) {
    const std::u16string base = world.Base();
    world.AddFile(base + u"\\f.hsp", "x");
    world.AddFolder(base + u"\\dir");
    const struct {
        std::u16string name;
        bool file;
        bool folder;
    } cases[] = {
        {u"f.hsp", true, false},    {u"F.HSP", true, false},   {u"dir", false, true},
        {u"dir\\", false, true},    {u"nope", false, false},   {u"nope\\x", false, false},
        {u"f.hsp\\", false, false}, {u"a*b", false, false},    {u"f.hsp\\x", false, false},
    };
    for (const auto& c : cases) {
        const std::u16string path = base + u"\\" + c.name;
        check.Expect("FileIsPresent " + Utf8(c.name), FileIsPresent(world.Api(), path), c.file);
        check.Expect("DirectoryIsPresent " + Utf8(c.name), DirectoryIsPresent(world.Api(), path),
                     c.folder);
    }
}

void DriveCheckedCases(ConformanceWorld& world, Checker& check) {
    const std::u16string base = world.Base();
    os::SystemApi& api = world.Api();
    const DiskSpaceFunction diskSpace = LookUpDiskSpaceFunction(api);
    check.Expect("IsDriveReady c", IsDriveReady(api, diskSpace, static_cast<char16_t>(base[0] | 0x20)), true);
    check.Expect("IsDriveReady of no drive", IsDriveReady(api, diskSpace, u'Q'), false);
    check.Expect("FileExistsChecked f.hsp", FileExistsChecked(api, diskSpace, base + u"\\f.hsp"),
                 true);
    check.Expect("FileExistsChecked dir", FileExistsChecked(api, diskSpace, base + u"\\dir"), false);
    check.Expect("DirectoryExistsChecked dir", DirectoryExistsChecked(api, diskSpace, base + u"\\dir"),
                 true);
    check.Expect("DirectoryExistsChecked root", DirectoryExistsChecked(api, diskSpace, base.substr(0, 3)),
                 true);
    check.Expect("FileExistsChecked Q:", FileExistsChecked(api, diskSpace, u"Q:\\x"), false);
    check.Expect("DirectoryExistsChecked Q:", DirectoryExistsChecked(api, diskSpace, u"Q:\\"), false);
    check.Expect("DriveSize of the current drive positive", DriveSize(api, diskSpace, 0) > 0, true);
}

void FolderCases(ConformanceWorld& world, Checker& check) {
    const std::u16string base = world.Base();
    check.Expect("CreateDirectoryTree n1\\n2\\n3",
                 CreateDirectoryTree(world.Api(), base + u"\\n1\\n2\\n3"), true);
    check.Expect("n1\\n2\\n3 made", world.IsFolder(base + u"\\n1\\n2\\n3"), true);
    check.Expect("CreateDirectoryTree again", CreateDirectoryTree(world.Api(), base + u"\\n1\\n2\\n3"),
                 true);
    check.Expect("CreateDirectoryTree under a file",
                 CreateDirectoryTree(world.Api(), base + u"\\f.hsp\\sub"), false);
}

void WriterCases(ConformanceWorld& world, Checker& check) {
    const std::u16string base = world.Base();
    os::SystemApi& api = world.Api();
    const std::u16string script = base + u"\\s1\\hsptmp";
    const struct {
        const char* name;
        std::uint32_t codePage;
        std::u16string text;
        std::string bytes;
    } cases[] = {
        {"ascii", 1252, u"abc", "abc\r\n"},
        {"empty", 1252, u"", ""},
        {"ending in CR LF", 1252, u"a\r\n", "a\r\n\r\n"},
        {"Japanese under 932", 932, u"日本語", "\x93\xFA\x96\x7B\x8C\xEA\r\n"},
        {"emoji under 932", 932, u"\xD83D\xDE00", "??\r\n"},
        {"best fit under 932", 932, u"\u00A5\u00E9\u301C", "\x5C" "e?\r\n"},
        {"best fit under 1252", 1252, u"\u0100\u221E", "A8\r\n"},
        {"NUL and lone surrogate", 1252, std::u16string(u"a\0\xD800", 3), std::string("a\0?\r\n", 5)},
        {"UTF-8 lone surrogate", 65001, u"\xDC00", "\xEF\xBF\xBD\r\n"},
        {"three buffers", 1252, std::u16string(300, u'x'), std::string(300, 'x') + "\r\n"},
    };
    for (const auto& c : cases) {
        check.Expect(std::string("SaveScriptFile ") + c.name, Save(api, c.codePage, script, c.text),
                     std::string("ok"));
        check.Expect(std::string("bytes of ") + c.name, world.Content(script), c.bytes);
    }

    const std::string cannotWrite = "\r\nファイルに書き込みできません。";
    world.AddFolder(base + u"\\isdir");
    check.Expect("SaveScriptFile onto a folder", Save(api, 1252, base + u"\\isdir", u"a"),
                 "IoError 0 isdir" + cannotWrite);

    world.AddFile(base + u"\\held", "old");
    world.HoldOpenForWriting(base + u"\\held");
    check.Expect("SaveScriptFile onto a file open elsewhere", Save(api, 1252, base + u"\\held", u"a"),
                 "IoError 0 held" + cannotWrite);
    world.ReleaseHeldFiles();
    check.Expect("the held file untouched", world.Content(base + u"\\held"), std::string("old"));

    check.Expect("SaveScriptFile under a file", Save(api, 1252, base + u"\\f.hsp\\sub\\hsptmp", u"a"),
                 "GeneralError ディレクトリ" + Utf8(base) + "\\f.hsp\\subを作成できません。");

    const std::u16string tooLong = base + u"\\" + std::u16string(260 - base.size() - 1, u'n');
    const std::string outcome = Save(api, 1252, tooLong, u"a");
    check.Expect("SaveScriptFile of 260 units", outcome.substr(0, 10), std::string("IoError 3 "));
    check.Expect("no file of 260 units", world.Content(tooLong), std::string("<none>"));
    const std::u16string longest = tooLong.substr(0, 259);
    check.Expect("SaveScriptFile of 259 units", Save(api, 1252, longest, u"a"), std::string("ok"));
    check.Expect("bytes of 259 units", world.Content(longest), std::string("a\r\n"));
}

}  // namespace

std::vector<std::string> ConformanceMismatches(ConformanceWorld& world) {
    std::vector<std::string> mismatches;
    Checker check(mismatches);
    ExpandPathCases(world, check);
    PresenceCases(world, check);
    DriveCheckedCases(world, check);
    FolderCases(world, check);
    WriterCases(world, check);
    return mismatches;
}

}  // namespace tollik::testing
