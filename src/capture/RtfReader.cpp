// From read RTF to plain text and to a QTextDocument.
#include "capture/RtfReader.h"

#include "capture/OfflineTextDocument.h"
#include "capture/RtfParser.h"

#include <QTextCursor>

namespace RtfReader {
namespace {
QTextCharFormat charFormat(const RtfStyle& style)
{
    QTextCharFormat format;
    if (!style.fontFamily.isEmpty()) {
        format.setFontFamilies({style.fontFamily});
    }
    format.setFontPointSize(style.pointSize);
    format.setFontWeight(style.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(style.italic);
    format.setFontUnderline(style.underline);
    format.setFontStrikeOut(style.strikeOut);
    if (style.verticalShift != 0) {
        format.setVerticalAlignment(style.verticalShift > 0 ? QTextCharFormat::AlignSuperScript
                                                            : QTextCharFormat::AlignSubScript);
    }
    if (style.foreground.isValid()) {
        format.setForeground(style.foreground);
    }
    if (style.background.isValid()) {
        format.setBackground(style.background);
    }
    return format;
}
} // namespace

std::optional<QString> plainText(const QByteArray& rtf)
{
    const auto text = RtfParser::parse(rtf, RtfParser::Detail::textOnly);
    if (!text) {
        return std::nullopt;
    }
    // Other programs expect plain newlines, not Unicode line separators.
    return text->text().replace(QChar(0x2028), QLatin1Char('\n'));
}

std::unique_ptr<QTextDocument> toDocument(const QByteArray& rtf)
{
    const auto text = RtfParser::parse(rtf, RtfParser::Detail::styled);
    if (!text) {
        return nullptr;
    }
    return toDocument(*text);
}

std::unique_ptr<QTextDocument> toDocument(const RtfText& text)
{
    auto document = std::make_unique<OfflineTextDocument>();
    QTextCursor cursor(document.get());
    for (const RtfRun& run : text.runs) {
        const QTextCharFormat format = charFormat(run.style);
        // insertText turns "\n" into a new block; the line separator stays a line break in its block.
        cursor.insertText(run.text, format);
    }
    return document;
}
} // namespace RtfReader
