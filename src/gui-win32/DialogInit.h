#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tarvo::win32 {

// One entry of a dialog's initialisation data: a string that is added to a
// combo or list box when the dialog starts, so that the resource script, not
// the code, holds the items and their order.
struct DialogInitItem {
    int controlId = 0;
    unsigned message = 0;  // 0x403: add to a combo box, 0x401: add to a list box
    std::string text;
};

// The entries of a resource of type 240: records of a 16-bit control id, a
// 16-bit message, a 32-bit length and that many bytes of text (with its NUL),
// one after the other without padding, ended by a 0 id. A record that runs
// past the end ends the list.
std::vector<DialogInitItem> parseDialogInit(const std::uint8_t* data, std::size_t size);

// Adds the items of the dialog template's initialisation data to its controls.
void applyDialogInit(HINSTANCE instance, int templateId, HWND dialog);

}  // namespace tarvo::win32
