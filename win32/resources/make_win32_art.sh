#!/bin/sh
# Turns the shared artwork into the forms a Win32 resource script takes: the logo as a 24-bit
# bitmap on the about panel's peach (GDI draws no PNG), and the icon with 16, 32 and 48 pixel
# images as plain bitmaps, each in 256 colours and in 32-bit colour, which every Windows reads.
# Needs ImageMagick. Run from anywhere: sh win32/resources/make_win32_art.sh
set -eu
here=$(cd "$(dirname "$0")" && pwd)
art=$here/../../resources
convert "$art/logo.png" -background '#FFE0C0' -flatten -type TrueColor BMP3:"$here/logo.bmp"
convert \
    \( "$art/icons/qfd-16.png" -channel A -threshold 50% +channel -colors 256 -type PaletteAlpha \) \
    \( "$art/icons/qfd-32.png" -channel A -threshold 50% +channel -colors 256 -type PaletteAlpha \) \
    \( "$art/icons/qfd-48.png" -channel A -threshold 50% +channel -colors 256 -type PaletteAlpha \) \
    "$art/icons/qfd-16.png" "$art/icons/qfd-32.png" "$art/icons/qfd-48.png" \
    "$here/qfd.ico"
