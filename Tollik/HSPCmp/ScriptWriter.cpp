#include "HSPCmp/ScriptWriter.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "Common/FileSystem.h"
#include "Common/PathText.h"
#include "Failure.h"
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

// Gathers bytes and writes them in pieces of kScriptWriteBufferBytes, one
// WriteFile per full buffer; the rest goes out at Close.
class BufferedFile {
public:
    BufferedFile(SystemApi& api, unique_hfile file) : api_(api), file_(std::move(file)) {}

    void Write(const char* bytes, std::size_t count) {
        while (count > 0) {
            const std::size_t taken = std::min(count, buffer_.size() - used_);
            std::memcpy(buffer_.data() + used_, bytes, taken);
            used_ += taken;
            bytes += taken;
            count -= taken;
            if (used_ == buffer_.size()) WriteOut();
        }
    }

    // Writes what is buffered, then closes; the handle is closed even when
    // that last write fails. A close the system refuses (a write it had
    // deferred failed) leaves the file incomplete, and is a failure too.
    void Close() {
        unique_hfile file = std::move(file_);
        if (used_ > 0) WriteOut(file.get());
        if (!file.close()) FailWithCode(api_.GetLastError());
    }

private:
    void WriteOut() { WriteOut(file_.get()); }

    void WriteOut(FileHandle file) {
        const auto count = static_cast<std::uint32_t>(used_);
        std::uint32_t written = 0;
        if (!api_.WriteFile(file, buffer_.data(), count, &written)) FailWithCode(api_.GetLastError());
        // A short write that reports success has still lost bytes.
        if (written != count) FailWithCode(kErrorWriteFault);
        used_ = 0;
    }

    SystemApi& api_;
    unique_hfile file_;
    std::array<char, kScriptWriteBufferBytes> buffer_{};
    std::size_t used_ = 0;
};

// The whole text in the code page, in one piece; the code page's own
// default character stands for what it cannot hold.
std::unique_ptr<char[]> Convert(SystemApi& api, std::uint32_t codePage, std::u16string_view text,
                                std::size_t& size) {
    // One call converts at most INT_MAX units; a longer text cannot be
    // written in one piece.
    if (text.size() > static_cast<std::size_t>(INT_MAX)) FailWithCode(kErrorArithmeticOverflow);
    const auto length = static_cast<int>(text.size());
    const int needed =
        api.WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) FailWithCode(api.GetLastError());
    auto bytes = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(needed));
    const int converted = api.WideCharToMultiByte(codePage, 0, text.data(), length, bytes.get(),
                                                  needed, nullptr, nullptr);
    if (converted != needed) FailWithCode(api.GetLastError());
    size = static_cast<std::size_t>(needed);
    return bytes;
}

void CreateAndWrite(SystemApi& api, std::uint32_t codePage, const std::u16string& path,
                    std::u16string_view text) {
    unique_hfile file(api, api.CreateFileW(path.c_str(), kGenericWrite, kFileShareRead,
                                           kCreateAlways, kFileAttributeNormal));
    if (!file) FailWithCode(api.GetLastError());
    if (api.GetFileType(file.get()) == kFileTypeUnknown) FailWithCode(kErrorCodeNotAFile);

    BufferedFile out(api, std::move(file));
    if (!text.empty()) {
        std::size_t size = 0;
        const std::unique_ptr<char[]> bytes = Convert(api, codePage, text, size);
        out.Write(bytes.get(), size);
        out.Write("\r\n", 2);
    }
    out.Close();
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
