#pragma once
// What must hold after any run of the command, whatever failed under it:
// the host is left as it was found, nothing is leaked or written beyond the
// script, and the user sees at most one message, the one its step owns.
// Shared by the fault, allocation and misbehaving-host sweeps.

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "InstalledEditor.h"

namespace tollik::testing {

// A world the command runs in, and what it may change there.
struct Scenario {
    std::string name;
    std::function<void(InstalledEditor&)> arrange;
    std::u16string settingsFile;  // the plug-in settings file read, empty when absent
    std::u16string scriptFolder;  // where the script goes when nothing fails
};

// The scenarios every sweep runs: saved and untitled documents, settings
// beside the host, portable, per-user and packaged, with and without a
// settings file, a folder still to be made, an older system, code page 932.
const std::vector<Scenario>& CommandScenarios();

// The messages a run can end with, by the step that owns them.
enum class Ending {
    Launched,        // no message; the runner was asked to start
    Silent,          // no message, nothing started: the host could not be confirmed
    SettingsOpen,    // the settings file could not be opened
    RelativeFolder,  // no per-user folder, and no relative one could be made
    ScriptFolder,    // the script's folder could not be made
    ScriptWrite,     // the script file could not be written
    PathLimit,       // the script path is too long
    OutOfMemory,     // memory ran out anywhere
    Unknown,         // anything else: a fault in itself
};
std::string Describe(Ending ending);

// A fresh world for `scenario`, with what it looked like before the run.
struct SweepRun {
    explicit SweepRun(const Scenario& scenario);
    void OnCommand() { editor.OnCommand(); }

    InstalledEditor editor;
    std::map<std::u16string, std::string> before;
    std::uint32_t errorModeBefore;
};

// How the run ended, read from what the user saw and what was started.
Ending EndingOf(const SweepRun& run);

// Everything that went wrong with the host, the handles, the error mode,
// the files written and the message shown; empty when all is well.
// `paintingLeftHeld` excuses held painting when the resume itself failed.
std::vector<std::string> BrokenInvariants(const SweepRun& run, bool paintingLeftHeld = false);

}  // namespace tollik::testing
