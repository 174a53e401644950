#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XTopWindow2.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/ConnectionSetupException.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/document/DocumentEvent.hpp>
#include <com/sun/star/document/XDocumentEventBroadcaster.hpp>
#include <com/sun/star/document/XDocumentEventListener.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDesktop.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/EventObject.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XEventListener.hpp>
#include <com/sun/star/lang/XTypeProvider.hpp>
#include <com/sun/star/sheet/XCellAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/uno/RuntimeException.hpp>
#include <com/sun/star/uno/Sequence.hxx>
#include <com/sun/star/uno/Type.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/uno/XWeak.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <com/sun/star/util/XNumberFormatTypes.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <com/sun/star/util/XNumberFormatter2.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include <vector>

#include "excel/calc/UnoSupport.h"

namespace tarvo::calc {

namespace {

template <typename... Types>
void add(std::vector<css::uno::Type>& types) {
    (types.push_back(cppu::UnoType<Types>::get()), ...);
}

}  // namespace

// The generated getter of a type (interface, struct, enum, exception or
// sequence alike) finishes its first call behind a flag it reads without a
// lock: two threads asking for the same type for the first time race on it.
// Every type the client's code names is in this one list, and so is every
// type it is handed without naming it (a range's address, the sequences of
// its listeners' type provider); a test holds the list against the names in
// the client's sources.
std::vector<css::uno::Type> clientTypes() {
    namespace awt = css::awt;
    namespace container = css::container;
    namespace document = css::document;
    namespace frame = css::frame;
    namespace sheet = css::sheet;
    namespace util = css::util;
    std::vector<css::uno::Type> types;
    add<css::uno::XInterface, css::uno::XWeak, css::lang::XTypeProvider,
        css::uno::XComponentContext, css::bridge::XUnoUrlResolver, css::lang::XComponent,
        css::lang::XEventListener, css::beans::XPropertySet>(types);
    add<frame::XDesktop, frame::XDesktop2, frame::XComponentLoader, frame::XController,
        frame::XFrame, frame::XModel, frame::XStorable, awt::XTopWindow, awt::XTopWindow2,
        awt::XWindow, css::view::XSelectionSupplier, css::text::XText>(types);
    add<container::XEnumeration, container::XEnumerationAccess, container::XIndexAccess,
        container::XNamed, document::XDocumentEventBroadcaster, document::XDocumentEventListener>(
        types);
    add<sheet::XCellAddressable, sheet::XCellRangeAddressable, sheet::XSpreadsheet,
        sheet::XSpreadsheetDocument, sheet::XSpreadsheetView, sheet::XSpreadsheets,
        css::table::XCell, css::table::XCellRange>(types);
    add<util::XCloseable, util::XModifiable, util::XNumberFormatTypes, util::XNumberFormats,
        util::XNumberFormatsSupplier, util::XNumberFormatter2>(types);
    add<css::beans::PropertyValue, css::document::DocumentEvent, css::lang::EventObject,
        css::lang::Locale, css::table::CellRangeAddress, css::table::CellContentType>(types);
    add<css::uno::Exception, css::uno::RuntimeException, css::lang::DisposedException,
        css::connection::NoConnectException, css::connection::ConnectionSetupException>(types);
    add<css::uno::Sequence<css::beans::PropertyValue>, css::uno::Sequence<css::uno::Type>,
        css::uno::Sequence<sal_Int8>>(types);
    return types;
}

void resolveClientTypes() {
    clientTypes();
}

}  // namespace tarvo::calc
