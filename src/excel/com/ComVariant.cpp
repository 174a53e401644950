#include "excel/com/ComVariant.h"

#include "excel/com/ComDispatch.h"

namespace tarvo::com {

std::wstring wideFromAnsi(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    const int written = MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), size);
    wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return wide;
}

std::string ansiFromWide(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int needed =
        WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(needed > 0 ? static_cast<std::size_t>(needed) : 0, '\0');
    if (needed > 0) {
        WideCharToMultiByte(CP_ACP, 0, text.data(), size, narrow.data(), needed, nullptr, nullptr);
    }
    return narrow;
}

bool toVariant(const AutomationValue& value, VARIANT& out, const DispatchExport& exportObject) {
    switch (value.kind()) {
        case AutomationKind::Empty:
            V_VT(&out) = VT_EMPTY;
            return true;
        case AutomationKind::Error:
            V_VT(&out) = VT_ERROR;
            V_ERROR(&out) = static_cast<SCODE>(value.errorCode());
            return true;
        case AutomationKind::Int16:
            V_VT(&out) = VT_I2;
            V_I2(&out) = value.asInt16();
            return true;
        case AutomationKind::Int32:
            V_VT(&out) = VT_I4;
            V_I4(&out) = value.asInt32();
            return true;
        case AutomationKind::Double:
            V_VT(&out) = VT_R8;
            V_R8(&out) = value.asReal();
            return true;
        case AutomationKind::Bool:
            V_VT(&out) = VT_BOOL;
            V_BOOL(&out) = value.asBool() ? VARIANT_TRUE : VARIANT_FALSE;
            return true;
        case AutomationKind::String: {
            const std::wstring wide = wideFromAnsi(value.asString());
            BSTR text = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
            if (text == nullptr) {
                return false;
            }
            V_VT(&out) = VT_BSTR;
            V_BSTR(&out) = text;
            return true;
        }
        case AutomationKind::Object: {
            IDispatch* object = exportObject ? exportObject(value.asObject()) : nullptr;
            if (object == nullptr && !value.asObject().empty()) {
                return false;
            }
            V_VT(&out) = VT_DISPATCH;
            V_DISPATCH(&out) = object;
            return true;
        }
    }
    return false;
}

namespace {

AutomationValue objectFromUnknown(IUnknown* unknown) {
    IDispatch* object = nullptr;
    if (unknown != nullptr &&
        FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object)))) {
        object = nullptr;
    }
    return AutomationValue::object(adoptDispatch(object));
}

}  // namespace

std::optional<AutomationValue> fromVariant(const VARIANT& value) {
    switch (V_VT(&value)) {
        case VT_EMPTY:
        case VT_NULL:
            return AutomationValue();
        case VT_ERROR:
            return AutomationValue::error(static_cast<std::uint32_t>(V_ERROR(&value)));
        case VT_I2:
            return AutomationValue::int16(V_I2(&value));
        case VT_I4:
            return AutomationValue::int32(V_I4(&value));
        case VT_R8:
            return AutomationValue::real(V_R8(&value));
        case VT_BOOL:
            return AutomationValue::boolean(V_BOOL(&value) != VARIANT_FALSE);
        case VT_BSTR: {
            BSTR text = V_BSTR(&value);
            return AutomationValue::string(
                text == nullptr ? std::string() : ansiFromWide({text, SysStringLen(text)}));
        }
        case VT_DISPATCH:
            if (V_DISPATCH(&value) != nullptr) {
                V_DISPATCH(&value)->AddRef();
            }
            return AutomationValue::object(adoptDispatch(V_DISPATCH(&value)));
        case VT_UNKNOWN:
            return objectFromUnknown(V_UNKNOWN(&value));
        default:
            return std::nullopt;
    }
}

}  // namespace tarvo::com
