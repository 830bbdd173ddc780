#include "console/Csv.h"

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

// Whether a spreadsheet may start reading a cell at the character after c, given whether it
// could at c: after a character that splits cells, and after quotes or blanks that stand where
// a cell could start, which a spreadsheet takes off before it looks for a formula.
bool NextStartsCell(bool startsCell, char c) {
    return SplitsCells(c) || (startsCell && (c == '"' || c == ' '));
}

}  // namespace

std::string CsvField(const std::string& text) {
    std::string field;
    field.reserve(text.size() + 2);
    bool startsCell = true;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (startsCell &&
            (StartsFormula(c) || (c == '\'' && i + 1 < text.size() &&
                                  (StartsFormula(text[i + 1]) || text[i + 1] == '\''))))
            field += '\'';
        field += c;
        startsCell = NextStartsCell(startsCell, c);
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
    bool startsCell = true;
    for (size_t i = 0; i < field.size(); ++i) {
        const char c = field[i];
        const bool put = startsCell && c == '\'' && i + 1 < field.size() &&
                         (StartsFormula(field[i + 1]) || field[i + 1] == '\'');
        if (!put) text += c;
        startsCell = NextStartsCell(startsCell, c);
    }
    return text;
}

void CsvReader::Feed(const char* data, size_t size, const Line& line) {
    while (size > 0) {
        const char* end = static_cast<const char*>(std::memchr(data, '\n', size));
        const size_t n = end ? static_cast<size_t>(end - data) : size;
        for (const char* q = data;
             (q = static_cast<const char*>(std::memchr(q, '"', n - (q - data)))); ++q)
            pieceOdd_ = !pieceOdd_;
        if (piece_.size() + n + 1 > kLongestLine) pieceLong_ = true;  // + 1: the line break
        if (!pieceLong_) piece_.append(data, n);
        if (!end) return;
        EndOfLine(line);
        data += n + 1;
        size -= n + 1;
    }
}

void CsvReader::Finish(const Line& line) {
    if (!piece_.empty() || pieceLong_) {
        const bool own = open_ && startsLine_ && !pieceLong_ && startsLine_(piece_);
        if (open_) Skip(line_.number, "cut short: its quotes are never closed", line);
        if (!open_ || own) Skip(breaks_ + 1, "cut short: the text ends inside it", line);
    } else if (open_) {
        Skip(line_.number, "cut short: its quotes are never closed", line);
    }
    piece_.clear();
    pieceLong_ = pieceOdd_ = open_ = false;
}

void CsvReader::EndOfLine(const Line& line) {
    ++breaks_;
    if (open_ && startsLine_ && !pieceLong_ && startsLine_(piece_)) {
        // A line was cut inside its quotes, and the next one was written after it.
        Skip(line_.number, "cut short: the next line starts inside its quotes", line);
        open_ = false;
    }
    if (open_) {
        long_ = long_ || pieceLong_ || text_.size() + piece_.size() + 2 > kLongestLine;
        if (!long_) text_.append(1, '\n').append(piece_);
        if (pieceOdd_) open_ = false;  // its quotes close in this piece
    } else {
        text_.swap(piece_);
        long_ = pieceLong_;
        line_.number = breaks_;
        open_ = pieceOdd_;
    }
    piece_.clear();
    pieceLong_ = pieceOdd_ = false;
    if (!open_) Complete(line);
}

void CsvReader::Complete(const Line& line) {
    if (long_)
        return Skip(line_.number, "longer than " + std::to_string(kLongestLine / 1024) + " KB",
                    line);
    // The line's end; a CR no field can end in (CsvField quotes those) is a line end's too.
    while (!text_.empty() && text_.back() == '\r') text_.pop_back();
    if (!Split())
        return Skip(line_.number, "more than " + std::to_string(kMostFields) + " fields", line);
    line_.skipped.clear();
    line(line_);
}

void CsvReader::Skip(size_t number, std::string why, const Line& line) {
    while (!line_.fields.empty()) {
        spare_.push_back(std::move(line_.fields.back()));
        line_.fields.pop_back();
    }
    const size_t at = line_.number;
    line_.number = number;
    line_.skipped = std::move(why);
    line(line_);
    line_.number = at;
}

std::string& CsvReader::NextField() {
    std::vector<std::string>& fields = line_.fields;
    if (used_ == fields.size()) {
        if (spare_.empty()) {
            fields.emplace_back();
        } else {
            fields.push_back(std::move(spare_.back()));
            spare_.pop_back();
        }
    }
    std::string& field = fields[used_++];
    field.clear();
    return field;
}

bool CsvReader::Split() {
    const std::string& text = text_;
    used_ = 0;
    bool few = true;
    for (size_t at = 0;;) {
        if (used_ == kMostFields) {
            few = false;
            break;
        }
        std::string& field = NextField();
        if (at < text.size() && text[at] == '"') {
            // Quoted: up to the quote that is not doubled; what follows it, to the comma, as is.
            for (++at;;) {
                size_t quote = text.find('"', at);
                if (quote == std::string::npos) quote = text.size();
                field.append(text, at, quote - at);
                at = quote + 1;
                if (at < text.size() && text[at] == '"') {
                    field += '"';
                    ++at;
                    continue;
                }
                break;
            }
        }
        if (at > text.size()) break;
        size_t comma = text.find(',', at);
        if (comma == std::string::npos) comma = text.size();
        field.append(text, at, comma - at);
        if (comma == text.size()) break;
        at = comma + 1;
    }
    while (line_.fields.size() > used_) {
        spare_.push_back(std::move(line_.fields.back()));
        line_.fields.pop_back();
    }
    return few;
}

}  // namespace olvex
