#pragma once
// CSV as the console program writes it and reads its logs back: fields separated by commas,
// quoted where they must be, lines ended by CR LF.
#include <string>
#include <vector>

namespace olvex {

// A field of a CSV line: quoted when it holds a comma, a quote, a semicolon, a tab or a line
// break. Where a spreadsheet would read a formula (=, +, -, @ at the start of the field, or
// after a semicolon, a tab or a line break, as a spreadsheet that splits on those reads it),
// a ' goes before it, and before a ' that stands there ahead of one of those: ReadCsvField
// takes exactly these off again.
std::string CsvField(const std::string& text);
// The text CsvField was given, from the field it wrote (its quotes already taken off).
std::string ReadCsvField(const std::string& field);

// Splits CSV text into lines of fields as it is fed, whatever the pieces it comes in: a quoted
// field may hold line breaks. Only the line being read is held.
class CsvReader {
  public:
    // Feeds the next piece; calls line(fields) for each line it completes.
    template <class Line>
    void Feed(const char* data, size_t size, Line&& line) {
        for (size_t i = 0; i < size; ++i)
            if (Take(data[i])) line(static_cast<const std::vector<std::string>&>(fields_));
    }
    // Whether the text so far ended with a whole line: a file that stops inside a line, or
    // inside quotes, was cut short.
    bool AtLineStart() const { return !quoted_ && !any_; }
    // Lines whose fields grew past this many bytes are cut there (a log's lines are short).
    static constexpr size_t kLongestField = 64 * 1024;

  private:
    // Takes one byte; true when it completed a line (then fields_ holds it until the next).
    bool Take(char c);
    std::vector<std::string> fields_;
    std::string field_;
    bool quoted_ = false;
    bool quoteSeen_ = false;  // a quote inside quotes: the end, or the first of two
    bool any_ = false;        // something of the current line was read
    bool complete_ = false;   // fields_ holds a whole line, to be cleared at the next byte
};

}  // namespace olvex
