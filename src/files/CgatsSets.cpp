#include "files/CgatsSets.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>

namespace tarvo {

namespace {

constexpr const char* kDensityFields[] = {"D_RED", "D_GREEN", "D_BLUE", "D_VIS"};
constexpr const char* kSampleId = "SAMPLE_ID";
// More would be no file of readings; the count is checked before anything is
// reserved for it.
constexpr long kMostSets = 100000;
constexpr long kMostFields = 1000;

struct Token {
    std::string_view text;
    int line = 0;
    bool quoted = false;
};

// The words and quoted strings of the text, each with its line. A string is
// in double or single quotes and ends on its line; a "#" outside a string
// makes the rest of its line a comment.
class Tokens {
  public:
    explicit Tokens(std::string_view text) : text_(text) {}

    // The next token; nothing at the end of the text. An unclosed string sets
    // the problem and ends the text.
    std::optional<Token> next() {
        skipBlanks();
        if (at_ >= text_.size()) {
            return std::nullopt;
        }
        if (const char quote = text_[at_]; quote == '"' || quote == '\'') {
            const std::size_t close = text_.find(quote, at_ + 1);
            const std::size_t lineEnd = text_.find('\n', at_ + 1);
            if (close == std::string_view::npos || close > lineEnd) {
                problem = FileProblem{line_, "a string without its closing quote"};
                at_ = text_.size();
                return std::nullopt;
            }
            Token token{text_.substr(at_ + 1, close - at_ - 1), line_, true};
            at_ = close + 1;
            return token;
        }
        const std::size_t start = at_;
        while (at_ < text_.size() && !isBlank(text_[at_]) && text_[at_] != '#') {
            ++at_;
        }
        return Token{text_.substr(start, at_ - start), line_, false};
    }

    // The line the next token would be on.
    int line() {
        skipBlanks();
        return line_;
    }

    std::optional<FileProblem> problem;

  private:
    static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    void skipBlanks() {
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '\n') {
                ++line_;
            } else if (c == '#') {
                at_ = std::min(text_.find('\n', at_), text_.size());
                continue;
            } else if (!isBlank(c)) {
                return;
            }
            ++at_;
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
    int line_ = 1;
};

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// A count of fields or sets up to most; -1 for any other text.
long count(std::string_view text, long most) {
    long value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || stop != text.data() + text.size() || value < 0 || value > most) {
        return -1;
    }
    return value;
}

// Reads the sections of one table; the first problem ends it.
class CgatsReader {
  public:
    explicit CgatsReader(std::string_view text) : tokens_(text) {}

    CgatsSets read() {
        CgatsSets result;
        result.problem = readSections(result.sets);
        if (!result.problem) {
            result.problem = tokens_.problem;
        }
        if (result.problem) {
            result.sets.clear();
        }
        return result;
    }

  private:
    std::optional<FileProblem> readSections(std::vector<CgatsSet>& sets) {
        while (auto keyword = tokens_.next()) {
            std::optional<FileProblem> problem;
            if (keyword->text == "BEGIN_DATA_FORMAT") {
                problem = readFormat(*keyword);
            } else if (keyword->text == "BEGIN_DATA") {
                return readData(*keyword, sets);
            } else if (keyword->text == "NUMBER_OF_FIELDS" || keyword->text == "NUMBER_OF_SETS") {
                problem = readCount(*keyword);
            } else {
                skipLine(keyword->line);  // a keyword of no concern, with its value
            }
            if (problem) {
                return problem;
            }
        }
        return FileProblem{tokens_.line(), "no BEGIN_DATA"};
    }

    void skipLine(int line) {
        while (tokens_.line() == line && tokens_.next()) {
        }
    }

    std::optional<FileProblem> readCount(const Token& keyword) {
        const bool sets = keyword.text == "NUMBER_OF_SETS";
        const auto value = tokens_.next();
        const long number = value && value->line == keyword.line
                                ? count(value->text, sets ? kMostSets : kMostFields)
                                : -1;
        if (number < 0) {
            return FileProblem{keyword.line, std::string(keyword.text) + " without a count"};
        }
        (sets ? setCount_ : fieldCount_) = number;
        return std::nullopt;
    }

