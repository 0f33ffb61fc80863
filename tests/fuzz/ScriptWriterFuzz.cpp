// The script writer: for any text and code page the file holds exactly the
// text converted, then CR LF (nothing for an empty text), written in full
// buffers and one last piece.

#include <string>

#include "FakeCodePages.h"
#include "FakeWindows.h"
#include "FuzzInput.h"
#include "HSPCmp/ScriptWriter.h"

using namespace tollik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static constexpr std::uint32_t kCodePages[] = {932, 1252, 65001};
    const std::uint32_t codePage = kCodePages[data[0] % 3];
    const std::u16string text = fuzz::Units(data + 1, size - 1);

    fake::FakeWindows windows;
    windows.files.AddFolder(u"C:\\work");
    SaveScriptFile(windows, codePage, u"C:\\work\\hsptmp", text);

    const std::string expected =
        text.empty() ? "" : fake::EncodeForCodePage(codePage, text) + "\r\n";
    fuzz::Require(windows.files.FileContent(u"C:\\work\\hsptmp") == expected,
                  "the file is the text converted, then CR LF");
    fuzz::Require(windows.files.OpenFiles() == 0, "the file is closed");
    for (std::size_t i = 0; i + 1 < windows.writeSizes.size(); ++i)
        fuzz::Require(windows.writeSizes[i] == kScriptWriteBufferBytes,
                      "full buffers before the last");
    return 0;
}
