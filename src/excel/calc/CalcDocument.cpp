#include "excel/calc/CalcDocument.h"

#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/document/XDocumentEventBroadcaster.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>

#include "excel/ExcelMembers.h"
#include "excel/calc/CalcSession.h"

namespace tarvo::calc {

using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

void DocumentWatch::connect(AutomationEventSink* sink) {
    std::lock_guard lock(mutex_);
    sink_ = sink;
}

// "OnUnload" is the one event the office sends however the workbook goes,
// its window's Close command included, but it also sends it when a view is
// swapped for another (Print Preview and back) while the workbook stays. A
// workbook that goes is told "OnPrepareUnload" first. A close the operator
// cancels at the office's question leaves that mark behind; only then would
// a later view swap still read as the workbook gone.
void DocumentWatch::documentEventOccured(const css::document::DocumentEvent& event) {
    if (event.EventName == "OnPrepareUnload") {
        closing_.store(true);
    } else if (event.EventName == "OnUnload" && closing_.load()) {
        unloaded();
    }
}

void DocumentWatch::disposing(const css::lang::EventObject&) {
    unloaded();
}

void DocumentWatch::unloaded() {
    if (closed_.exchange(true)) {
        return;
    }
    std::lock_guard lock(mutex_);
    if (sink_ != nullptr) {
        sink_->invoke(excel::kBeforeClose);
    }
}

CalcDocument::CalcDocument(Reference<css::sheet::XSpreadsheetDocument> document, bool hasWindows)
    : document_(std::move(document)),
      model_(document_, UNO_QUERY_THROW),
      watch_(new DocumentWatch),
      hasWindows_(hasWindows) {
    Reference<css::document::XDocumentEventBroadcaster> events(document_, UNO_QUERY_THROW);
    events->addDocumentEventListener(
        Reference<css::document::XDocumentEventListener>(watch_.get()));
}

// The view is asked for once and kept until the office disposes of it, so a
// cell write costs no extra round trip to the office.
Reference<css::frame::XController> CalcDocument::controller() {
    if (controller_.is() && !viewWatch_->gone()) {
        return controller_;
    }
    sheetView_.clear();
    selection_.clear();
    controller_ = model_->getCurrentController();
    viewWatch_ = new ViewWatch;
    if (Reference<css::lang::XComponent> view(controller_, UNO_QUERY); view.is()) {
        view->addEventListener(Reference<css::lang::XEventListener>(viewWatch_.get()));
    }
    return controller_;
}

Reference<css::sheet::XSpreadsheetView> CalcDocument::sheetView() {
    auto current = controller();
    if (!sheetView_.is()) {
        sheetView_.set(current, UNO_QUERY);
    }
    return sheetView_;
}

Reference<css::view::XSelectionSupplier> CalcDocument::selection() {
    auto current = controller();
    if (!selection_.is()) {
        selection_.set(current, UNO_QUERY);
    }
    return selection_;
}

Reference<css::awt::XWindow> CalcDocument::window() {
    if (!hasWindows_) {
        return {};
    }
    auto current = controller();
    if (!current.is()) {
        return {};
    }
    auto frame = current->getFrame();
    return frame.is() ? frame->getContainerWindow() : Reference<css::awt::XWindow>();
}

void CalcDocument::activate() {
    if (!hasWindows_) {
        return;
    }
    auto current = controller();
    auto frame = current.is() ? current->getFrame() : Reference<css::frame::XFrame>();
    if (!frame.is()) {
        return;
    }
    frame->activate();
    Reference<css::awt::XTopWindow> top(frame->getContainerWindow(), UNO_QUERY);
    if (top.is()) {
        top->toFront();
    }
}

CellInput& CalcDocument::input(const Reference<css::uno::XComponentContext>& context) {
    if (!input_) {
        input_ = std::make_unique<CellInput>(
            context, Reference<css::util::XNumberFormatsSupplier>(document_, UNO_QUERY_THROW));
    }
    return *input_;
}

void CalcDocument::close() {
    Reference<css::util::XCloseable> closeable(document_, UNO_QUERY);
    if (closeable.is()) {
        closeable->close(true);
    } else {
        Reference<css::lang::XComponent>(document_, UNO_QUERY_THROW)->dispose();
    }
    watch_->markClosed();
}

// An unsaved workbook would make the office ask before closing; nobody may be
// there to answer.
void CalcDocument::discard(CalcSession& session) {
    if (closed()) {
        return;
    }
    session.run([&] {
        Reference<css::util::XModifiable> modifiable(document_, UNO_QUERY);
        if (modifiable.is()) {
            modifiable->setModified(false);
        }
        close();
        return true;
    });
}

}  // namespace tarvo::calc
