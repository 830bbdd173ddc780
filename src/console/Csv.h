#pragma once
// CSV as the console program writes it and reads its logs back: fields separated by commas,
// quoted where they must be, lines ended by CR LF.
#include <functional>
#include <string>
#include <vector>

namespace olvex {

// A field of a CSV line: quoted when it holds a comma, a quote, a semicolon, a tab or a line
// break. Where a spreadsheet would read a formula (=, +, -, @ at the start of the field, or
// after a semicolon, a tab or a line break, as a spreadsheet that splits on those reads it,
// with any quotes or blanks between, which it takes off), a ' goes before it, and before a '
// that stands there ahead of one of those: ReadCsvField takes exactly these off again.
std::string CsvField(const std::string& text);
// The text CsvField was given, from the field it wrote (its quotes already taken off).
std::string ReadCsvField(const std::string& field);

// One line of CSV text as CsvReader read it: its fields, or why it was skipped.
struct CsvLine {
    size_t number = 0;                // where it starts in the text, counting from 1
    std::vector<std::string> fields;  // quotes taken off; none when skipped
    std::string skipped;              // "" for a line read
};

// Splits CSV text into lines of fields as it is fed, whatever the pieces it comes in: a quoted
// field may hold line breaks. Only the line being read is held, and no more of it than a line
// of a log can hold: a longer line, or one of more fields, is skipped whole and said so, so
// the memory stays the same whatever the text holds.
class CsvReader {
  public:
    using Line = std::function<void(const CsvLine&)>;
    // Whether text (a line's beginning, up to its end) starts a line of its own for certain:
    // then a line before it whose quotes are still open was cut short, and only that one is
    // skipped. Without it, quotes left open go on to the next line break after them.
    using StartsLine = bool (*)(const std::string& text);

    explicit CsvReader(StartsLine startsLine = nullptr) : startsLine_(startsLine) {}
    // Feeds the next piece; calls line for each line it completes or skips.
    void Feed(const char* data, size_t size, const Line& line);
    // The text ends here: a line it leaves unfinished was cut short, and is skipped.
    void Finish(const Line& line);

    // A line's bytes, its line break counted, and its fields.
    static constexpr size_t kLongestLine = 256 * 1024;
    static constexpr size_t kMostFields = 64;

  private:
    void EndOfLine(const Line& line);  // a line break outside or inside quotes
    void Complete(const Line& line);   // a line whose quotes are all closed
    void Skip(size_t number, std::string why, const Line& line);
    bool Split();              // the line's fields into line_.fields, if few enough
    std::string& NextField();  // a field of line_ to fill, its room kept from before

    StartsLine startsLine_;
    // The text since the last line break, held as far as a line may go, and its quotes' parity.
    std::string piece_;
    bool pieceLong_ = false, pieceOdd_ = false;
    size_t breaks_ = 0;  // line breaks so far
    // The line being read: one or more pieces, while its quotes are open.
    std::string text_;
    bool long_ = false, open_ = false;
    CsvLine line_;
    size_t used_ = 0;                 // fields of line_ filled so far
    std::vector<std::string> spare_;  // fields of longer lines before, their room kept
};

}  // namespace olvex
