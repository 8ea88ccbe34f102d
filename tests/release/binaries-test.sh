#!/usr/bin/env bash
# binaries-test.sh DLL EXE: what the shipped files are made of, read from their PE headers.
# varokint.dll, which every hooked process maps: at most 16 KB, imports from kernel32,
# user32 and advapi32 only, no TLS directory, no static initialisers, no runtime entry point,
# no file opened and no named object made.
# varokint.exe: its import table names only libraries that Windows takes from its own
# directory (the known DLLs) or, for the common controls, from the side-by-side store its
# manifest names; none is looked for in the program's folder.
set -u
dll=$1 exe=$2
objdump=x86_64-w64-mingw32-objdump
status=0
fail() { echo "$*"; status=1; }

size=$(stat -c %s "$dll")
[ "$size" -le 16384 ] || fail "varokint.dll: $size bytes, more than 16384"

imports=$("$objdump" -p "$dll" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' | sort | tr '\n' ' ')
[ "$imports" = "ADVAPI32.DLL KERNEL32.DLL USER32.DLL " ] || fail "varokint.dll imports: $imports"

tls=$("$objdump" -p "$dll" | sed -n 's/^Entry 9 \([0-9a-f]*\) \([0-9a-f]*\) Thread Storage Directory.*/\1 \2/p')
[ "$tls" = "0000000000000000 00000000" ] || fail "varokint.dll has a TLS directory: $tls"

sections=$("$objdump" -h "$dll" | awk '$1 ~ /^[0-9]+$/ {print $2}' | tr '\n' ' ')
for section in .ctors .dtors .init_array .fini_array .tls .CRT; do
  case " $sections" in *" $section"*) fail "varokint.dll has section $section ($sections)";; esac
done

exports=$("$objdump" -p "$dll" | sed -n 's/^\s*\[ *[0-9]*\] \([A-Za-z_0-9]*\)$/\1/p' | sort | tr '\n' ' ')
[ "$exports" = "VRKeyboardProc VRMsgProc " ] || fail "varokint.dll exports: $exports"

# Nothing named that another process could create first, and no file of another program
# opened inside a key press: the library only reads the section in which the program
# publishes its main window, after checking who made it.
for function in CreateFileMappingA CreateFileMappingW CreateFileA CreateFileW CreateFile2 OpenFile \
                LoadLibraryA LoadLibraryW LoadLibraryExA LoadLibraryExW; do
  if "$objdump" -p "$dll" | grep -qw "$function"; then fail "varokint.dll imports $function"; fi
done

known="ADVAPI32.DLL COMDLG32.DLL GDI32.DLL KERNEL32.DLL MSVCRT.DLL OLE32.DLL SHELL32.DLL USER32.DLL"
for name in $("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z'); do
  case " $known COMCTL32.DLL " in *" $name "*) ;; *) fail "varokint.exe imports $name";; esac
done
if "$objdump" -p "$exe" | grep -qi 'DLL Name: comctl32'; then
  grep -q 'Microsoft.Windows.Common-Controls' "$(dirname "$0")/../../res/varokint.manifest" ||
    fail "varokint.exe imports comctl32 without naming it in its manifest"
fi

[ $status -eq 0 ] && echo "varokint.dll: $size bytes, imports $imports; varokint.exe imports only system libraries"
exit $status
