#include <gtest/gtest.h>

#include <string>

#include "Common/PathText.h"
#include "FakeText.h"

namespace tollik {
namespace {

using testing::Utf8;

struct SplitCase {
    std::u16string path;
    std::u16string dir;
    std::u16string dirTrimmed;
    std::u16string name;
};

// Folder and name parts; the slash is an ordinary character, a NUL never a
// delimiter.
const SplitCase kSplitCases[] = {
    {u"C:\\work\\game.hsp", u"C:\\work\\", u"C:\\work", u"game.hsp"},
    {u"C:game.hsp", u"C:", u"C:", u"game.hsp"},
    {u"game.hsp", u"", u"", u"game.hsp"},
    {u"\\\\server\\share\\x.hsp", u"\\\\server\\share\\", u"\\\\server\\share", u"x.hsp"},
    {u"C:\\work\\hsptmp", u"C:\\work\\", u"C:\\work", u"hsptmp"},
    {u"C:\\hsptmp", u"C:\\", u"C:\\", u"hsptmp"},
    {u"\\hsptmp", u"\\", u"\\", u"hsptmp"},
    {u"C:\\work\\", u"C:\\work\\", u"C:\\work", u""},
    {u"hsptmp", u"", u"", u"hsptmp"},
    {u"C:x", u"C:", u"C:", u"x"},
    {u"C:\\a\\\\b", u"C:\\a\\\\", u"C:\\a\\\\", u"b"},
    {u"C:\\a/b/c.hsp", u"C:\\", u"C:\\", u"a/b/c.hsp"},
    {u"", u"", u"", u""},
    {u"\\", u"\\", u"\\", u""},
    {u"a\\", u"a\\", u"a", u""},
    {std::u16string(u"C:\\a\0b\\c", 8), std::u16string(u"C:\\a\0b\\", 7),
     std::u16string(u"C:\\a\0b", 6), u"c"},
};

TEST(PathText, SplitsIntoFolderAndName) {
    for (const SplitCase& c : kSplitCases) {
        SCOPED_TRACE(Utf8(c.path));
        EXPECT_EQ(DirPart(c.path), c.dir);
        EXPECT_EQ(DirPartTrimmed(c.path), c.dirTrimmed);
        EXPECT_EQ(NamePart(c.path), c.name);
        // Nothing is lost between the two halves.
        EXPECT_EQ(DirPart(c.path) + NamePart(c.path), c.path);
    }
}

TEST(PathText, ReplacesOnlyTheLastExtensionOfTheName) {
    const struct {
        std::u16string path;
        std::u16string expected;
    } cases[] = {
        {u"C:\\Tools\\Ed.exe", u"C:\\Tools\\Ed.ini"},
        {u"C:\\app.d\\Ed", u"C:\\app.d\\Ed.ini"},
        {u"a.tar.gz", u"a.tar.ini"},
        {u"C:\\x\\.cfg", u"C:\\x\\.ini"},
        {u"Ed.", u"Ed.ini"},
        {u"", u".ini"},
        {u"C:Ed.exe", u"C:Ed.ini"},
        {u"C:", u"C:.ini"},
        {u"C:\\dir.v2\\", u"C:\\dir.v2\\.ini"},
        {u"a/b.c/d", u"a/b.ini"},  // the slash is no delimiter
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReplaceExtension(c.path, u".ini"), c.expected) << Utf8(c.path);
    EXPECT_EQ(ReplaceExtension(u"C:\\x\\Ed.exe", u""), u"C:\\x\\Ed");
}

TEST(PathText, AddsABackslashUnlessOneEndsThePath) {
    const struct {
        std::u16string path;
        std::u16string expected;
    } cases[] = {
        {u"C:\\hsp37", u"C:\\hsp37\\"},
        {u"C:\\hsp37\\", u"C:\\hsp37\\"},
        {u"C:\\hsp37/", u"C:\\hsp37/\\"},
        {u"C:", u"C:\\"},
        {u"", u"\\"},
        {u"\\", u"\\"},
        {u"C:\\hsp37\\\\", u"C:\\hsp37\\\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddTrailingDelimiter(c.path), c.expected) << Utf8(c.path);
}

}  // namespace
}  // namespace tollik
