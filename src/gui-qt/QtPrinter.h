#pragma once

#include <memory>

#include "files/Printing.h"

class QPrinter;
class QWidget;

namespace tarvo {

// Draws a job's lines in the printer's default font and device units, as
// plain text from the top left of the printable area, page after page.
class QtPagePrinter final : public PagePrinter {
  public:
    explicit QtPagePrinter(std::unique_ptr<QPrinter> printer);
    ~QtPagePrinter() override;

    void printLines(std::string_view jobName, const std::vector<std::string_view>& lines) override;

  private:
    std::unique_ptr<QPrinter> printer_;
};

// Qt's print dialog. Without an owner it leaves the main window usable while open.
class QtPrintDialog final : public PrintDialog {
  public:
    explicit QtPrintDialog(QWidget* owner = nullptr) : owner_(owner) {}

    std::unique_ptr<PagePrinter> choosePrinter() override;

  private:
    QWidget* owner_;
};

}  // namespace tarvo
