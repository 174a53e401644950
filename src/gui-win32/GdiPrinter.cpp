#include "gui-win32/GdiPrinter.h"

#include <commdlg.h>

#include <algorithm>

#include "gui-win32/OtherWindowsDisabled.h"

namespace tarvo::win32 {

std::vector<std::string> pageTexts(const std::vector<std::string_view>& lines, int linesPerPage) {
    const std::size_t perPage = static_cast<std::size_t>(std::max(1, linesPerPage));
    std::vector<std::string> pages;
    for (std::size_t first = 0; first < lines.size(); first += perPage) {
        std::string page;
        const std::size_t end = std::min(lines.size(), first + perPage);
        for (std::size_t i = first; i < end; ++i) {
            page += lines[i];
            page += "\r\n";
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

GdiPagePrinter::~GdiPagePrinter() {
    DeleteDC(printer_);
}

void GdiPagePrinter::printLines(std::string_view jobName,
                                const std::vector<std::string_view>& lines) {
    RECT page{0, 0, GetDeviceCaps(printer_, HORZRES), GetDeviceCaps(printer_, VERTRES)};
    TEXTMETRICA metrics{};
    GetTextMetricsA(printer_, &metrics);
    const int lineHeight = std::max<int>(1, metrics.tmHeight + metrics.tmExternalLeading);

    const std::string name(jobName);
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = name.c_str();
    if (StartDocA(printer_, &document) <= 0) {
        return;
    }
    for (std::string& text : pageTexts(lines, page.bottom / lineHeight)) {
        StartPage(printer_);
        DrawTextA(printer_, text.data(), static_cast<int>(text.size()), &page, DT_EXPANDTABS);
        EndPage(printer_);
    }
    EndDoc(printer_);
}

std::unique_ptr<PagePrinter> GdiPrintDialog::choosePrinter() {
    PRINTDLGA request{};
    request.lStructSize = sizeof request;
    request.Flags = PD_RETURNDC;
    request.hwndOwner = owner_ && IsWindow(owner_) ? owner_ : nullptr;
    {
        const OtherWindowsDisabled modal(request.hwndOwner);
        PrintDlgA(&request);
    }
    if (request.hDevMode) {
        GlobalFree(request.hDevMode);
    }
    if (request.hDevNames) {
        GlobalFree(request.hDevNames);
    }
    if (request.hDC == nullptr) {
        return nullptr;
    }
    return std::make_unique<GdiPagePrinter>(request.hDC);
}

}  // namespace tarvo::win32
