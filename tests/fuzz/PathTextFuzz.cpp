// Path texts: for every input the parts put back together give the path,
// and each operation keeps its promise.

#include "Common/PathText.h"
#include "FuzzInput.h"

using namespace tollik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::u16string path =
        data[0] & 1 ? fuzz::Units(data + 1, size - 1) : fuzz::Narrow(data + 1, size - 1);

    const std::u16string dir = DirPart(path);
    const std::u16string name = NamePart(path);
    fuzz::Require(dir + name == path, "DirPart + NamePart is the path");
    fuzz::Require(name.find_first_of(u"\\:") == std::u16string::npos, "a name has no delimiter");
    fuzz::Require(dir.empty() || dir.back() == u'\\' || dir.back() == u':',
                  "a folder part ends with its delimiter");

    const std::u16string trimmed = DirPartTrimmed(path);
    fuzz::Require(dir.starts_with(trimmed) && dir.size() - trimmed.size() <= 1,
                  "the trimmed folder part drops at most the final backslash");

    const std::u16string delimited = AddTrailingDelimiter(path);
    fuzz::Require(delimited.back() == u'\\' && delimited.starts_with(path) &&
                      delimited.size() - path.size() <= 1,
                  "one backslash at most is added");
    fuzz::Require(AddTrailingDelimiter(delimited) == delimited,
                  "adding the delimiter twice adds nothing");

    const std::u16string ini = ReplaceExtension(path, u".ini");
    fuzz::Require(ini.ends_with(u".ini"), "the new extension ends the path");
    fuzz::Require(DirPart(ini) == dir, "the folder part survives a new extension");
    return 0;
}
