// Program files the checker reads are whatever users have on disk: for any
// bytes, reading them as a PE image stays within them, and an image that
// reads back exports names only that lie in the bytes.

#include <string_view>

#include "FuzzInput.h"
#include "PeImage.h"

using namespace tollik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto image = check::ReadPeImage(bytes);
    if (!image) return 0;
    for (const std::string& name : image->exports)
        fuzz::Require(bytes.find(name) != std::string_view::npos, "an export name comes from the file");
    return 0;
}
