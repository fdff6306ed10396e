// The text encodings clipboard bytes are tried in, and a decoder that refuses bytes invalid in them.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

enum class TextEncoding {
    utf8,
    utf16,   // byte-order mark honoured (and dropped); big-endian without one
    utf16LE, // a leading byte-order mark stays in the text as U+FEFF
    utf16BE,
    macOSRoman,
    isoLatin1,
};

// The text of `bytes` in `encoding`, or nothing when any byte sequence is invalid or incomplete there.
std::optional<QString> decodeStrictly(const QByteArray& bytes, TextEncoding encoding);
