#pragma once
// The hosts whose cookies a clean keeps, so that the sites a user logs in to stay logged in.
// A host keeps its own cookies and those of every host below it: example.com keeps
// www.example.com's, never badexample.com's or example.com.evil.net's. Hosts are compared
// without regard to case, a domain cookie's leading dot and a port aside. The windows read the
// list from olvex.ini beside the program ([Cookies], Keep=host,host); the console program adds
// its /keepcookies to that.
#include <string>
#include <vector>

#include "system/Services.h"

namespace olvex {

// The host a keep-list entry or a cookie names, as compared: in lower case, without a scheme,
// a user, a path, a port, leading dots (and a leading "*.") or a final dot
// ("https://Mail.Example.com:8080/x" -> "mail.example.com", ".example.com" -> "example.com"). "" when it names none: nothing but
// letters, digits, "-", "_" and "." is left in a host, or a bracketed IPv6 address.
std::string HostOf(const std::string& text);

class CookieKeepList {
  public:
    // Adds the hosts of a text of entries separated by commas; returns the entries that name
    // no host, as written. Blank entries are no entry.
    std::vector<std::string> Add(const std::string& text);
    bool Empty() const { return hosts_.empty(); }
    const std::vector<std::string>& Hosts() const { return hosts_; }
    // The host of the list that keeps the cookies of cookieHost (a cookie's own host, its
    // leading dot and all), the longest of those that do; nullptr when none does.
    const std::string* KeeperOf(const std::string& cookieHost) const;

  private:
    std::vector<std::string> hosts_;
};

// olvex.ini beside the program, its [Cookies] Keep= entries; invalid gets those that name no
// host. Nothing when the program's folder is unknown or the file is not there.
CookieKeepList ConfiguredKeepList(Services& services, std::vector<std::string>& invalid);

}  // namespace olvex
