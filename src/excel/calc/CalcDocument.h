#pragma once

#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/document/XDocumentEventListener.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>
#include <cppuhelper/implbase1.hxx>
#include <rtl/ref.hxx>

#include <atomic>
#include <memory>
#include <mutex>

#include "excel/AutomationValue.h"
#include "excel/calc/CellInput.h"

namespace tarvo::calc {

class CalcSession;

// Hears the office unload a workbook, whoever closed it. The office calls it
// on a thread of its own bridge, hence the lock around the client's sink.
class DocumentWatch final : public cppu::WeakImplHelper1<css::document::XDocumentEventListener> {
  public:
    bool closed() const { return closed_.load(); }
    void markClosed() { closed_.store(true); }
    void connect(AutomationEventSink* sink);

    void SAL_CALL documentEventOccured(const css::document::DocumentEvent& event) override;
    void SAL_CALL disposing(const css::lang::EventObject& source) override;

  private:
    void unloaded();

    std::atomic<bool> closed_{false};
    std::atomic<bool> closing_{false};
    std::mutex mutex_;
    AutomationEventSink* sink_ = nullptr;
};

// Tells when the workbook's view the client holds has gone: Print Preview and
// every other view swap give the workbook a new view.
class ViewWatch final : public cppu::WeakImplHelper1<css::lang::XEventListener> {
  public:
    bool gone() const { return gone_.load(); }
    void SAL_CALL disposing(const css::lang::EventObject&) override { gone_.store(true); }

  private:
    std::atomic<bool> gone_{false};
};

// One workbook loaded in the office, with what the client needs of it.
// Calls on a closed workbook do not fail in the office, so every user of it
// asks closed() first.
class CalcDocument {
  public:
    // Inside CalcSession::run: registers the watch with the office. Without
    // windows (a headless office) window() is empty and activate() does nothing:
    // bringing a window of a headless office to front crashes it.
    CalcDocument(css::uno::Reference<css::sheet::XSpreadsheetDocument> document, bool hasWindows);

    bool closed() const { return watch_->closed(); }
    const css::uno::Reference<css::sheet::XSpreadsheetDocument>& spreadsheet() const {
        return document_;
    }
    DocumentWatch& watch() { return *watch_; }

    // These talk to the office: call them inside CalcSession::run.
    css::uno::Reference<css::frame::XController> controller();
    // The view's sheet and selection, asked for once: every cell write uses both.
    css::uno::Reference<css::sheet::XSpreadsheetView> sheetView();
    css::uno::Reference<css::view::XSelectionSupplier> selection();
    css::uno::Reference<css::awt::XWindow> window();
    void activate();
    // The reader of texts as typed, made on first use.
    CellInput& input(const css::uno::Reference<css::uno::XComponentContext>& context);
    void close();
    // Closes without saving and without a question, through the session.
    void discard(CalcSession& session);

  private:
    css::uno::Reference<css::sheet::XSpreadsheetDocument> document_;
    css::uno::Reference<css::frame::XModel> model_;
    css::uno::Reference<css::frame::XController> controller_;
    rtl::Reference<ViewWatch> viewWatch_;
    css::uno::Reference<css::sheet::XSpreadsheetView> sheetView_;
    css::uno::Reference<css::view::XSelectionSupplier> selection_;
    rtl::Reference<DocumentWatch> watch_;
    std::unique_ptr<CellInput> input_;
    bool hasWindows_;
};

}  // namespace tarvo::calc
