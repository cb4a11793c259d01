#include "core/Zip.h"

#include <array>
#include <vector>

namespace bitwell {

namespace {

// Made on first use rather than stored: the page carries no table.
const std::array<std::uint32_t, 256>& CrcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

// Little-endian fields, as the format wants every number.
void Put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// 1980-01-01 00:00:00 in the format's MS-DOS time and date.
constexpr std::uint32_t kDosTime = 0;
constexpr std::uint32_t kDosDate = (0 << 9) | (1 << 5) | 1;
// Version 1.0 is enough to extract a stored entry.
constexpr std::uint32_t kVersion = 10;

// The fields a local header and a central directory entry share, from
// "version needed" to the name's length.
void PutCommon(std::string& out, const ZipEntry& e, std::uint32_t crc) {
    Put16(out, kVersion);
    Put16(out, 0);  // flags
    Put16(out, 0);  // method: stored
    Put16(out, kDosTime);
    Put16(out, kDosDate);
    Put32(out, crc);
    Put32(out, static_cast<std::uint32_t>(e.bytes.size()));  // compressed
    Put32(out, static_cast<std::uint32_t>(e.bytes.size()));  // uncompressed
    Put16(out, static_cast<std::uint32_t>(e.name.size()));
    Put16(out, 0);  // extra field length
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes) {
    const std::array<std::uint32_t, 256>& table = CrcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char b : bytes) c = table[(c ^ static_cast<unsigned char>(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::string StoredZip(std::initializer_list<ZipEntry> entries) {
    std::size_t size = 22;
    for (const ZipEntry& e : entries) size += 30 + 46 + 2 * e.name.size() + e.bytes.size();
    std::string out;
    out.reserve(size);
    std::vector<std::uint32_t> crcs, offsets;
    for (const ZipEntry& e : entries) {
        crcs.push_back(Crc32(e.bytes));
        offsets.push_back(static_cast<std::uint32_t>(out.size()));
        Put32(out, 0x04034B50);
        PutCommon(out, e, crcs.back());
        out += e.name;
        out += e.bytes;
    }
    const auto directory = static_cast<std::uint32_t>(out.size());
    std::size_t i = 0;
    for (const ZipEntry& e : entries) {
        Put32(out, 0x02014B50);
        Put16(out, kVersion);  // made by: MS-DOS attributes, version 1.0
        PutCommon(out, e, crcs[i]);
        Put16(out, 0);  // comment length
        Put16(out, 0);  // disk number
        Put16(out, 0);  // internal attributes
        Put32(out, 0);  // external attributes
        Put32(out, offsets[i++]);
        out += e.name;
    }
    const auto count = static_cast<std::uint32_t>(entries.size());
    const auto directorySize = static_cast<std::uint32_t>(out.size()) - directory;
    Put32(out, 0x06054B50);
    Put16(out, 0);  // this disk
    Put16(out, 0);  // the directory's disk
    Put16(out, count);
    Put16(out, count);
    Put32(out, directorySize);
    Put32(out, directory);
    Put16(out, 0);  // comment length
    return out;
}

}  // namespace bitwell
