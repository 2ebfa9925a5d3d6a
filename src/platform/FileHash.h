#pragma once

#include "platform/FileCopy.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

namespace fmb {

// What a file holds, as a record keeps it: its size and the SHA-256 of its bytes in hex.
struct ContentDigest {
    std::uint64_t size = 0;
    std::string sha256;
    bool operator==(const ContentDigest&) const = default;
};

// Reads the file once and digests it. An observer hears of each block read and may stop the
// reading (std::errc::operation_canceled).
std::error_code HashFile(const std::filesystem::path& file, ContentDigest& digest,
                         const CopyObserver& observer = {});

// Appends bytes at the end of the file (created when missing) and makes them durable before it
// returns. When they cannot all be written, the file is cut back to its earlier length, so no
// part of them stays.
std::error_code AppendDurably(const std::filesystem::path& file, std::string_view bytes);

} // namespace fmb
