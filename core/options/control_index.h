// Indexes of a form's control arrays and a menu's items, as a front end passes them to a presenter.
#pragma once

#include <cassert>
#include <cstddef>

namespace qfd {

// A front end only passes indexes of controls and items it built from the presenter's own model, so
// one out of range is a fault in that front end: debug builds stop on it, release builds ignore
// the event it came with.
inline bool ControlIndexInRange(std::ptrdiff_t index, std::size_t count) {
    const bool inRange = index >= 0 && static_cast<std::size_t>(index) < count;
    assert(inRange && "a control or menu index beyond what the presenter built");
    return inRange;
}

}  // namespace qfd
