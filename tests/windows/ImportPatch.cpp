#include "ImportPatch.h"

#include <cstring>
#include <stdexcept>

namespace tollik::host {
namespace {

void** FindImportSlot(HMODULE module, const char* library, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) return nullptr;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         d->Name != 0; ++d) {
        if (::lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), library) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                return reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
    }
    return nullptr;
}

void Store(void** slot, void* value) {
    DWORD previous = 0;
    ::VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previous);
    *slot = value;
    ::VirtualProtect(slot, sizeof *slot, previous, &previous);
}

}  // namespace

ImportPatch::ImportPatch(HMODULE module, const char* library, const char* function,
                         void* replacement)
    : slot_(FindImportSlot(module, library, function)) {
    if (slot_ == nullptr) {
        throw std::runtime_error(std::string("the module does not import ") + function);
    }
    original_ = *slot_;
    Store(slot_, replacement);
}

ImportPatch::~ImportPatch() { Store(slot_, original_); }

}  // namespace tollik::host
