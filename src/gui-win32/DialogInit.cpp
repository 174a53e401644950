#include "gui-win32/DialogInit.h"

#include <cstring>

namespace tarvo::win32 {

namespace {

constexpr unsigned kAddComboString = 0x403;
constexpr unsigned kAddListString = 0x401;
constexpr WORD kDialogInitType = 240;

template <typename T>
T readLittle(const std::uint8_t* at) {
    T value{};
    std::memcpy(&value, at, sizeof value);
    return value;
}

}  // namespace

std::vector<DialogInitItem> parseDialogInit(const std::uint8_t* data, std::size_t size) {
    std::vector<DialogInitItem> items;
    std::size_t at = 0;
    while (at + 2 <= size) {
        const auto controlId = readLittle<std::uint16_t>(data + at);
        if (controlId == 0 || at + 8 > size) {
            break;
        }
        const auto message = readLittle<std::uint16_t>(data + at + 2);
        const auto length = readLittle<std::uint32_t>(data + at + 4);
        at += 8;
        if (length > size - at) {
            break;
        }
        const char* text = reinterpret_cast<const char*>(data + at);
        items.push_back({controlId, message, std::string(text, strnlen(text, length))});
        at += length;
    }
    return items;
}

void applyDialogInit(HINSTANCE instance, int templateId, HWND dialog) {
    HRSRC found =
        FindResourceA(instance, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(kDialogInitType));
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return;
    }
    for (const DialogInitItem& item :
         parseDialogInit(static_cast<const std::uint8_t*>(data), SizeofResource(instance, found))) {
        const UINT message = item.message == kAddComboString  ? CB_ADDSTRING
                             : item.message == kAddListString ? LB_ADDSTRING
                                                              : 0;
        if (message != 0) {
            SendDlgItemMessageA(dialog, item.controlId, message, 0,
                                reinterpret_cast<LPARAM>(item.text.c_str()));
        }
    }
}

}  // namespace tarvo::win32
