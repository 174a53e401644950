#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "excel/AutomationValue.h"

namespace tarvo::com {

// The program's 8-bit text reaches it through the A functions of Windows (the
// edits, the file dialogs, the settings), so it is in the system's ANSI code
// page: on a 1251 system a comment typed in Cyrillic is 1251 bytes, and Excel
// must receive it as Cyrillic.
std::wstring wideFromAnsi(std::string_view text);
std::string ansiFromWide(std::wstring_view text);

// A VARIANT that is initialised on creation and cleared when it goes.
class Variant {
  public:
    Variant() { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* get() { return &value_; }
    const VARIANT& operator*() const { return value_; }

  private:
    VARIANT value_;
};

// How an object reference is handed to COM: an IDispatch with a reference for
// the VARIANT, or null when the object cannot be passed.
using DispatchExport = std::function<IDispatch*(const AutomationObject&)>;

// Fills an initialised VARIANT; false when the value cannot travel.
bool toVariant(const AutomationValue& value, VARIANT& out, const DispatchExport& exportObject);

// The kinds a server may answer; nullopt for any other.
std::optional<AutomationValue> fromVariant(const VARIANT& value);

}  // namespace tarvo::com
