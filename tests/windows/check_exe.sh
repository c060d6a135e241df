#!/usr/bin/env bash
# Inspects the Windows executable through its PE headers (objdump -p): a
# 32-bit (PE32, i386) program for the Windows GUI subsystem that imports
# DDRAW, GDI32, USER32 and KERNEL32, takes every API function the game calls
# from them, and imports nothing beyond those and the system's C runtime
# (msvcrt.dll): no libstdc++, libgcc or winpthread DLL has to travel with it.
#   check_exe.sh PROGRAM.exe
# OBJDUMP names the objdump that reads PE files (default: MinGW-w64's).
set -u
exe=${1:?usage: check_exe.sh PROGRAM.exe}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
fail() { echo "FAIL: $exe: $*"; exit 1; }

[ -f "$exe" ] || fail "no such file"
headers=$("$objdump" -p "$exe" 2>&1) || fail "$objdump cannot read it: $headers"

grep -q 'file format pei-i386$' <<<"$headers" || fail "not an i386 PE image: $(grep -m1 'file format' <<<"$headers")"
grep -Eq '^Magic[[:space:]]+010b[[:space:]]+\(PE32\)' <<<"$headers" || fail "not PE32 (32-bit)"
grep -Eq '^Subsystem[[:space:]]+00000002[[:space:]]+\(Windows GUI\)' <<<"$headers" ||
    fail "not a Windows GUI program: $(grep -m1 '^Subsystem' <<<"$headers")"

# "DLL Name: x" lines, lower-cased: Windows matches DLL names without case.
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]' | sort -u)
dll_list=$(paste -sd ' ' <<<"$dlls")
for needed in ddraw.dll gdi32.dll user32.dll kernel32.dll; do
    grep -qx "$needed" <<<"$dlls" || fail "does not import $needed (imports: $dll_list)"
done
for dll in $dlls; do
    case "$dll" in
        ddraw.dll | gdi32.dll | user32.dll | kernel32.dll | msvcrt.dll) ;;
        *) fail "imports $dll, which is not part of Windows" ;;
    esac
done

# Every API function the game calls comes from its Windows DLL: none was
# replaced by a copy linked into the program.
imports=$(awk '/DLL Name:/ { dll = tolower($3); next }
               dll && NF >= 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll ":" $3 }' <<<"$headers")
expected="ddraw.dll:DirectDrawCreate
gdi32.dll:CreatePalette gdi32.dll:GetPixel gdi32.dll:GetStockObject gdi32.dll:SetPixel gdi32.dll:StretchDIBits
kernel32.dll:GetTickCount kernel32.dll:OpenFile kernel32.dll:_llseek kernel32.dll:_lread kernel32.dll:_lclose
kernel32.dll:GlobalAlloc kernel32.dll:GlobalLock kernel32.dll:GlobalUnlock kernel32.dll:GlobalHandle
kernel32.dll:GlobalFree kernel32.dll:GlobalSize
user32.dll:RegisterClassA user32.dll:CreateWindowExA user32.dll:ShowWindow user32.dll:UpdateWindow
user32.dll:SetFocus user32.dll:ShowCursor user32.dll:LoadIconA user32.dll:LoadCursorA user32.dll:PeekMessageA
user32.dll:GetMessageA user32.dll:TranslateMessage user32.dll:DispatchMessageA user32.dll:DefWindowProcA
user32.dll:PostQuitMessage user32.dll:BeginPaint user32.dll:EndPaint user32.dll:MessageBoxA
user32.dll:GetActiveWindow user32.dll:GetAsyncKeyState user32.dll:wsprintfA"
for entry in $expected; do
    grep -qx "$entry" <<<"$imports" || fail "does not import ${entry#*:} from ${entry%%:*}"
done

echo "PASS: $exe: PE32 i386, Windows GUI, imports $dll_list"
