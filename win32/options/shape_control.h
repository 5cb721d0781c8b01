#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace qfd {

// A filled rectangle with a thin black border (the swatches and shpPreview), or, with a caption,
// a label drawn on such a fill without border (lblPreview, which stands on shpPreview and shows
// its colour behind the letters). A click on a captioned shape reaches the parent as BN_CLICKED
// of its id; a plain shape takes no clicks.
HWND CreateShape(HWND parent, int id, const RECT& rect, bool captioned);
void SetShapeFill(HWND shape, std::uint32_t colour);
void SetShapeCaption(HWND shape, const std::string& ansiText);
void SetShapeTextColour(HWND shape, std::uint32_t colour);
void SetShapeFont(HWND shape, HFONT font);

}  // namespace qfd
