#include "excel/calc/CellInput.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/i18n/NumberFormatIndex.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/util/NumberFormat.hpp>
#include <com/sun/star/util/NumberFormatter.hpp>
#include <com/sun/star/util/XNumberFormatTypes.hpp>

namespace tarvo::calc {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace {

css::lang::Locale englishUs() {
    return css::lang::Locale("en", "US", "");
}

}  // namespace

bool isPlainNumber(const rtl::OUString& text) {
    for (sal_Int32 i = 0; i < text.getLength(); ++i) {
        const sal_Unicode c = text[i];
        if (!(c >= '0' && c <= '9') && c != ' ' && c != '.' && c != '-' && c != '+') {
            return false;
        }
    }
    return true;
}

CellInput::CellInput(Reference<css::uno::XComponentContext> context,
                     Reference<css::util::XNumberFormatsSupplier> formats)
    : context_(std::move(context)), formats_(std::move(formats)) {}

// The office's formula input reads numbers in en-US whatever its own locale,
// as Excel's Value does, but leaves the cell in the standard format: a time
// would show as a fraction of a day.
void CellInput::enter(const Reference<css::table::XCell>& cell, const rtl::OUString& text) {
    cell->setFormula(text);
    if (isPlainNumber(text) || cell->getType() != css::table::CellContentType_VALUE) {
        return;
    }
    formatLikeTyped(cell, text);
}

void CellInput::formatLikeTyped(const Reference<css::table::XCell>& cell,
                                const rtl::OUString& text) {
    if (!formatter_.is()) {
        formatter_ = css::util::NumberFormatter::create(context_);
        formatter_->attachNumberFormatsSupplier(formats_);
        Reference<css::util::XNumberFormatTypes> types(formats_->getNumberFormats(),
                                                       UNO_QUERY_THROW);
        standardKey_ = types->getStandardIndex(englishUs());
    }
    const sal_Int32 detected = formatter_->detectNumberFormat(standardKey_, text);
    if (detected == standardKey_) {
        return;
    }
    auto known = shownFormats_.find(detected);
    if (known == shownFormats_.end()) {
        known = shownFormats_.emplace(detected, shownFormat(detected, text)).first;
    }
    Reference<css::beans::XPropertySet>(cell, UNO_QUERY_THROW)
        ->setPropertyValue("NumberFormat", Any(known->second));
}

// The office's en-US time has AM/PM; Excel shows a time typed without one on
// the 24-hour clock, the way the reading table writes it.
sal_Int32 CellInput::shownFormat(sal_Int32 detected, const rtl::OUString& text) {
    sal_Int16 type = 0;
    formats_->getNumberFormats()->getByKey(detected)->getPropertyValue("Type") >>= type;
    const bool twelveHour = text.indexOf('M') >= 0 || text.indexOf('m') >= 0;
    if (type != css::util::NumberFormat::TIME || twelveHour) {
        return detected;
    }
    Reference<css::util::XNumberFormatTypes> types(formats_->getNumberFormats(), UNO_QUERY_THROW);
    return types->getFormatIndex(css::i18n::NumberFormatIndex::TIME_HHMMSS, englishUs());
}

}  // namespace tarvo::calc
