#include "LittleCmsReader.h"

#include <gtest/gtest.h>
#include <lcms2.h>

#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>

#include "TempDir.h"
#include "files/CgatsSets.h"

namespace tarvo::test {
namespace {

std::string lastError;

void keepError(cmsContext, cmsUInt32Number, const char* text) {
    lastError = text;
}

std::optional<double> number(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::string orEmpty(const char* text) {
    return text ? text : "";
}

// LittleCMS 2.14 (Debian 12's) gives an empty string "" back as the string
// it read before it; later versions read it as empty. Where it errs, an
// empty text is checked by the literal file alone and by the fields after
// it, which a missing token would have moved.
bool readsEmptyStrings() {
    static const bool reads = [] {
        const LittleCmsReading probe = readTextWithLittleCms(
            "CGATS.17\r\nKEYWORD \"NAME\"\r\nNUMBER_OF_FIELDS 2\r\nBEGIN_DATA_FORMAT\r\n"
            "SAMPLE_ID NAME\r\nEND_DATA_FORMAT\r\nNUMBER_OF_SETS 2\r\nBEGIN_DATA\r\n"
            "1 \"x\"\r\n2 \"\"\r\nEND_DATA\r\n");
        return probe.rows.size() == 2 && probe.rows[1].size() == 2 && probe.rows[1][1].empty();
    }();
    return reads;
}

constexpr const char* kSetFields[] = {"SAMPLE_ID", "D_RED", "D_GREEN", "D_BLUE", "D_VIS"};

int fieldIndex(const LittleCmsReading& reading, const std::string& name) {
    for (std::size_t field = 0; field < reading.fields.size(); ++field) {
        if (reading.fields[field] == name) {
            return static_cast<int>(field);
        }
    }
    return -1;
}

// The program reads references with a reader of its own: every file with the
// fields of one that LittleCMS reads must give the program the same sets, and
// one LittleCMS refuses must be refused. They may part only where LittleCMS
// keeps a word as a density, which the program refuses as no number.
void expectSameSetsAsOwnReader(const std::filesystem::path& file, const LittleCmsReading& theirs) {
    std::ifstream in(file, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    const CgatsSets ours = readCgatsSets(text);
    if (!theirs.error.empty()) {
        EXPECT_TRUE(ours.problem) << "the program reads a file LittleCMS refuses: " << theirs.error;
        return;
    }
    std::vector<int> at;
    for (const char* name : kSetFields) {
        at.push_back(fieldIndex(theirs, name));
        if (at.back() < 0) {
            return;  // no reference: the program's reader is not asked
        }
    }
    if (ours.problem) {
        EXPECT_NE(ours.problem->what.find("is no number"), std::string::npos)
            << "line " << ours.problem->line << ": " << ours.problem->what;
        return;
    }
    ASSERT_EQ(ours.sets.size(), theirs.rows.size()) << "sets read by the program";
    for (std::size_t set = 0; set < ours.sets.size(); ++set) {
        const CgatsRow& row = theirs.rows[set];
        EXPECT_EQ(ours.sets[set].sampleId, row[static_cast<std::size_t>(at[0])]) << "set " << set;
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(ours.sets[set].densities[i],
                      writtenNumber(row[static_cast<std::size_t>(at[i + 1])]))
                << "set " << set << ", " << kSetFields[i + 1];
        }
    }
}

}  // namespace

LittleCmsReading readWithLittleCms(const std::filesystem::path& file) {
    LittleCmsReading reading = readOnlyWithLittleCms(file);
    expectSameSetsAsOwnReader(file, reading);
    return reading;
}

LittleCmsReading readOnlyWithLittleCms(const std::filesystem::path& file) {
    LittleCmsReading reading;
    lastError.clear();
    cmsSetLogErrorHandler(keepError);
    cmsHANDLE it8 = cmsIT8LoadFromFile(nullptr, file.string().c_str());
    cmsSetLogErrorHandler(nullptr);
    if (!it8) {
        reading.error = lastError.empty() ? "refused without a word" : lastError;
        return reading;
    }
    reading.descriptor = orEmpty(cmsIT8GetProperty(it8, "DESCRIPTOR"));
    char** names = nullptr;
    const int fields = cmsIT8EnumDataFormat(it8, &names);
    for (int field = 0; field < fields; ++field) {
        reading.fields.push_back(orEmpty(names[field]));
    }
    const int sets = static_cast<int>(cmsIT8GetPropertyDbl(it8, "NUMBER_OF_SETS"));
    for (int set = 0; set < sets; ++set) {
        CgatsRow& row = reading.rows.emplace_back();
        for (int field = 0; field < fields; ++field) {
            row.push_back(orEmpty(cmsIT8GetDataRowCol(it8, set, field)));
        }
    }
    cmsIT8Free(it8);
    return reading;
}

LittleCmsReading readTextWithLittleCms(const std::string& text) {
    TempDir dir;
    const auto path = dir / "read.txt";
    std::ofstream(path, std::ios::binary) << text;
    return readWithLittleCms(path);
}

void expectReadAs(const LittleCmsReading& reading, const std::vector<std::string>& fields,
                  const std::vector<CgatsRow>& rows) {
    ASSERT_EQ(reading.error, "") << "LittleCMS refused the file";
    EXPECT_EQ(reading.fields, fields);
    ASSERT_EQ(reading.rows.size(), rows.size());
    for (std::size_t set = 0; set < rows.size(); ++set) {
        ASSERT_EQ(reading.rows[set].size(), rows[set].size()) << "set " << set;
        for (std::size_t field = 0; field < rows[set].size(); ++field) {
            const std::string& expected = rows[set][field];
            const std::string& read = reading.rows[set][field];
            const auto where = "set " + std::to_string(set) + ", field " + fields[field];
            if (const auto value = number(expected)) {
                EXPECT_EQ(number(read), value) << where << ": " << read;
            } else if (!expected.empty() || readsEmptyStrings()) {
                EXPECT_EQ(read, expected) << where;
            }
        }
    }
}

}  // namespace tarvo::test
