#!/usr/bin/env bash
# Makes both release archives and checks each as a user meets it: unpacked into an empty folder it
# holds exactly the portable installation folder, its programs stripped and needing no library
# that a plain system lacks, and the programs start: qfd to its splash and tray icon on a virtual
# X server, taking an alert that the archive's qfdctl sends; qfd.exe to its splash and qfdctl.exe
# under Wine.
# The Linux programs are built here (the package preset); the Windows ones must have been built
# with the win32 preset already, as the Windows stage of scripts/test.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

version=$(sed -n 's/^project(qfdetect VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
linux=qfdetect-$version-linux-x86_64
windows=qfdetect-$version-windows-x86_64

if [[ ! -f build/win32/build.ninja ]]; then
    echo "no Windows build: run cmake --preset win32 first" >&2
    exit 1
fi
cmake --preset package >/dev/null
cmake --build --preset package -j 2
cpack --preset package >/dev/null
cmake --build --preset win32 -j 2 --target qfd qfdctl
cpack --preset win32 >/dev/null

source tests/e2e/lib/session.sh
source tests/e2e/lib/wine.sh

# Unpacks the archive into a folder of its own and checks that it holds one folder named as the
# archive and, in it, exactly the files given. Prints the unpacked installation folder.
unpack() {  # unpack ARCHIVE FILE...
    local archive=$1 name into
    shift
    name=$(basename "$archive" .tar.gz)
    name=${name%.zip}
    into=$(mktemp -d "$E2E_TMP/unpacked.XXXXXX")
    (cd "$into" && cmake -E tar xf "$root/$archive") || e2e_fail "$archive does not unpack"
    diff <(cd "$into" && find . -mindepth 1 | sort) \
        <(printf './%s\n' "$name" "${@/#/$name/}" | sort) >&2 ||
        e2e_fail "$archive does not hold exactly $name/ with $* (< found, > expected)"
    echo "$into/$name"
}

# Linux: programs stripped, every library they load found on this system.
dir=$(unpack "build/package/$linux.tar.gz" LICENSE README.md qfd qfd_audio.so qfdctl)
for file in qfd qfd_audio.so qfdctl; do
    if readelf -S "$dir/$file" | grep -q '\.symtab'; then e2e_fail "$file is not stripped"; fi
    if ldd "$dir/$file" | grep 'not found' >&2; then e2e_fail "$file needs a missing library"; fi
done

# Windows: the runtime is linked in, so a clean Windows needs no DLL beside the programs.
wdir=$(unpack "build/win32/$windows.zip" LICENSE README.md qfd.exe qfdctl.exe)
for file in qfd.exe qfdctl.exe; do
    if x86_64-w64-mingw32-objdump -h "$wdir/$file" | grep -q '\.debug_'; then
        e2e_fail "$file is not stripped"
    fi
    if x86_64-w64-mingw32-objdump -p "$wdir/$file" |
        awk '/DLL Name:/ {$3 = tolower($3); sub(/\.dll$/, "", $3); print $3}' |
        grep -vxE 'kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|winmm|msvcrt' >&2; then
        e2e_fail "$file needs a DLL that Windows does not bring"
    fi
done

QFD_BIN=$dir/qfd QFDCTL_BIN=$dir/qfdctl QFD_WIN32_EXE=$wdir/qfd.exe
e2e_require

e2e_start_session
e2e_start_installation --wait splash "$dir"
qfd=$E2E_LAST_PID
e2e_log "qfd shows its splash"
e2e_wait_for 10 e2e_tray_icon "$qfd" || e2e_fail "the icon of qfd did not dock into the tray"
"$dir/qfdctl" send "$dir" || e2e_fail "qfdctl send failed"
e2e_wait_for 10 e2e_has_window "$qfd" "$(e2e_screen_size)" || e2e_fail "qfdctl's alert did not show"
e2e_log "qfd shows the alert qfdctl sent"

e2e_start_wine
usage=$(wine "$wdir/qfdctl.exe" --help) || e2e_fail "qfdctl.exe --help failed"
grep -q '^  qfdctl send' <<<"$usage" || e2e_fail "qfdctl.exe --help shows no usage"
e2e_start_wine_qfd "$wdir"
e2e_wait_for 30 e2e_splash_visible "$E2E_LAST_PID" || e2e_fail "qfd.exe shows no splash"
e2e_log "qfd.exe shows its splash; both archives pass"
