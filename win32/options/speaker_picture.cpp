#include "win32/options/speaker_picture.h"

#include "win32/common/gdi.h"
#include "win32/common/twips.h"

namespace qfd {

HBITMAP CreateSpeakerPicture(int dpi) {
    const int side = TwipsToPixels(21 * 15, dpi);
    // Drawn on a 21-unit grid and scaled to the picture's side.
    const auto at = [side](double units) { return static_cast<int>(units * side / 21.0 + 0.5); };

    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, side, side);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    const HGDIOBJ previousBitmap = SelectObject(dc, bitmap);

    RECT all{0, 0, side, side};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    const COLORREF ink = RGB(32, 32, 32);
    BrushHandle brush(CreateSolidBrush(ink));
    HPEN pen = CreatePen(PS_SOLID, at(1.4) > 0 ? at(1.4) : 1, ink);
    const HGDIOBJ previousPen = SelectObject(dc, pen);
    const HGDIOBJ previousBrush = SelectObject(dc, brush.get());

    // Magnet and cone.
    const POINT speaker[] = {{at(2.5), at(8)},     {at(6.5), at(8)},  {at(11.5), at(3.5)},
                             {at(11.5), at(17.5)}, {at(6.5), at(13)}, {at(2.5), at(13)}};
    Polygon(dc, speaker, 6);
    // Two waves to the right of the cone.
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Arc(dc, at(9.5), at(6.5), at(15.5), at(14.5), at(15.5), at(16), at(15.5), at(5));
    Arc(dc, at(9.5), at(3.5), at(19.5), at(17.5), at(19.5), at(19), at(19.5), at(2));

    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
    DeleteObject(pen);
    SelectObject(dc, previousBitmap);
    DeleteDC(dc);
    return bitmap;
}

}  // namespace qfd
