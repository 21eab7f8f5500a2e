#include "gbk.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace {

std::optional<std::string> convert(std::string_view input, const char* from, const char* to) {
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("no text conversion from ") + from + " to " + to);
    std::string output(input.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(input.data()); // iconv's interface is not const-correct
    size_t inLeft = input.size();
    char* out = output.data();
    size_t outLeft = output.size();
    const size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == static_cast<size_t>(-1) || inLeft != 0)
        return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

size_t utf8SequenceLength(unsigned char lead) {
    return lead < 0xc0 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
}

} // namespace

std::string utf8ToGbkNearest(std::string_view utf8) {
    iconv_t converter = iconv_open("GBK//TRANSLIT", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("no text conversion from UTF-8 to GBK");
    std::string output;
    char buffer[256];
    char* in = const_cast<char*>(utf8.data()); // iconv's interface is not const-correct
    size_t inLeft = utf8.size();
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
        output.append(buffer, size_t(out - buffer));
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            // A character with no form at all, or bytes that are no UTF-8: one mark for it.
            const size_t skipped =
                std::min(inLeft, utf8SequenceLength(static_cast<unsigned char>(*in)));
            in += skipped;
            inLeft -= skipped;
            output += '?';
        }
    }
    iconv_close(converter);
    return output;
}

std::string utf8ToGbk(std::string_view utf8) {
    auto gbk = convert(utf8, "UTF-8", "GBK");
    if (!gbk)
        throw std::invalid_argument("text has no GBK form: " + std::string(utf8));
    return *gbk;
}

std::optional<std::string> gbkToUtf8(std::string_view gbk) {
    return convert(gbk, "GBK", "UTF-8");
}
