#pragma once
// The program's outside addresses, kept in one place.

namespace olvex::config {

// Shown in blue at the foot of the windows.
constexpr const char* kSupportEmail = "support@olvexcleaner.example";
// The maker's support page.
constexpr const char* kSupportPage = "http://www.olvexcleaner.example/techmail/email.html";
// The payment service's donation page for the maker's account (donate@olvexcleaner.example).
constexpr const char* kDonationPage =
    "https://payments.olvexcleaner.example/cgi-bin/webscr?cmd=_xclick"
    "&business=donate%40olvexcleaner%2eexample";

}  // namespace olvex::config
