#pragma once
// Where the system can hold reparse points (links, junctions, mount points): what decides
// whether a file may be opened without the option that opens a reparse point itself.
#include <cstdint>
#include <optional>

#include "platform/System.h"

namespace platform {

// FILE_SUPPORTS_REPARSE_POINTS, the bit of a volume's attributes (FileFsAttributeInformation,
// GetVolumeInformation) that says its file system keeps reparse points.
constexpr uint32_t kVolumeSupportsReparsePoints = 0x80;

// Whether the system can have reparse points anywhere: the NT family from 2000 (5.0) on. NT 4.0
// and the 9x family have none. A version that could not be read, or of a platform not named
// here, counts as one that can.
bool SystemHasReparsePoints(const std::optional<VersionRecord>& version);

// Whether an open refused for the option that opens a reparse point itself, rather than what it
// leads to, may be asked again without it. Without the option a reparse point at the name is
// followed, so only where nothing there can be one: the system has none, or the volume says its
// file system keeps none. volumeAttributes are those of the volume the name is opened on, read
// on the handle of the folder it is opened relative to; nothing when they could not be read
// (or no folder is held). Where either says reparse points can be there, it may not.
bool MayOpenWithoutReparseOption(bool systemHasReparsePoints,
                                 std::optional<uint32_t> volumeAttributes);

}  // namespace platform
