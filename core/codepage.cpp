#include "codepage.h"

#include <cerrno>
#include <iconv.h>

namespace quill {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// One iconv descriptor per thread and direction: a descriptor keeps shift state and must not
// be used by two threads at once.
class IconvHolder final {
  public:
    IconvHolder(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~IconvHolder() {
        if (valid()) {
            iconv_close(m_cd);
        }
    }
    IconvHolder(const IconvHolder&) = delete;
    IconvHolder& operator=(const IconvHolder&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return m_cd; }

  private:
    iconv_t m_cd;
};

// Runs `cd` over `input`; on an input unit it cannot convert it appends `replacement` to the
// output and skips `skip` input bytes.
std::string Transcode(const IconvHolder& cd, const std::string& input, std::size_t skip,
                      const std::string& replacement) {
    std::string output;
    if (input.empty()) {
        return output;
    }
    if (!cd.valid()) {
        return replacement;
    }
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    output.resize(input.size() * 2 + 16);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t done = 0;
    while (inLeft > 0) {
        char* out = output.data() + done;
        std::size_t outLeft = output.size() - done;
        const std::size_t result = iconv(cd.get(), &in, &inLeft, &out, &outLeft);
        done = output.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            output.resize(output.size() * 2);
            continue;
        }
        // EILSEQ or EINVAL: an input unit that cannot be converted, or one cut off at the end.
        const std::size_t step = inLeft < skip ? inLeft : skip;
        in += step;
        inLeft -= step;
        output.replace(done, replacement.size(), replacement);
        done += replacement.size();
        if (done + 16 > output.size()) {
            output.resize(output.size() * 2 + 16);
        }
    }
    output.resize(done);
    return output;
}

std::u32string DecodeUtf8(const std::string& utf8) {
    std::u32string result;
    result.reserve(utf8.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char lead = bytes[i];
        int length = 0;
        char32_t value = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            result.push_back(lead);
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, value = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, value = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, value = lead & 0x07, minimum = 0x10000;
        }
        int taken = 1;
        while (length > 0 && taken < length && i + taken < n && (bytes[i + taken] & 0xC0) == 0x80) {
            value = (value << 6) | (bytes[i + taken] & 0x3F);
            ++taken;
        }
        const bool wellFormed = length > 0 && taken == length && value >= minimum &&
                                value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF);
        result.push_back(wellFormed ? value : kReplacement);
        i += wellFormed ? length : taken;
    }
    return result;
}

std::string EncodeUtf8(const std::u32string& text) {
    std::string result;
    result.reserve(text.size());
    for (char32_t c : text) {
        if (c < 0x80) {
            result.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            result.push_back(static_cast<char>(0xC0 | (c >> 6)));
            result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            result.push_back(static_cast<char>(0xE0 | (c >> 12)));
            result.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            result.push_back(static_cast<char>(0xF0 | (c >> 18)));
            result.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return result;
}

std::u32string DecodeUtf16(const std::u16string& text) {
    std::u32string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            result.push_back(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            result.push_back(kReplacement);
        } else {
            result.push_back(unit);
        }
    }
    return result;
}

std::u16string EncodeUtf16(const std::u32string& text) {
    std::u16string result;
    result.reserve(text.size());
    for (char32_t c : text) {
        if (c >= 0x10000) {
            result.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            result.push_back(static_cast<char16_t>(c));
        }
    }
    return result;
}

Text EncodeGbk(const std::u32string& text) {
    thread_local const IconvHolder cd("CP936", "UTF-32LE");
    std::string input;
    input.reserve(text.size() * 4);
    for (char32_t c : text) {
        for (int shift = 0; shift < 32; shift += 8) {
            input.push_back(static_cast<char>((c >> shift) & 0xFF));
        }
    }
    return Transcode(cd, input, 4, "?");
}

} // namespace

std::string ConvertGbkToUtf8(const Text& gbk) {
    thread_local const IconvHolder cd("UTF-8", "CP936");
    return Transcode(cd, gbk, 1, EncodeUtf8(std::u32string(1, kReplacement)));
}

Text ConvertUtf8ToGbk(const std::string& utf8) {
    return EncodeGbk(DecodeUtf8(utf8));
}

std::u16string ConvertGbkToUtf16(const Text& gbk) {
    return ConvertUtf8ToUtf16(ConvertGbkToUtf8(gbk));
}

Text ConvertUtf16ToGbk(const std::u16string& utf16) {
    return EncodeGbk(DecodeUtf16(utf16));
}

std::u16string ConvertUtf8ToUtf16(const std::string& utf8) {
    return EncodeUtf16(DecodeUtf8(utf8));
}

std::string ConvertUtf16ToUtf8(const std::u16string& utf16) {
    return EncodeUtf8(DecodeUtf16(utf16));
}

} // namespace quill

namespace quill {

Text Gbk(const char* utf8) {
    return ConvertUtf8ToGbk(utf8);
}

} // namespace quill
