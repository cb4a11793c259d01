#pragma once

// A zip archive of stored entries, the same bytes on every machine and in
// every front end: no compression (method 0), one fixed time stamp
// (1980-01-01 00:00, the earliest a zip can say), no extra fields, no
// attributes, and the entries in the order given. Any zip reader opens it.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace bitwell {

struct ZipEntry {
    std::string_view name;   // a relative path with '/' between folders; ASCII
    std::string_view bytes;  // the file's contents
};

// The CRC-32 of the zip format (the reflected polynomial EDB88320), as the
// archive records it for each entry.
std::uint32_t Crc32(std::string_view bytes);

// The whole archive. Names are written as given (never checked); every
// entry and the archive must stay under 4 GiB and the entries under 65,535,
// which the callers' page and manifest are far from.
std::string StoredZip(std::initializer_list<ZipEntry> entries);

}  // namespace bitwell
