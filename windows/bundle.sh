#!/usr/bin/env bash
# Puts the Windows programs and every DLL they load into one folder and zips it:
#   windows/bundle.sh QT_PREFIX FOLDER ZIP PROGRAM...
# The programs (and texts, *.txt, written with Windows line ends) are copied into FOLDER under
# their own names, or under the name after "="
# ("build/x86_64/tervani-host.exe=tervani-host-x64.exe"). Qt's windows platform plugin, its
# minimal one (the scenario tool runs headless with it) and its styles go beside them in
# platforms/ and styles/, Qt's German texts in translations/, Qt's licence and source note in
# Qt-Lizenz/. The DLLs
# are found from the imports of everything in the folder, again and again until nothing new is
# needed: Qt's from QT_PREFIX/bin, MinGW's runtime from the cross compilers' folders; what is
# found nowhere is the system's own. Fails when an import of a program is neither found nor a
# Windows system DLL.
set -euo pipefail
qt=$1
folder=$2
zip=$(realpath -m "$3")
shift 3

objdump=x86_64-w64-mingw32-objdump
search=(
    "$qt/bin"
    /usr/lib/gcc/x86_64-w64-mingw32/*-posix
    /usr/x86_64-w64-mingw32/lib
)
# The system's own DLLs, which Windows has and nobody ships.
system_dll='^(advapi32|api-ms-win-.*|bcrypt|comctl32|comdlg32|crypt32|d3d11|d3d9|dwmapi|dwrite|dxgi|gdi32|imm32|kernel32|mpr|msvcrt|netapi32|ntdll|ole32|oleaut32|setupapi|shell32|shlwapi|user32|userenv|uuid|uxtheme|version|winmm|winspool|ws2_32|wtsapi32|authz|cfgmgr32|shcore|ucrtbase|vcruntime140)\.dll$'

rm -rf "$folder"
mkdir -p "$folder/platforms" "$folder/styles"
for program in "$@"; do
    source=${program%%=*}
    target=${program#*=}
    [ "$target" = "$program" ] && target=$(basename "$source")
    mkdir -p "$folder/$(dirname "$target")"
    if [[ $target == *.txt ]]; then
        sed 's/$/\r/' "$source" >"$folder/$target"
    else
        cp "$source" "$folder/$target"
    fi
done
cp "$qt/plugins/platforms/qwindows.dll" "$qt/plugins/platforms/qminimal.dll" "$folder/platforms/"
cp "$qt"/plugins/styles/*.dll "$folder/styles/" 2>/dev/null || true
# Qt's own German texts (the report's "Details" button, the fields' context menus), from
# Debian's qt6-translations-l10n: the same files on every platform. Qt for Windows looks for
# them in translations/ beside its DLLs.
mkdir -p "$folder/translations"
cp /usr/share/qt6/translations/qtbase_de.qm "$folder/translations/"
mkdir -p "$folder/Qt-Lizenz"
for text in "$qt"/share/tervani/*.txt; do
    sed 's/$/\r/' "$text" >"$folder/Qt-Lizenz/$(basename "$text")"
done

while :; do
    while IFS= read -r file; do
        "$objdump" -p "$file" 2>/dev/null | sed -n 's/^\s*DLL Name: //p'
    done < <(find "$folder" -name '*.exe' -o -name '*.dll') \
        | sort -u | while IFS= read -r dll; do
        lower=$(echo "$dll" | tr 'A-Z' 'a-z')
        [ -e "$folder/$dll" ] && continue
        found=""
        for dir in "${search[@]}"; do
            [ -f "$dir/$dll" ] && found="$dir/$dll" && break
        done
        if [ -n "$found" ]; then
            cp "$found" "$folder/$dll"
            echo "$dll"
        elif ! [[ $lower =~ $system_dll ]]; then
            echo "bundle.sh: $dll is needed but found nowhere" >&2
            exit 1
        fi
    done > "$folder/.added"
    [ -s "$folder/.added" ] || break
done
rm -f "$folder/.added"

# Without their debugging information, which a user's machine has no use for.
find "$folder" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

rm -f "$zip"
(cd "$(dirname "$folder")" && zip -qr9 "$zip" "$(basename "$folder")")
echo "$zip"
