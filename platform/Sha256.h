#pragma once
// SHA-256 (FIPS 180-4), for the fingerprint of a data file kept in the archive.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velkor {

class Sha256 {
public:
    Sha256();
    void Add(const void* data, std::size_t size);
    void Add(std::string_view text) { Add(text.data(), text.size()); }
    // 64 lower-case hex digits. Ends the hashing: Add is not called after it.
    std::string Hex();

private:
    void Block(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> buffer_{};
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0; // bytes
};

// The SHA-256 of a file's content, read through the file seam. Raises InOutError like a read.
std::string Sha256OfFile(const std::string& path);

} // namespace velkor
