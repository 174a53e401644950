#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XTopWindow2.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/document/XDocumentEventBroadcaster.hpp>
#include <com/sun/star/document/XDocumentEventListener.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDesktop.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XEventListener.hpp>
#include <com/sun/star/lang/XTypeProvider.hpp>
#include <com/sun/star/sheet/XCellAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/uno/XWeak.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <com/sun/star/util/XNumberFormatTypes.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <com/sun/star/util/XNumberFormatter2.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include "excel/calc/UnoSupport.h"

namespace tarvo::calc {

namespace {

template <typename... Types>
void resolve() {
    (cppu::UnoType<Types>::get(), ...);
}

}  // namespace

// The generated getter of an interface type finishes its first call behind a
// flag it reads without a lock: two threads asking for the same type for the
// first time race on it. Asked here once, every later call only reads.
void resolveClientTypes() {
    namespace awt = css::awt;
    namespace container = css::container;
    namespace document = css::document;
    namespace frame = css::frame;
    namespace sheet = css::sheet;
    namespace util = css::util;
    resolve<css::uno::XInterface, css::uno::XWeak, css::lang::XTypeProvider,
            css::uno::XComponentContext, css::bridge::XUnoUrlResolver, css::lang::XComponent,
            css::lang::XEventListener, css::beans::XPropertySet>();
    resolve<frame::XDesktop, frame::XDesktop2, frame::XComponentLoader, frame::XController,
            frame::XFrame, frame::XModel, frame::XStorable, awt::XTopWindow, awt::XTopWindow2,
            awt::XWindow, css::view::XSelectionSupplier, css::text::XText>();
    resolve<container::XEnumeration, container::XEnumerationAccess, container::XIndexAccess,
            container::XNamed, document::XDocumentEventBroadcaster,
            document::XDocumentEventListener>();
    resolve<sheet::XCellAddressable, sheet::XCellRangeAddressable, sheet::XSpreadsheet,
            sheet::XSpreadsheetDocument, sheet::XSpreadsheetView, sheet::XSpreadsheets,
            css::table::XCell, css::table::XCellRange>();
    resolve<util::XCloseable, util::XModifiable, util::XNumberFormatTypes, util::XNumberFormats,
            util::XNumberFormatsSupplier, util::XNumberFormatter2>();
}

}  // namespace tarvo::calc
