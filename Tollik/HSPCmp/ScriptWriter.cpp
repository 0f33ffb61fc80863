#include "HSPCmp/ScriptWriter.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <string>

#include "Common/FileSystem.h"
#include "Common/PathText.h"
#include "Failure.h"
#include "HSPCmp/ScriptEncoding.h"
#include "os/Handles.h"

namespace tollik {
namespace {

using namespace os;

constexpr std::int32_t kErrorCodePathTooLong = 3;
constexpr std::int32_t kErrorCodeNotAFile = 105;
constexpr std::u16string_view kCannotWrite = u"ファイルに書き込みできません。";
constexpr std::u16string_view kPathTooLong =
    u"スクリプトファイルのパスが長すぎます。パスは 259 文字までにしてください。";

// An input/output failure on the way to the file. Its text is never shown:
// the writer replaces it with the message that names the file.
[[noreturn]] void FailWithCode(std::uint32_t code) {
    throw IoError(std::u16string(), static_cast<std::int32_t>(code));
}

// Writes `bytes` in pieces of kScriptWriteBufferBytes, one WriteFile per
// piece, the last one shorter: the calls a 128-byte buffer filled and
// written out would make, without copying every byte through it.
void WriteInPieces(SystemApi& api, FileHandle file, const char* bytes, std::size_t size) {
    for (std::size_t at = 0; at < size; at += kScriptWriteBufferBytes) {
        const auto count = static_cast<std::uint32_t>(std::min(kScriptWriteBufferBytes, size - at));
        std::uint32_t written = 0;
        if (!api.WriteFile(file, bytes + at, count, &written)) FailWithCode(api.GetLastError());
        // A short write that reports success has still lost bytes.
        if (written != count) FailWithCode(kErrorWriteFault);
    }
}

// The whole text in its encoding, in one piece, after the byte-order mark
// when it takes one and followed by CR LF; the code page's own default
// character stands for what it cannot hold. `size` counts mark and line
// break.
std::unique_ptr<char[]> ConvertWithLineBreak(SystemApi& api, const ScriptEncoding& encoding,
                                             std::u16string_view text, std::size_t& size) {
    constexpr char kMark[] = {'\xEF', '\xBB', '\xBF'};
    const std::size_t markSize = encoding.byteOrderMark ? sizeof kMark : 0;
    // A text that starts with the mark's character gets the mark once (it
    // cannot be all of a text that asks for UTF-8).
    if (encoding.byteOrderMark && text.front() == u'\uFEFF') text.remove_prefix(1);
    const auto length = static_cast<int>(text.size());
    const int needed = encoding.convertedSize > 0
                           ? encoding.convertedSize
                           : api.WideCharToMultiByte(encoding.codePage, 0, text.data(), length,
                                                     nullptr, 0, nullptr, nullptr);
    if (needed <= 0) FailWithCode(api.GetLastError());
    const auto converted = static_cast<std::size_t>(needed);
    auto bytes = std::make_unique_for_overwrite<char[]>(markSize + converted + 2);
    std::copy_n(kMark, markSize, bytes.get());
    if (api.WideCharToMultiByte(encoding.codePage, 0, text.data(), length, bytes.get() + markSize,
                                needed, nullptr, nullptr) != needed)
        FailWithCode(api.GetLastError());
    bytes[markSize + converted] = '\r';
    bytes[markSize + converted + 1] = '\n';
    size = markSize + converted + 2;
    return bytes;
}

void CreateAndWrite(SystemApi& api, std::uint32_t codePage, const std::u16string& path,
                    std::u16string_view text) {
    unique_hfile file(api, api.CreateFileW(path.c_str(), kGenericWrite, kFileShareRead,
                                           kCreateAlways, kFileAttributeNormal));
    if (!file) FailWithCode(api.GetLastError());
    if (api.GetFileType(file.get()) == kFileTypeUnknown) FailWithCode(kErrorCodeNotAFile);

    if (!text.empty()) {
        // One call converts at most INT_MAX units; a longer text cannot be
        // written in one piece, and is refused before anything reads it.
        if (text.size() > static_cast<std::size_t>(INT_MAX)) FailWithCode(kErrorArithmeticOverflow);
        std::size_t size = 0;
        const std::unique_ptr<char[]> bytes =
            ConvertWithLineBreak(api, ChooseScriptEncoding(api, codePage, text), text, size);
        WriteInPieces(api, file.get(), bytes.get(), size);
    }
    // A close the system refuses (a write it had deferred failed) leaves the
    // file incomplete, and is a failure too. The handle is gone either way.
    if (!file.close()) FailWithCode(api.GetLastError());
}

}  // namespace

void SaveScriptFile(SystemApi& api, std::uint32_t ansiCodePage, std::u16string_view path,
                    std::u16string_view text) {
    // The plain folder test: a folder the system cannot examine counts as
    // present, and the file's creation then says what is wrong.
    const std::u16string folder = DirPartTrimmed(path);
    if (!folder.empty() && !DirectoryIsPresent(api, folder) && !CreateDirectoryTree(api, folder))
        throw GeneralError(u"ディレクトリ" + folder + u"を作成できません。");

    if (path.size() > kScriptPathLimit)
        throw IoError(std::u16string(kPathTooLong), kErrorCodePathTooLong);

    try {
        CreateAndWrite(api, ansiCodePage, std::u16string(path), text);
    } catch (const IoError&) {
        // The user learns which file, not the system's reason.
        throw IoError(NamePart(path) + u"\r\n" + std::u16string(kCannotWrite), 0);
    }
}

}  // namespace tollik
