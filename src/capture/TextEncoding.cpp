// Strict decoding through ICU converters whose error callback stops at the first invalid sequence.
#include "capture/TextEncoding.h"

#include <memory>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

namespace {
const char* icuName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::utf8:
        return "UTF-8";
    case TextEncoding::utf16:
        return "UTF-16";
    case TextEncoding::utf16LE:
        return "UTF-16LE";
    case TextEncoding::utf16BE:
        return "UTF-16BE";
    case TextEncoding::macOSRoman:
        return "macintosh";
    case TextEncoding::isoLatin1:
        return "ISO-8859-1";
    }
    return "UTF-8";
}

struct ConverterCloser
{
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
} // namespace

std::optional<QString> decodeStrictly(const QByteArray& bytes, TextEncoding encoding)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterCloser> converter(ucnv_open(icuName(encoding), &status));
    if (U_FAILURE(status) || !converter) {
        return std::nullopt;
    }
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    if (bytes.size() > INT32_MAX - 1) {
        return std::nullopt;
    }
    // None of these encodings makes more UTF-16 code units than it reads bytes.
    const auto capacity = static_cast<int32_t>(bytes.size()) + 1;
    QString text(capacity, Qt::Uninitialized);
    const int32_t length = ucnv_toUChars(converter.get(), reinterpret_cast<UChar*>(text.data()), capacity,
                                         bytes.constData(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status) || length > capacity) {
        return std::nullopt;
    }
    text.truncate(length);
    return text;
}
