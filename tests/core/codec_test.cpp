#include "core/codec.h"

#include <gtest/gtest.h>
#include <iconv.h>

namespace kelm {
namespace {

TEST(Codec, EveryWindows1251ByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Cp1251FromUtf8(Utf8FromCp1251(all)), all);
}

TEST(Codec, AgreesWithTheSystemConverter) {
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int b = 0x80; b < 256; ++b) {
        if (b == 0x98) continue;  // no character in Windows-1251
        char in[1] = {static_cast<char>(b)};
        char out[8] = {};
        char* inp = in;
        char* outp = out;
        size_t inLeft = 1, outLeft = sizeof out;
        ASSERT_NE(iconv(cd, &inp, &inLeft, &outp, &outLeft), static_cast<size_t>(-1)) << b;
        EXPECT_EQ(Utf8FromCp1251(std::string(1, static_cast<char>(b))), std::string(out, outp)) << b;
    }
    iconv_close(cd);
}

TEST(Codec, CharactersWithoutACodeBecomeQuestionMarks) {
    EXPECT_EQ(Cp1251FromUtf8("ТМ-100 日本 😀 À"), Cp1251FromUtf8("ТМ-100 ") + "?? ? ?");  // À lies among coded ones
}

TEST(Codec, MalformedUtf8IsAnError) {
    for (const char* bad : {"\xFF", "abc\xD0", "\xC0\xAF", "\xED\xA0\x80", "\xE0\x80\x80", "\xF4\x90\x80\x80"})
        EXPECT_THROW(Cp1251FromUtf8(bad), EncodingError) << bad;
}

}  // namespace
}  // namespace kelm
