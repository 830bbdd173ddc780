#pragma once
// Settings files in INI form, held as text by path, read with the private-profile rules:
// names match without regard to case, blanks around values and one pair of surrounding
// quotes are dropped, the value is cut to the buffer's characters (here code points).
#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <sstream>
#include <string>

#include "platform/Platform.h"

namespace fakes {

class FakeProfileReader : public platform::ProfileReader {
  public:
    uint32_t GetString(const std::string& section, const std::string& key, const std::string& def,
                       char* buffer, uint32_t size, const std::string& file) override {
        ++calls;
        std::string value = def;
        auto it = files.find(Lower(file));
        if (it != files.end()) Lookup(it->second, section, key, value);
        if (size == 0) return 0;
        size_t n = 0;
        for (uint32_t characters = 0; n < value.size(); ++n) {
            const bool starts = (static_cast<unsigned char>(value[n]) & 0xC0) != 0x80;
            if (starts && ++characters == size) break;
        }
        std::memcpy(buffer, value.data(), n);
        buffer[n] = '\0';
        return static_cast<uint32_t>(n);
    }

    void Write(const std::string& path, const std::string& text) { files[Lower(path)] = text; }

    std::map<std::string, std::string> files;  // by lower-case path
    int calls = 0;

  private:
    static std::string Lower(std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    }
    static std::string Trim(const std::string& s) {
        const size_t a = s.find_first_not_of(" \t\r");
        if (a == std::string::npos) return "";
        return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
    }
    static void Lookup(const std::string& text, const std::string& section, const std::string& key,
                       std::string& value) {
        std::istringstream lines(text);
        std::string line, current;
        while (std::getline(lines, line)) {
            line = Trim(line);
            if (line.empty() || line[0] == ';') continue;
            if (line[0] == '[') {
                current = Lower(line.substr(1, line.find(']') - 1));
                continue;
            }
            const size_t eq = line.find('=');
            if (eq == std::string::npos || current != Lower(section)) continue;
            if (Lower(Trim(line.substr(0, eq))) != Lower(key)) continue;
            std::string v = Trim(line.substr(eq + 1));
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            value = v;
            return;
        }
    }
};

}  // namespace fakes