    std::optional<FileProblem> readFormat(const Token& begin) {
        if (!fieldCount_) {
            return FileProblem{begin.line, "no NUMBER_OF_FIELDS before the data format"};
        }
        fields_.clear();
        while (auto field = tokens_.next()) {
            if (field->text == "END_DATA_FORMAT" && !field->quoted) {
                return checkFormat(*field);
            }
            fields_.emplace_back(field->text);
        }
        return FileProblem{tokens_.line(), "no END_DATA_FORMAT"};
    }

    std::optional<FileProblem> checkFormat(const Token& end) {
        if (static_cast<long>(fields_.size()) != *fieldCount_) {
            return FileProblem{end.line, std::to_string(fields_.size()) +
                                             " fields, but NUMBER_OF_FIELDS " +
                                             std::to_string(*fieldCount_)};
        }
        sampleIdField_ = fieldIndex(kSampleId);
        for (std::size_t i = 0; i < densityField_.size(); ++i) {
            densityField_[i] = fieldIndex(kDensityFields[i]);
        }
        if (!sampleIdField_) {
            return FileProblem{end.line, "no field SAMPLE_ID"};
        }
        for (std::size_t i = 0; i < densityField_.size(); ++i) {
            if (!densityField_[i]) {
                return FileProblem{end.line, std::string("no field ") + kDensityFields[i]};
            }
        }
        return std::nullopt;
    }

    std::optional<std::size_t> fieldIndex(std::string_view name) const {
        const auto found = std::find(fields_.begin(), fields_.end(), name);
        return found == fields_.end()
                   ? std::nullopt
                   : std::optional(static_cast<std::size_t>(found - fields_.begin()));
    }

    std::optional<FileProblem> readData(const Token& begin, std::vector<CgatsSet>& sets) {
        if (fields_.empty()) {
            return FileProblem{begin.line, "no data format before the data"};
        }
        if (!setCount_) {
            return FileProblem{begin.line, "no NUMBER_OF_SETS before the data"};
        }
        sets.reserve(static_cast<std::size_t>(*setCount_));
        std::vector<Token> values;
        int endLine = begin.line;  // of END_DATA, or of the last value when the text ends first
        while (auto value = tokens_.next()) {
            endLine = value->line;
            if (value->text == "END_DATA" && !value->quoted) {
                break;
            }
            values.push_back(*value);
            if (values.size() == fields_.size()) {
                if (auto problem = addSet(values, sets)) {
                    return problem;
                }
                values.clear();
            }
        }
        if (tokens_.problem) {
            return tokens_.problem;
        }
        if (!values.empty()) {
            return FileProblem{values.front().line, "a set of " + std::to_string(values.size()) +
                                                        " values where " +
                                                        std::to_string(fields_.size()) + " belong"};
        }
        if (static_cast<long>(sets.size()) != *setCount_) {
            return FileProblem{endLine, std::to_string(sets.size()) + " sets, but NUMBER_OF_SETS " +
                                            std::to_string(*setCount_)};
        }
        return std::nullopt;
    }

    std::optional<FileProblem> addSet(const std::vector<Token>& values,
                                      std::vector<CgatsSet>& sets) const {
        if (static_cast<long>(sets.size()) == *setCount_) {
            return FileProblem{values.front().line,
                               "more sets than NUMBER_OF_SETS " + std::to_string(*setCount_)};
        }
        CgatsSet set{std::string(values[*sampleIdField_].text), {}, values.front().line};
        for (std::size_t i = 0; i < densityField_.size(); ++i) {
            const Token& value = values[*densityField_[i]];
            const auto number = writtenNumber(value.text);
            if (!number) {
                return FileProblem{value.line, quoted(value.text) + " is no number"};
            }
            set.densities[i] = *number;
        }
        sets.push_back(std::move(set));
        return std::nullopt;
    }

    Tokens tokens_;
    std::optional<long> fieldCount_;
    std::optional<long> setCount_;
    std::vector<std::string> fields_;
    std::optional<std::size_t> sampleIdField_;
    std::array<std::optional<std::size_t>, 4> densityField_;
};

}  // namespace

std::optional<double> writtenNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || stop != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

CgatsSets readCgatsSets(std::string_view text) {
    return CgatsReader(text).read();
}

bool looksLikeCgats(std::string_view text) {
    Tokens tokens(text);
    while (auto token = tokens.next()) {
        if (token->text == "BEGIN_DATA_FORMAT" && !token->quoted) {
            return true;
        }
    }
    return false;
}

}  // namespace tarvo
