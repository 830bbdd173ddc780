#pragma once
// Which window family serves a system, by its name.
#include <string>

namespace olvex {

enum class Family { NT, Windows98, Unsupported };

// NT for NT systems and for names the routing does not list (the empty name included),
// Windows98 for the 98 family, Unsupported for 95, .NET and unknown versions.
Family FamilyFor(const std::string& osName);

}  // namespace olvex
