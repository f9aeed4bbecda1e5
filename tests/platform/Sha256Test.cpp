// SHA-256 against the published test vectors, fed whole and in pieces of every size around
// the 64-byte block.
#include "platform/Sha256.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace velkor {
namespace {

struct Vector {
    std::string message;
    const char* digest;
};

const Vector Vectors[] = {
    {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {std::string(1'000'000, 'a'),
     "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
};

TEST(Sha256, PublishedVectorsWholeAndInPieces) {
    for (const auto& v : Vectors) {
        for (const std::size_t piece : {std::size_t{1}, std::size_t{55}, std::size_t{63},
                                        std::size_t{64}, std::size_t{65}, v.message.size()}) {
            Sha256 hash;
            for (std::size_t at = 0; at < v.message.size(); at += std::max<std::size_t>(piece, 1)) {
                hash.Add(std::string_view(v.message).substr(at, piece));
            }
            EXPECT_EQ(hash.Hex(), v.digest) << v.message.size() << " in pieces of " << piece;
        }
    }
}

TEST(Sha256, OfAFile) {
    testing::TempFolder folder;
    const auto file = folder.file("logger.txt", Vectors[3].message);
    EXPECT_EQ(Sha256OfFile(file.string()), Vectors[3].digest);
}

} // namespace
} // namespace velkor
