#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "QtTestApplication.h"
#include "RecordingMessageBoxes.h"
#include "TempDir.h"
#include "TestTables.h"
#include "files/Printing.h"
#include "gui-qt/QtPrinter.h"

namespace tarvo {
namespace {

constexpr int kChildDeadlineMs = 30000;

// The operator "chooses" a PDF printer with the given page.
class PdfPrintDialog final : public PrintDialog {
  public:
    PdfPrintDialog(std::filesystem::path file, QPageSize page)
        : file_(std::move(file)), page_(page) {}

    std::unique_ptr<PagePrinter> choosePrinter() override {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(file_.string()));
        printer->setPageSize(page_);
        return std::make_unique<QtPagePrinter>(std::move(printer));
    }

  private:
    std::filesystem::path file_;
    QPageSize page_;
};

// Output of a poppler tool, or empty when it did not finish in time.
std::string runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kChildDeadlineMs) || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished(kChildDeadlineMs);
        return {};
    }
    return process.readAllStandardOutput().toStdString();
}

std::string pdfText(const std::filesystem::path& pdf) {
    return runTool("pdftotext", {QString::fromStdString(pdf.string()), "-"});
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> result;
    for (std::string word; in >> word;) {
        result.push_back(word);
    }
    return result;
}

class PdfPrinting : public ::testing::Test {
  protected:
    PdfPrinting() { test::qtTestApplication(); }

    void print(QPageSize page, int fileType = 5) {
        PdfPrintDialog dialog(pdf, page);
        settings.fileType = static_cast<std::int8_t>(fileType);
        settings.version = 'M';
        printTable({table, settings, "6.12.2026", boxes, dialog});
    }

    test::TempDir dir;
    std::filesystem::path pdf = dir / "job.pdf";
    ReadingTable table;
    Settings settings;
    test::RecordingMessageBoxes boxes;
};

TEST_F(PdfPrinting, EveryRowOfALongTableIsPrintedOnFollowingPages) {
    for (int j = 1; j <= 300; ++j) {
        test::addReading(table, {"  " + std::to_string(j), "1.23", "0.98", "0.05", "1.50", "45.60",
                                 "C", "14: 5: 9", "cmt" + std::to_string(j)});
    }
    print(QPageSize(QPageSize::A4));
    const std::string text = pdfText(pdf);
    ASSERT_FALSE(text.empty()) << "pdftotext gave nothing";

    std::vector<std::string> comments;
    for (const std::string& word : words(text)) {
        if (word.rfind("cmt", 0) == 0) {
            comments.push_back(word);
        }
    }
    ASSERT_EQ(comments.size(), 300u);
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(comments[i], "cmt" + std::to_string(300 - i)) << "newest first";
    }
    EXPECT_GE(std::count(text.begin(), text.end(), '\f'), 3) << "pages";
    EXPECT_NE(text.find("#Type: Display"), std::string::npos);
}

TEST_F(PdfPrinting, LineWiderThanThePageIsCutNotWrapped) {
    test::addReading(
        table, {"  345", "1.23", "0.98", "0.05", "1.50", "45.60", "C", "14: 5: 9", "tailmark"});
    print(QPageSize(QSizeF(40, 80), QPageSize::Millimeter));
    const std::vector<std::string> printed = words(pdfText(pdf));
    ASSERT_FALSE(printed.empty());
    EXPECT_THAT(printed, ::testing::Contains("345"));
    EXPECT_THAT(printed, ::testing::Not(::testing::Contains("tailmark")));
}

TEST_F(PdfPrinting, JobIsNamedLotcheck) {
    test::addReading(table, {"  1", "1.00"});
    print(QPageSize(QPageSize::A4));
    const std::string info = runTool("pdfinfo", {QString::fromStdString(pdf.string())});
    EXPECT_THAT(info, ::testing::ContainsRegex("Title: +Lotcheck"));
}

TEST_F(PdfPrinting, RefusedLayoutWritesNoDocument) {
    test::addReading(table, {"  1", "1.00"});
    print(QPageSize(QPageSize::A4), 4);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_THAT(boxes.texts(), ::testing::ElementsAre("No Colour-Format"));
}

}  // namespace
}  // namespace tarvo
