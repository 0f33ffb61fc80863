// How long the Windows tests wait for work that starts 32-bit programs (the
// runner, the HSP runtime), sized for the machine: where 32-bit x86 code runs
// only under emulation, each start takes about a minute, and a fixed wait
// would fail a sound run or make a broken one wait for nothing.
#pragma once

namespace tollik::test {

// The wait where starts are quick: as long as it has always been.
inline constexpr unsigned kShortestWaitMilliseconds = 90000;

// The wait for `starts` 32-bit program starts, each measured on this machine
// at `startMilliseconds` (0: not measured): never shorter than the fixed
// one, and short of INFINITE however slow the machine.
unsigned WaitForStarts(unsigned starts, unsigned startMilliseconds);

// A start time as TOLLIK_X86_32_START_MS gives it; 0 for nothing or anything
// but a plain decimal number.
unsigned StartMillisecondsFrom(const char* text);

// WaitForStarts for this machine, from TOLLIK_X86_32_START_MS in the
// environment (cmake/wine-run.sh passes it on from scripts/setup.sh).
unsigned WaitForStartsHere(unsigned starts);

}  // namespace tollik::test
