#!/bin/sh
# Checks what Tollik.dll shows the world: a 64-bit DLL that exports exactly
# the host's eight functions by name and imports only from system DLLs that
# every Windows has (no C++ runtime, libgcc or winpthread beside it).
#   check_dll.sh OBJDUMP DLL
set -eu
objdump=$1
dll=$2
status=0
dump=$("$objdump" -p "$dll")

case $(basename "$dll") in
  Tollik.dll) ;;
  *) echo "FAIL: the library is named $(basename "$dll"), not Tollik.dll"; status=1 ;;
esac

if ! printf '%s\n' "$dump" | grep -q 'file format pei-x86-64'; then
  echo "FAIL: not a 64-bit PE image"; status=1
fi

imports=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "imports: $(echo $imports)"
for name in $imports; do
  case $name in
    kernel32.dll|user32.dll|shell32.dll|advapi32.dll|msvcrt.dll|ntdll.dll) ;;
    *) echo "FAIL: imports from $name, which not every Windows has"; status=1 ;;
  esac
done

# Functions newer than Windows 7 are looked up when needed, never imported:
# an import the system lacks would stop the library from loading at all.
for name in GetCurrentPackageFullName GetDiskFreeSpaceExW; do
  if printf '%s\n' "$dump" | grep -q "[[:space:]]$name\$"; then
    echo "FAIL: imports $name instead of looking it up"; status=1
  fi
done

# The export name table: lines like "	[   0] GetIconDarkID".
exports=$(printf '%s\n' "$dump" |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort)
expected=$(printf '%s\n' GetIconDarkID GetIconID GetMenuTextID GetStatusMessageID \
  OnCommand OnEvents PluginProc QueryStatus | sort)
echo "exports: $(echo $exports)"
if [ "$exports" != "$expected" ]; then
  echo "FAIL: exports differ from the host's eight"; status=1
fi

[ $status -eq 0 ] && echo "PASS: Tollik.dll exports and imports"
exit $status
