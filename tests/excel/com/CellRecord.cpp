#include "CellRecord.h"

#include <cstdio>
#include <cstdlib>

#include "PassingDispatch.h"
#include "excel/ExcelMembers.h"

namespace tarvo::test {

namespace {

// Written through at once, so a record outlives a program that is killed.
class CellRecordFile {
  public:
    explicit CellRecordFile(std::FILE* file) : file_(file) {}
    ~CellRecordFile() { std::fclose(file_); }
    CellRecordFile(const CellRecordFile&) = delete;
    CellRecordFile& operator=(const CellRecordFile&) = delete;

    void append(const std::string& address, const AutomationValue& value) {
        std::fprintf(file_, "%s\t%s\n", address.c_str(), value.describe().c_str());
        std::fflush(file_);
    }

  private:
    std::FILE* file_;
};

class RecordedRange final : public PassingDispatch {
  public:
    RecordedRange(AutomationObject inner, std::string address,
                  std::shared_ptr<CellRecordFile> record)
        : PassingDispatch(std::move(inner)),
          address_(std::move(address)),
          record_(std::move(record)) {}

    bool put(DispId id, const AutomationValue& value) override {
        if (id == excel::kValue)
            record_->append(address_, value);
        return PassingDispatch::put(id, value);
    }

  private:
    std::string address_;
    std::shared_ptr<CellRecordFile> record_;
};

// The range of one cell, asked by its two corners, comes back recording.
class RecordedWorksheet final : public PassingDispatch {
  public:
    RecordedWorksheet(AutomationObject inner, std::shared_ptr<CellRecordFile> record)
        : PassingDispatch(std::move(inner)), record_(std::move(record)) {}

    std::optional<AutomationValue> get(DispId id, std::span<const AutomationValue> args) override {
        auto answer = PassingDispatch::get(id, args);
        if (id != excel::kRange || !answer || answer->kind() != AutomationKind::Object ||
            args.empty() || args[0].kind() != AutomationKind::String)
            return answer;
        return AutomationValue::object(AutomationObject(
            std::make_shared<RecordedRange>(answer->asObject(), args[0].asString(), record_)));
    }

  private:
    std::shared_ptr<CellRecordFile> record_;
};

}  // namespace

void recordCellsIfAsked(FakeExcel& excel) {
    const char* path = std::getenv(kCellRecordVariable);
    if (path && *path)
        recordCellsInto(excel, path);
}

void recordCellsInto(FakeExcel& excel, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file)
        return;
    auto sheet = AutomationValue::object(AutomationObject(std::make_shared<RecordedWorksheet>(
        AutomationObject(excel.worksheet), std::make_shared<CellRecordFile>(file))));
    excel.worksheets->answer("get", excel::kItem, sheet);
    excel.worksheets->answer("call", excel::kAdd, sheet);
}

}  // namespace tarvo::test
