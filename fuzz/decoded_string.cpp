// Fuzzes text decoding of clipboard bytes.
#include "capture/PasteboardText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto candidates = PasteboardText::candidateEncodings(bytes);
    if (candidates.size() != 6) {
        __builtin_trap(); // the six encodings, each once, whatever the bytes
    }
    if (const auto text = PasteboardText::decodedString(bytes)) {
        if (text->isEmpty() || text->contains(QChar(0)) || PasteboardText::cleanDecodedString(*text) != *text) {
            __builtin_trap(); // a decoded string is always clean
        }
    } else if (!bytes.isEmpty() && !bytes.contains('\0')) {
        // Without any NUL, ISO 8859-1 reads every byte string; only BOMs alone can leave nothing.
        const auto latin1 = PasteboardText::cleanDecodedString(QString::fromLatin1(bytes));
        if (latin1) {
            __builtin_trap();
        }
    }
    return 0;
}
