// The password cipher: digit groups, keystreams worked out by hand, the
// one-entry cache, and round trips over keys and texts of every byte value.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document/cipher.h"

namespace vell {
namespace {

std::vector<int> codes(const std::string& s) {
    std::vector<int> out;
    for (char c : s) out.push_back(static_cast<unsigned char>(c));
    return out;
}

TEST(DigitGroup, ValuesWorkedOutByHand) {
    // "abcdefg" has the codes 97..103:
    //   (1+97)(2+98)(3+99)(4+100)(5+101)(6+102)(7+103)
    //   = 98*100*102*104*106*108*110 = 130912733952000; + 10 = 130912733952010;
    //   the first three digits dropped: "912733952010".
    EXPECT_EQ(digit_group("abcdefg", 10), "912733952010");
    // (1+1)(2+2) + 5 = 13: three digits or fewer are kept whole.
    EXPECT_EQ(digit_group(std::string("\x01\x02", 2), 5), "13");
    // (1+0) + 999 = 1000: four digits lose three and leave one.
    EXPECT_EQ(digit_group(std::string(1, '\0'), 999), "0");
    // Seven bytes of 255: 256*257*258*259*260*261*262 = 78164167246663680,
    // beyond fifteen significant digits; every digit is written, so dropping
    // "781" leaves "64167246663680".
    EXPECT_EQ(digit_group(std::string(7, '\xff'), 0), "64167246663680");
}

TEST(Keystream, SevenCharacterKeyMakesOneGroupPerPass) {
    // Key "ABCDEFG" (65..71), text length 3: one pass (3 div 7 + 1).
    // Group bytes (1 + 256) mod (c + 1): 59 56 53 50 47 44 41.
    // (1+59)(2+56)(3+53)(4+50)(5+47)(6+44)(7+41) = 1313335296000; + 3
    // = 1313335296003 -> "3335296003". Windows of three digits:
    // 333 -> (333+256) mod 256 = 77; 335 -> 79; 352 -> 96.
    EXPECT_EQ(codes(keystream("ABCDEFG", 3)), (std::vector<int>{77, 79, 96}));
}

TEST(Keystream, EightCharacterKeyAddsAGroupOfOne) {
    // Key "ABCDEFGH", text length 10: two passes (10 div 8 + 1), but the
    // first already yields more than 10 digits.
    //   group of seven: 1313335296000 + 10 -> "3335296010"
    //   group of one, from "H" (72): (257 mod 73) = 38; (1+38) + 10 = 49 -> "49"
    // D = "333529601049" (12 digits); windows start at 1..9, then wrap to 1:
    //   333:77 335:79 352:96 529:17 296:40 960:192 601:89 010:10 104:104 333:77
    EXPECT_EQ(codes(keystream("ABCDEFGH", 10)),
              (std::vector<int>{77, 79, 96, 17, 40, 192, 89, 10, 104, 77}));
}

TEST(Keystream, ShortGroupsWrapAndZeroBytesAreReplaced) {
    // Key "AU" (65, 85), text length 5: three passes of one group of two.
    //   pass 1: 59, 85: 60*87 + 5 = 5225 -> "5"
    //   pass 2: 60, 0:  61*2  + 5 = 127  -> "127"
    //   pass 3: 61, 1:  62*3  + 5 = 191  -> "191"
    // D = "5127191"; windows start at 1..4, then wrap to 1:
    //   512 -> 768 mod 256 = 0, replaced by (k + n) = 1 + 1 = 2
    //   127 -> 127; 271 -> 15; 719 -> 207
    //   512 again (k = 1, n = 5) -> 0, replaced by 6
    EXPECT_EQ(codes(keystream("AU", 5)), (std::vector<int>{2, 127, 15, 207, 6}));
}

TEST(Keystream, CacheHoldsTheLastKeyAndLength) {
    const unsigned long before = keystreams_made();
    const std::string first = keystream("cache-key", 12);
    EXPECT_EQ(keystreams_made(), before + 1);

    // Same key and length, also through cipher(): taken from the cache.
    EXPECT_EQ(keystream("cache-key", 12), first);
    cipher(std::string(12, 'x'), "cache-key");
    EXPECT_EQ(keystreams_made(), before + 1);

    // Another length or another key is computed, and replaces the entry.
    keystream("cache-key", 13);
    EXPECT_EQ(keystreams_made(), before + 2);
    keystream("cache-kex", 13);
    EXPECT_EQ(keystreams_made(), before + 3);
    // One entry only: going back to the first pair computes it again, and
    // the result is the same keystream as before.
    EXPECT_EQ(keystream("cache-key", 12), first);
    EXPECT_EQ(keystreams_made(), before + 4);
}

TEST(Cipher, EmptyKeyLeavesTextUnchanged) {
    EXPECT_EQ(cipher("plain", ""), "plain");
    EXPECT_EQ(keystream("", 4), std::string(4, '\0'));
}

TEST(Cipher, RoundTripsOverRandomKeysAndTexts) {
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> byte(1, 255), key_length(1, 20), text_length(0, 120);
    for (int trial = 0; trial < 500; ++trial) {
        std::string key(size_t(key_length(rng)), '\0'), text(size_t(text_length(rng)), '\0');
        for (char& c : key) c = char(byte(rng));
        for (char& c : text) c = char(byte(rng) - 1);  // 0..254 in texts

        std::string enciphered = cipher(text, key);
        ASSERT_EQ(enciphered.size(), text.size());
        ASSERT_EQ(cipher(enciphered, key), text) << "trial " << trial;
        // Below 128 bytes no keystream byte is 0 (a zero is replaced by
        // k + n, at most 2 * 120), so every byte changes.
        for (size_t i = 0; i < text.size(); ++i)
            ASSERT_NE(enciphered[i], text[i]) << "trial " << trial << " byte " << i;
    }
}

TEST(Cipher, StoredPasswordDeciphersOnlyWithItself) {
    // The stored field is cipher(P, P); the check deciphers it with the
    // typed text. Keys with codes of 128 and above go through digit groups
    // beyond fifteen digits and must still agree both ways.
    for (const std::string password : {"secret", "Pass7wd", "abcdefgh", "\xe9t\xe9\xff\xfe\x80z",
                                       "twenty-characters-!!"}) {
        std::string stored = cipher(password, password);
        EXPECT_EQ(cipher(stored, password), password);
        std::string wrong = password;
        wrong[0] = char(wrong[0] ^ 0x20);  // another letter case
        EXPECT_NE(cipher(stored, wrong), password) << password;
    }
}

}  // namespace
}  // namespace vell
