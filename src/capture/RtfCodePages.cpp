// Code page numbers to ICU converters.
#include "capture/RtfCodePages.h"

#include <QList>
#include <unicode/ucnv.h>

int codePageForCharset(int charset)
{
    switch (charset) {
    case 0:
    case 2: // symbol fonts: their bytes are read as ANSI
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

void RtfCodePages::Closer::operator()(UConverter* converter) const
{
    ucnv_close(converter);
}

RtfCodePages::RtfCodePages() = default;
RtfCodePages::~RtfCodePages() = default;

UConverter* RtfCodePages::converterFor(int codePage)
{
    if (const auto found = m_converters.find(codePage); found != m_converters.end()) {
        return found->second.get();
    }
    QList<QByteArray> names;
    if (codePage == 10000) {
        names = {"macintosh"};
    } else if (codePage == 65001) {
        names = {"UTF-8"};
    } else {
        const QByteArray number = QByteArray::number(codePage);
        names = {"windows-" + number, "cp" + number, "ibm-" + number};
    }
    Converter converter;
    for (const QByteArray& name : names) {
        UErrorCode status = U_ZERO_ERROR;
        converter.reset(ucnv_open(name.constData(), &status));
        if (U_SUCCESS(status) && converter) {
            break;
        }
        converter.reset();
    }
    if (!converter) {
        // Unknown code pages fall back to ANSI rather than losing the text.
        UConverter* fallback = codePage == 1252 ? nullptr : converterFor(1252);
        m_converters.emplace(codePage, nullptr);
        return fallback;
    }
    return m_converters.emplace(codePage, std::move(converter)).first->second.get();
}

QString RtfCodePages::decode(const QByteArray& bytes, int codePage)
{
    if (bytes.isEmpty()) {
        return {};
    }
    UConverter* converter = converterFor(codePage);
    if (!converter) {
        converter = converterFor(1252);
    }
    if (!converter) {
        return QString::fromLatin1(bytes);
    }
    // Single- and double-byte code pages never make more UTF-16 code units than bytes.
    const auto capacity = static_cast<int32_t>(bytes.size()) + 1;
    QString text(capacity, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(converter, reinterpret_cast<UChar*>(text.data()), capacity, bytes.constData(),
                                         static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status) || length > capacity) {
        return QString::fromLatin1(bytes);
    }
    text.truncate(length);
    return text;
}
