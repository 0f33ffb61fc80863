// Stands in for HSP's iconins.exe in the runner's tests: writes the command
// line it was given, as UTF-8, to "iconins-args.txt" beside itself.

#include <windows.h>

#include <string>

#include "EditorReport.h"
#include "StandInHost.h"

int main() {
    using namespace tollik::host;
    return WriteBytes(ProgramFolder() + L"iconins-args.txt", ToUtf8(::GetCommandLineW())) ? 0 : 1;
}
