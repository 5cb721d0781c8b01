#pragma once

namespace qfd {

// Registers the shell's pictures (logo and program icon). The resources live in a static library,
// whose registration object the linker would otherwise drop.
void InitShellResources();

}  // namespace qfd
