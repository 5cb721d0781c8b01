#include "win32/options/shape_control.h"

#include <memory>

#include "win32/common/gdi.h"
#include "win32/common/twips.h"

namespace qfd {
namespace {

constexpr const char* kShapeClass = "frmOptionsShape";

struct Shape {
    std::uint32_t fill = 0xFFFFFF;
    std::uint32_t textColour = 0;
    std::string caption;
    HFONT font = nullptr;
    bool captioned = false;
    bool pressed = false;
};

Shape* ShapeOf(HWND window) {
    return reinterpret_cast<Shape*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void Paint(HWND window, const Shape& shape) {
    BufferedPaint paint(window);
    HDC dc = paint.Dc();
    RECT r = paint.Client();
    BrushHandle brush(CreateSolidBrush(ColourRef(shape.fill)));
    FillRect(dc, &r, brush.get());
    if (!shape.captioned) {
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColourRef(shape.textColour));
    const HGDIOBJ previous = shape.font ? SelectObject(dc, shape.font) : nullptr;
    DrawTextA(dc, shape.caption.c_str(), static_cast<int>(shape.caption.size()), &r,
              DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    if (previous) SelectObject(dc, previous);
}

LRESULT CALLBACK ShapeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            auto* shape = new Shape;
            shape->captioned = create->lpCreateParams != nullptr;
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(shape));
            break;
        }
        case WM_NCDESTROY:
            delete ShapeOf(window);
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            break;
        case WM_NCHITTEST: {
            // A plain shape lets clicks through to whatever lies below it.
            const Shape* shape = ShapeOf(window);
            if (shape && !shape->captioned) return HTTRANSPARENT;
            break;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (const Shape* shape = ShapeOf(window)) {
                Paint(window, *shape);
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
            if (Shape* shape = ShapeOf(window)) shape->pressed = true;
            return 0;
        case WM_LBUTTONUP: {
            Shape* shape = ShapeOf(window);
            if (!shape || !shape->pressed) return 0;
            shape->pressed = false;
            RECT client{};
            GetClientRect(window, &client);
            if (PtInRect(&client, MousePoint(lParam))) {
                const auto id = static_cast<WORD>(GetDlgCtrlID(window));
                SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                             reinterpret_cast<LPARAM>(window));
            }
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Redraw(HWND shape) { InvalidateRect(shape, nullptr, FALSE); }

}  // namespace

HWND CreateShape(HWND parent, int id, const RECT& rect, bool captioned) {
    static const bool registered = [] {
        WNDCLASSEXA type{};
        type.cbSize = sizeof type;
        type.lpfnWndProc = ShapeProc;
        type.hInstance = GetModuleHandleA(nullptr);
        type.hCursor = LoadCursor(nullptr, IDC_ARROW);
        type.lpszClassName = kShapeClass;
        return RegisterClassExA(&type) != 0;
    }();
    (void)registered;
    // The create parameter only says whether the shape carries a caption.
    static int captionMark = 1;
    return CreateWindowExA(0, kShapeClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left,
                           rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), captioned ? &captionMark : nullptr);
}

void SetShapeFill(HWND shape, std::uint32_t colour) {
    Shape* s = ShapeOf(shape);
    if (!s || s->fill == colour) return;
    s->fill = colour;
    Redraw(shape);
}

void SetShapeCaption(HWND shape, const std::string& ansiText) {
    Shape* s = ShapeOf(shape);
    if (!s) return;
    s->caption = ansiText;
    Redraw(shape);
}

void SetShapeTextColour(HWND shape, std::uint32_t colour) {
    Shape* s = ShapeOf(shape);
    if (!s) return;
    s->textColour = colour;
    Redraw(shape);
}

void SetShapeFont(HWND shape, HFONT font) {
    Shape* s = ShapeOf(shape);
    if (!s) return;
    s->font = font;
    Redraw(shape);
}

}  // namespace qfd
