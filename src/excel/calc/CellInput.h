#pragma once

#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatter2.hpp>

#include <rtl/ustring.hxx>

#include <map>

namespace tarvo::calc {

// Enters texts into the cells of one workbook the way Excel takes a text
// assigned to Range.Value: as if typed in the en-US locale. "  11" and "1.23"
// become numbers, " 7:15:42" a time shown as a time, "=A1*2" a formula, and
// anything the office does not read as a value ("C", a comment) stays text.
class CellInput {
  public:
    CellInput(css::uno::Reference<css::uno::XComponentContext> context,
              css::uno::Reference<css::util::XNumberFormatsSupplier> formats);

    // Talks to the office: call it inside CalcSession::run.
    void enter(const css::uno::Reference<css::table::XCell>& cell, const rtl::OUString& text);

  private:
    void formatLikeTyped(const css::uno::Reference<css::table::XCell>& cell,
                         const rtl::OUString& text);
    sal_Int32 shownFormat(sal_Int32 detected, const rtl::OUString& text);

    css::uno::Reference<css::uno::XComponentContext> context_;
    css::uno::Reference<css::util::XNumberFormatsSupplier> formats_;
    css::uno::Reference<css::util::XNumberFormatter2> formatter_;
    sal_Int32 standardKey_ = -1;
    // The format each detected one is shown in, asked for once.
    std::map<sal_Int32, sal_Int32> shownFormats_;
};

// Digits, blanks, one sign and a decimal point: the office reads such a text
// as a plain number that needs no format of its own.
bool isPlainNumber(const rtl::OUString& text);

}  // namespace tarvo::calc
