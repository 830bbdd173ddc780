#include "system/CookieKeepList.h"

#include <algorithm>

#include "platform/Profiles.h"

namespace olvex {

namespace {

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsHostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
}

}  // namespace

std::string HostOf(const std::string& text) {
    std::string host = Trimmed(text);
    const size_t scheme = host.find("://");
    if (scheme != std::string::npos) host.erase(0, scheme + 3);
    host = host.substr(0, host.find_first_of("/?#"));
    const size_t user = host.rfind('@');
    if (user != std::string::npos) host.erase(0, user + 1);
    for (char& c : host)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (!host.empty() && host[0] == '[') {
        const size_t close = host.find(']');
        return close == std::string::npos ? "" : host.substr(0, close + 1);
    }
    host = host.substr(0, host.find(':'));
    // "*.example.com" means what "example.com" does: a host keeps the hosts below it.
    const size_t first = host.find_first_not_of("*.");
    if (first == std::string::npos) return "";
    host = host.substr(first, host.find_last_not_of('.') - first + 1);
    for (char c : host)
        if (!IsHostCharacter(c)) return "";
    return host;
}

std::vector<std::string> CookieKeepList::Add(const std::string& text) {
    std::vector<std::string> invalid;
    size_t at = 0;
    for (;;) {
        const size_t comma = text.find(',', at);
        const std::string entry = Trimmed(text.substr(at, comma - at));
        const std::string host = HostOf(entry);
        if (!host.empty())
            hosts_.push_back(host);
        else if (!entry.empty())
            invalid.push_back(entry);
        if (comma == std::string::npos) return invalid;
        at = comma + 1;
    }
}

const std::string* CookieKeepList::KeeperOf(const std::string& cookieHost) const {
    const std::string host = HostOf(cookieHost);
    const std::string* keeper = nullptr;
    for (const std::string& kept : hosts_) {
        const bool below = host.size() > kept.size() &&
                           host.compare(host.size() - kept.size(), kept.size(), kept) == 0 &&
                           host[host.size() - kept.size() - 1] == '.';
        if ((host == kept || below) && (!keeper || kept.size() > keeper->size())) keeper = &kept;
    }
    return host.empty() ? nullptr : keeper;
}

CookieKeepList ConfiguredKeepList(Services& services, std::vector<std::string>& invalid) {
    // Room for a thousand hosts and more; the system cuts a longer value short.
    constexpr uint32_t kRoom = 32767;
    CookieKeepList list;
    const std::string folder = services.system.ProgramFolder();
    if (folder.empty()) return list;
    std::vector<char> buffer(kRoom * platform::kUtf8BytesPerCharacter, '\0');
    const uint32_t copied = services.profiles.GetString("Cookies", "Keep", "", buffer.data(),
                                                        kRoom, folder + "olvex.ini");
    std::string value(buffer.data(), std::min<size_t>(copied, buffer.size()));
    if (copied + 1 >= kRoom) {
        // Cut short: the entry it was cut in is not the one written.
        const size_t lastComma = value.rfind(',');
        value.erase(lastComma == std::string::npos ? 0 : lastComma);
        invalid.push_back("[Cookies] Keep= longer than " + std::to_string(kRoom - 1) +
                          " characters");
    }
    for (std::string& entry : list.Add(value)) invalid.push_back(std::move(entry));
    return list;
}

}  // namespace olvex
