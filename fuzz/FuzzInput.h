#pragma once
// Reading a fuzzer's bytes as the values a harness needs. Doubles are taken bit for bit, so
// that NaN, the infinities, denormals and the largest values come up as often as any other.

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace velkor::fuzz {

inline double AnyDouble(FuzzedDataProvider& in) {
    return std::bit_cast<double>(in.ConsumeIntegral<std::uint64_t>());
}

// A file name private to this process, in memory when the system has /dev/shm.
inline std::string ScratchFile(const char* stem) {
    const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(folder) + "/" + stem + "-" + std::to_string(getpid());
}

// Writes bytes to a file, replacing it.
inline void WriteFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
    if (FILE* f = std::fopen(name.c_str(), "wb")) {
        if (size > 0)
            std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
}

} // namespace velkor::fuzz
