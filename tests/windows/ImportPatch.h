#pragma once
// Redirects one function that a loaded module imports, for as long as the
// patch lives: the stand-in host uses it to see the plug-in's message boxes
// (there is no display here) and to refuse its allocations on demand.

#include <windows.h>

#include <string>

namespace tollik::host {

class ImportPatch {
public:
    // Points `module`'s import of `function` from `library` at `replacement`.
    // Throws std::runtime_error when the module does not import it.
    ImportPatch(HMODULE module, const char* library, const char* function, void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

private:
    void** slot_;
    void* original_;
};

}  // namespace tollik::host
