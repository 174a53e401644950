#include "gui-qt/QtPrinter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>

#include "gui-qt/Cp1252Text.h"

namespace tarvo {

namespace {

constexpr int kTabStopCharacters = 8;

// The run cut to the characters that fit wholly before the right edge.
std::string_view fitting(const TextRun& run, int width, const QFontMetrics& metrics) {
    std::size_t count = run.text.size();
    while (count > 0 &&
           run.x + metrics.horizontalAdvance(cp1252::onScreen(run.text.substr(0, count))) > width) {
        --count;
    }
    return run.text.substr(0, count);
}

void drawLine(QPainter& painter, std::string_view line, int top, int width) {
    const QFontMetrics metrics = painter.fontMetrics();
    const auto advance = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(cp1252::onScreen(text));
    };
    for (const TextRun& run :
         layoutLine(line, kTabStopCharacters * metrics.averageCharWidth(), advance)) {
        if (run.x >= width) {
            break;
        }
        painter.drawText(QPoint(run.x, top + metrics.ascent()),
                         cp1252::onScreen(fitting(run, width, metrics)));
    }
}

}  // namespace

QtPagePrinter::QtPagePrinter(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer)) {}

QtPagePrinter::~QtPagePrinter() = default;

void QtPagePrinter::printLines(std::string_view jobName,
                               const std::vector<std::string_view>& lines) {
    printer_->setDocName(cp1252::onScreen(jobName));
    QPainter painter;
    if (!painter.begin(printer_.get())) {
        return;
    }
    // The painter's origin is the top left of the printable area.
    const QRect page = printer_->pageLayout().paintRectPixels(printer_->resolution());
    const int lineHeight = std::max(1, painter.fontMetrics().height());
    const int linesPerPage = std::max(1, page.height() / lineHeight);
    painter.setClipRect(QRect(0, 0, page.width(), page.height()));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int onPage = static_cast<int>(i % static_cast<std::size_t>(linesPerPage));
        if (i > 0 && onPage == 0) {
            printer_->newPage();
        }
        drawLine(painter, lines[i], onPage * lineHeight, page.width());
    }
    painter.end();
}

std::unique_ptr<PagePrinter> QtPrintDialog::choosePrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), owner_);
    if (dialog.exec() != QDialog::Accepted) {
        return nullptr;
    }
    return std::make_unique<QtPagePrinter>(std::move(printer));
}

}  // namespace tarvo
