#pragma once

#include <windows.h>
#include <windowsx.h>

#include <memory>
#include <optional>
#include <string>
#include <type_traits>

namespace qfd {

// GDI objects that delete themselves.
struct GdiObjectDeleter {
    void operator()(void* object) const {
        if (object) DeleteObject(static_cast<HGDIOBJ>(object));
    }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using BrushHandle = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using BitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;

// Dots per inch of the screen, the same for every window of a system-dpi-aware program.
int ScreenDpi();

struct FontSpec {
    const char* face = "Microsoft Sans Serif";
    double points = 8.25;
    bool bold = false;
    bool underline = false;
};

// A font at the screen's dpi. Where the face is missing the system maps it to the closest one it
// has, keeping size and weight.
FontHandle CreateDesignFont(const FontSpec& spec);

// The extent of one line of text in the font, in pixels: the advance of the text and the font's
// full line height.
SIZE MeasureLine(HFONT font, const std::string& text);

// Paints through a memory bitmap, so that a window repainted twice a second never flickers.
class BufferedPaint {
  public:
    explicit BufferedPaint(HWND window);
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;
    ~BufferedPaint();

    HDC Dc() const { return memory_ ? memory_ : paint_.hdc; }
    const RECT& Client() const { return client_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    RECT client_{};
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// Where the mouse was for a mouse message, in client coordinates: negative beyond the left or top
// edge while the mouse is captured, so never read as unsigned words.
inline POINT MousePoint(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

// How a window painted whole through BufferedPaint answers the paint messages: WM_PAINT paints,
// and the background is never erased first, which would show as a flicker. Nothing for any other
// message.
template <class PaintWindow>
std::optional<LRESULT> AnswerPaintMessage(UINT message, PaintWindow paint) {
    if (message == WM_ERASEBKGND) return 1;
    if (message != WM_PAINT) return std::nullopt;
    paint();
    return 0;
}

}  // namespace qfd
