// Fuzzes the RTF reader: plain text and the styled document from arbitrary bytes.
#include "FuzzSupport.h"
#include "capture/RtfParser.h"
#include "capture/RtfReader.h"

#include <QTextDocument>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto plain = RtfReader::plainText(bytes);
    const auto styled = RtfParser::parse(bytes);
    if (plain.has_value() != styled.has_value()) {
        __builtin_trap(); // both readings must agree on whether the bytes are RTF
    }
    if (styled) {
        RtfReader::toDocument(*styled)->toPlainText();
    }
    return 0;
}
