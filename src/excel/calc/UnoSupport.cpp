#include "excel/calc/UnoSupport.h"

#include <rtl/textcvt.h>
#include <rtl/textenc.h>
#include <osl/file.hxx>

namespace tarvo::calc {

rtl::OUString toOUString(std::string_view text) {
    rtl::OUString result;
    const sal_uInt32 strict = RTL_TEXTTOUNICODE_FLAGS_UNDEFINED_ERROR |
                              RTL_TEXTTOUNICODE_FLAGS_MBUNDEFINED_ERROR |
                              RTL_TEXTTOUNICODE_FLAGS_INVALID_ERROR;
    if (rtl_convertStringToUString(&result.pData, text.data(), static_cast<sal_Int32>(text.size()),
                                   RTL_TEXTENCODING_UTF8, strict)) {
        return result;
    }
    return rtl::OUString(text.data(), static_cast<sal_Int32>(text.size()),
                         RTL_TEXTENCODING_MS_1252);
}

std::string toUtf8(const rtl::OUString& text) {
    const rtl::OString bytes = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
    return std::string(bytes.getStr(), static_cast<std::size_t>(bytes.getLength()));
}

rtl::OUString fileUrl(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) {
        return {};
    }
    rtl::OUString url;
    if (osl::FileBase::getFileURLFromSystemPath(toOUString(absolute.string()), url) !=
        osl::FileBase::E_None) {
        return {};
    }
    return url;
}

}  // namespace tarvo::calc
