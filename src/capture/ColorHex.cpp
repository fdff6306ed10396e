// Colours to and from their hexadecimal form, in sRGB with 8-bit channels.
#include "capture/ColorHex.h"

#include <cmath>

QString hexString(const QColor& color)
{
    const QColor rgb = color.toRgb();
    const auto channel = [](float value) { return static_cast<long>(std::lround(value * 255.0)); };
    const long r = channel(rgb.redF());
    const long g = channel(rgb.greenF());
    const long b = channel(rgb.blueF());
    const long a = channel(rgb.alphaF());
    const auto hex = [](long value) { return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper(); };
    QString text = QStringLiteral("#") + hex(r) + hex(g) + hex(b);
    if (a != 255) {
        text += hex(a);
    }
    return text;
}

std::optional<QColor> fromHex(const QString& text)
{
    QStringView digits(text);
    if (digits.startsWith(QLatin1Char('#'))) {
        digits = digits.mid(1);
    }
    const qsizetype length = digits.size();
    if (length != 6 && length != 8) {
        return std::nullopt;
    }
    // One leading sign is accepted by the number parser and counts toward the length; "-" only reads zero.
    bool negative = false;
    QStringView magnitude = digits;
    if (magnitude.front() == QLatin1Char('+') || magnitude.front() == QLatin1Char('-')) {
        negative = magnitude.front() == QLatin1Char('-');
        magnitude = magnitude.mid(1);
    }
    quint64 value = 0;
    for (const QChar c : magnitude) {
        const int digit = c.isDigit() && c.unicode() < 128                   ? c.unicode() - '0'
                          : (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ? c.unicode() - 'a' + 10
                          : (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ? c.unicode() - 'A' + 10
                                                                             : -1;
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<quint64>(digit);
    }
    if (negative && value != 0) {
        return std::nullopt;
    }
    const auto byte = [value](int shift) { return static_cast<float>((value >> shift) & 0xFF) / 255.0f; };
    if (length == 8) {
        return QColor::fromRgbF(byte(24), byte(16), byte(8), byte(0));
    }
    return QColor::fromRgbF(byte(16), byte(8), byte(0), 1.0f);
}
