#include "win32/common/gdi.h"

#include <climits>
#include <cstring>

#include "win32/common/twips.h"

namespace qfd {

int ScreenDpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
        if (screen) ReleaseDC(nullptr, screen);
        return UsableDpi(value);
    }();
    return dpi;
}

FontHandle CreateDesignFont(const FontSpec& spec) {
    LOGFONTA font{};
    font.lfHeight = FontHeight(spec.points, ScreenDpi());
    font.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
    font.lfUnderline = spec.underline ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    strncpy(font.lfFaceName, spec.face, LF_FACESIZE - 1);
    return FontHandle(CreateFontIndirectA(&font));
}

SIZE MeasureLine(HFONT font, const std::string& text) {
    SIZE size{0, 0};
    HDC dc = GetDC(nullptr);
    if (!dc) return size;
    const HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int length = text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size());
    if (length > 0) GetTextExtentPoint32A(dc, text.data(), length, &size);
    size.cy = metrics.tmHeight;
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size;
}

BufferedPaint::BufferedPaint(HWND window) : window_(window) {
    BeginPaint(window_, &paint_);
    GetClientRect(window_, &client_);
    memory_ = CreateCompatibleDC(paint_.hdc);
    bitmap_ = memory_ ? CreateCompatibleBitmap(paint_.hdc, client_.right, client_.bottom) : nullptr;
    if (!bitmap_) {
        // Out of memory for the buffer: paint straight onto the window.
        if (memory_) DeleteDC(memory_);
        memory_ = nullptr;
        return;
    }
    previous_ = SelectObject(memory_, bitmap_);
}

BufferedPaint::~BufferedPaint() {
    if (memory_) {
        BitBlt(paint_.hdc, 0, 0, client_.right, client_.bottom, memory_, 0, 0, SRCCOPY);
        SelectObject(memory_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(memory_);
    }
    EndPaint(window_, &paint_);
}

}  // namespace qfd
