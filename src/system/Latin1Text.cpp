#include "system/Latin1Text.h"

#include <cstdint>

namespace Zorva {

namespace {

constexpr uint32_t kLargestCodePoint = 0x10FFFF;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

/// The length a lead byte announces, 0 for a byte that cannot start a sequence.
int SequenceLength(unsigned char lead)
{
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

} // namespace

std::string Latin1FromUtf8(std::string_view utf8)
{
    std::string text;
    text.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        const int length = SequenceLength(lead);
        if (length == 0) {
            ++at;
            continue;
        }
        if (length == 1) {
            text += static_cast<char>(lead);
            ++at;
            continue;
        }
        uint32_t codePoint = lead & (0xFFu >> (length + 1));
        int taken = 1;
        while (taken < length && at + taken < utf8.size() &&
               IsContinuation(static_cast<unsigned char>(utf8[at + taken]))) {
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(utf8[at + taken]) & 0x3F);
            ++taken;
        }
        at += taken;
        if (taken < length) {
            continue;
        }
        const bool overlong =
            (length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000);
        const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
        if (overlong || surrogate || codePoint > kLargestCodePoint) {
            continue;
        }
        if (codePoint <= 0xFF) {
            text += static_cast<char>(codePoint);
        }
    }
    return text;
}

std::string Utf8FromLatin1(std::string_view latin1)
{
    std::string text;
    text.reserve(latin1.size() * 2);
    for (const char character : latin1) {
        const auto code = static_cast<unsigned char>(character);
        if (code < 0x80) {
            text += character;
        } else {
            text += static_cast<char>(0xC0 | (code >> 6));
            text += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return text;
}

} // namespace Zorva
