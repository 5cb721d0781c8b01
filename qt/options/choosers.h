#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "core/options/options_view.h"

namespace qfd {

// The options dialog's colour chooser and file-open dialog go through here, so tests can answer
// them as they answer message boxes.

// The colour chosen, or initial when the user cancels. Colours are 0x00BBGGRR.
std::uint32_t ShowColourChooser(QWidget* parent, std::uint32_t initial, const std::string& title);

// The full name of the chosen file as the file system's bytes, in the platform's own separators;
// empty when the user cancels. The chosen file's folder exists; the file itself need not.
std::string ShowFileChooser(QWidget* parent, const FileChooserRequest& request);

// Replace the real choosers (nullptr restores them). A handler runs where the chooser would be
// shown, inside the same call.
using ColourChooserHandler =
    std::function<std::uint32_t(std::uint32_t initial, const std::string& title)>;
using FileChooserHandler = std::function<std::string(const FileChooserRequest& request)>;
void SetColourChooserHandler(ColourChooserHandler handler);
void SetFileChooserHandler(FileChooserHandler handler);

}  // namespace qfd
