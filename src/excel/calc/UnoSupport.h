#pragma once

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/uno/Any.hxx>
#include <com/sun/star/uno/Sequence.hxx>
#include <com/sun/star/uno/Type.hxx>
#include <rtl/ustring.hxx>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvo::calc {

// The program's text is UTF-8; a byte sequence that is not valid UTF-8 is read
// as Windows-1252, the code page its single-byte texts come from.
rtl::OUString toOUString(std::string_view text);
std::string toUtf8(const rtl::OUString& text);

// Every UNO type the client names or is handed, each asked for; see UnoTypes.cpp.
std::vector<css::uno::Type> clientTypes();
// Asks for every one of them, before the first thread that speaks UNO starts.
void resolveClientTypes();

// file:// URL of a path, made absolute first; empty when it cannot be formed.
rtl::OUString fileUrl(const std::filesystem::path& path);

inline css::uno::Sequence<css::beans::PropertyValue> properties(
    std::initializer_list<css::beans::PropertyValue> values) {
    return css::uno::Sequence<css::beans::PropertyValue>(values.begin(),
                                                         static_cast<sal_Int32>(values.size()));
}

inline css::beans::PropertyValue property(const char* name, css::uno::Any value) {
    css::beans::PropertyValue result;
    result.Name = rtl::OUString::createFromAscii(name);
    result.Value = std::move(value);
    return result;
}

}  // namespace tarvo::calc
