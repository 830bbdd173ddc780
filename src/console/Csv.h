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
        for (size_t i = 0; i < size; ++i) {
            // A plain run of a field goes in at once.
            if (!quoted_ && !quoteSeen_) {
                size_t end = i;
                while (end < size && !IsSpecial(data[end])) ++end;
                if (end > i) {
                    Append(data + i, end - i);
                    i = end - 1;
                    continue;
                }
            }
            if (Take(data[i])) line(static_cast<const std::vector<std::string>&>(fields_));
        }
    }
    // Whether the text so far ended with a whole line: a file that stops inside a line, or
    // inside quotes, was cut short.
    bool AtLineStart() const { return !quoted_ && !any_; }
    // Lines whose fields grew past this many bytes are cut there (a log's lines are short).
    static constexpr size_t kLongestField = 64 * 1024;

  private:
    static bool IsSpecial(char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; }
    // Takes one byte; true when it completed a line (then fields_ holds it until the next).
    bool Take(char c);
    // Plain bytes of the field being read, outside quotes.
    void Append(const char* data, size_t size);
    // Ends the field being read; its string's room is kept for the next line's.
    void EndField();
    std::vector<std::string> fields_;
    size_t count_ = 0;  // fields of the line being read so far
    std::string field_;
    bool quoted_ = false;
    bool quoteSeen_ = false;  // a quote inside quotes: the end, or the first of two
    bool any_ = false;        // something of the current line was read
};

}  // namespace olvex
