#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "files/Printing.h"

namespace tarvo::win32 {

// The lines of one page after another, each page's lines joined with CR LF
// as DrawTextA takes them; at least one line goes on every page.
std::vector<std::string> pageTexts(const std::vector<std::string_view>& lines, int linesPerPage);

// A printer device context from the print dialog, released with the job.
class GdiPagePrinter final : public PagePrinter {
  public:
    explicit GdiPagePrinter(HDC printer) : printer_(printer) {}
    ~GdiPagePrinter() override;
    GdiPagePrinter(const GdiPagePrinter&) = delete;
    GdiPagePrinter& operator=(const GdiPagePrinter&) = delete;

    // StartDocA with the job name, then each page drawn with DrawTextA and
    // DT_EXPANDTABS into the printable area, clipped at its edges.
    void printLines(std::string_view jobName, const std::vector<std::string_view>& lines) override;

  private:
    HDC printer_;
};

// PrintDlgA asking for a device context of the chosen printer, owned by the
// window that raises it; the other windows meanwhile take no input.
class GdiPrintDialog final : public PrintDialog {
  public:
    void setOwner(HWND owner) { owner_ = owner; }
    std::unique_ptr<PagePrinter> choosePrinter() override;

  private:
    HWND owner_ = nullptr;
};

}  // namespace tarvo::win32
