#pragma once

#include <QPixmap>
#include <QString>

namespace qfd {

// Registers the shell's pictures (logo and program icon). The resources live in a static library,
// whose registration object the linker would otherwise drop.
void InitShellResources();

// One of the shell's PNG pictures. Read with the built-in decoder only: letting Qt guess the
// format would load every image-format plugin (and their libraries) to ask each of them.
QPixmap LoadShellPicture(const QString& path);

}  // namespace qfd
