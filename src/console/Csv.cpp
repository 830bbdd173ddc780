#include "console/Csv.h"

#include <algorithm>
#include <cstring>

namespace olvex {

namespace {

bool StartsFormula(char c) {
    return std::strchr("=+-@", c) != nullptr && c != '\0';
}

// Where a spreadsheet may start reading a cell: the field's start, and after these.
bool SplitsCells(char c) {
    return c == ';' || c == '\t' || c == '\r' || c == '\n';
}

// Whether the ' at text[at] was put there by CsvField, or one would go before text[at].
bool Guarded(const std::string& text, size_t at) {
    return at == 0 || SplitsCells(text[at - 1]);
}

}  // namespace

std::string CsvField(const std::string& text) {
    std::string field;
    field.reserve(text.size() + 2);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (Guarded(text, i) &&
            (StartsFormula(c) ||
             (c == '\'' && i + 1 < text.size() && (StartsFormula(text[i + 1]) || text[i + 1] == '\''))))
            field += '\'';
        field += c;
    }
    if (field.find_first_of(",\";\t\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string ReadCsvField(const std::string& field) {
    std::string text;
    text.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        const bool start = i == 0 || SplitsCells(field[i - 1]);
        if (start && field[i] == '\'' && i + 1 < field.size() &&
            (StartsFormula(field[i + 1]) || field[i + 1] == '\''))
            continue;
        text += field[i];
    }
    return text;
}

void CsvReader::Append(const char* data, size_t size) {
    any_ = true;
    if (field_.size() < kLongestField)
        field_.append(data, std::min(size, kLongestField - field_.size()));
}

void CsvReader::EndField() {
    if (count_ == fields_.size()) fields_.emplace_back();
    fields_[count_].swap(field_);
    field_.clear();
    ++count_;
}

bool CsvReader::Take(char c) {
    any_ = true;
    if (quoted_) {
        if (quoteSeen_) {
            quoteSeen_ = false;
            if (c == '"') {
                if (field_.size() < kLongestField) field_ += '"';
                return false;
            }
            quoted_ = false;  // the closing quote: c is read as outside quotes
        } else if (c == '"') {
            quoteSeen_ = true;
            return false;
        } else {
            if (field_.size() < kLongestField) field_ += c;
            return false;
        }
    }
    switch (c) {
        case '"':
            if (field_.empty()) quoted_ = true;
            else if (field_.size() < kLongestField) field_ += c;
            return false;
        case ',':
            EndField();
            return false;
        case '\r':
            return false;
        case '\n':
            EndField();
            fields_.resize(count_);
            count_ = 0;
            any_ = false;
            return true;
        default:
            if (field_.size() < kLongestField) field_ += c;
            return false;
    }
}

}  // namespace olvex
