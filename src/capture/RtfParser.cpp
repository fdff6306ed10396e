// A single-pass RTF interpreter: an explicit group stack, no recursion, every count clamped.
#include "capture/RtfParser.h"

#include "capture/RtfCodePages.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <map>
#include <vector>

namespace RtfParser {
namespace {
constexpr int maxControlWordLength = 32;
constexpr qsizetype maxFontNameLength = 256;
constexpr qsizetype maxTableEntries = 4096;
constexpr int defaultFontSize = 24; // half-points

enum class Destination { text, skipped, fontTable, colorTable };

struct GroupState
{
    Destination destination = Destination::text;
    int unicodeSkip = 1;
    int font = -1; // -1: the default font
    int fontSize = defaultFontSize;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int verticalShift = 0;
    int foreground = -1; // colour table index; -1 automatic
    int background = -1;

    void resetCharacterFormat()
    {
        font = -1;
        fontSize = defaultFontSize;
        bold = italic = underline = strikeOut = false;
        verticalShift = 0;
        foreground = background = -1;
    }
};

struct Font
{
    QString name;
    int codePage = 0; // 0: the document's
};

// Groups whose content is not text of the document.
bool isSkippedDestination(const QByteArray& word)
{
    static const QSet<QByteArray> words{
        "stylesheet",   "info",
        "pict",         "header",
        "headerl",      "headerr",
        "headerf",      "footer",
        "footerl",      "footerr",
        "footerf",      "footnote",
        "listtable",    "listoverridetable",
        "revtbl",       "rsidtbl",
        "generator",    "xmlnstbl",
        "themedata",    "colorschememapping",
        "latentstyles", "datastore",
        "filetbl",      "object",
        "objdata",      "nonshppict",
        "shppict",      "fldinst",
        "bkmkstart",    "bkmkend",
        "author",       "operator",
        "title",        "subject",
        "comment",      "doccomm",
        "keywords",     "company",
        "template",     "pgdsctbl",
        "mmathPr",      "fchars",
        "lchars",       "private",
        "pntxta",       "pntxtb",
        "xe",           "tc",
        "txe",          "atnid",
        "atnauthor",    "annotation",
        "atrfstart",    "atrfend",
        "userprops",
    };
    return words.contains(word);
}

QString specialCharacter(const QByteArray& word)
{
    static const QHash<QByteArray, QString> characters{
        {"par", QStringLiteral("\n")},         {"sect", QStringLiteral("\n")},
        {"page", QStringLiteral("\n")},        {"row", QStringLiteral("\n")},
        {"nestrow", QStringLiteral("\n")},     {"line", QString(QChar(0x2028))},
        {"tab", QStringLiteral("\t")},         {"cell", QStringLiteral("\t")},
        {"nestcell", QStringLiteral("\t")},    {"emdash", QString(QChar(0x2014))},
        {"endash", QString(QChar(0x2013))},    {"emspace", QString(QChar(0x2003))},
        {"enspace", QString(QChar(0x2002))},   {"qmspace", QString(QChar(0x2005))},
        {"bullet", QString(QChar(0x2022))},    {"lquote", QString(QChar(0x2018))},
        {"rquote", QString(QChar(0x2019))},    {"ldblquote", QString(QChar(0x201C))},
        {"rdblquote", QString(QChar(0x201D))}, {"zwj", QString(QChar(0x200D))},
        {"zwnj", QString(QChar(0x200C))},      {"ltrmark", QString(QChar(0x200E))},
        {"rtlmark", QString(QChar(0x200F))},
    };
    return characters.value(word);
}

bool isUnderlineOn(const QByteArray& word)
{
    static const QSet<QByteArray> words{"ul",         "uld",      "uldb",      "ulw",       "ulth",      "uldash",
                                        "uldashd",    "uldashdd", "ulthdash",  "ulthd",     "ulwave",    "ulhwave",
                                        "ululdbwave", "ulldash",  "ulthldash", "ulthdashd", "ulthdashdd"};
    return words.contains(word);
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

class Interpreter
{
public:
    Interpreter(const QByteArray& rtf, Detail detail) : m_data(rtf), m_styled(detail == Detail::styled) {}

    std::optional<RtfText> run()
    {
        qsizetype start = 0;
        while (start < m_data.size() && QByteArrayView(" \t\r\n").contains(m_data[start])) {
            ++start;
        }
        if (!QByteArrayView(m_data).sliced(start).startsWith("{\\rtf")) {
            return std::nullopt;
        }
        m_position = start;
        while (m_position < m_data.size()) {
            const char c = m_data[m_position++];
            switch (c) {
            case '{':
                if (!openGroup()) {
                    return std::nullopt;
                }
                break;
            case '}':
                closeGroup();
                if (m_stack.empty()) {
                    return finish(); // whatever follows the document's own group is not part of it
                }
                break;
            case '\\':
                controlSequence();
                break;
            case '\r':
            case '\n':
                break;
            case '\t':
                emitText(QStringLiteral("\t"));
                break;
            default:
                textByte(c);
                break;
            }
        }
        return finish(); // an unclosed document keeps what it had
    }

private:
    GroupState& state() { return m_stack.back(); }

    std::optional<RtfText> finish()
    {
        flushBytes();
        return std::move(m_result);
    }

    bool openGroup()
    {
        flushBytes();
        m_skip = 0;
        if (static_cast<int>(m_stack.size()) >= maxGroupDepth) {
            return false;
        }
        m_stack.push_back(m_stack.empty() ? GroupState{} : m_stack.back());
        return true;
    }

    void closeGroup()
    {
        flushBytes();
        m_skip = 0;
        if (m_stack.empty()) {
            return;
        }
        if (state().destination == Destination::fontTable) {
            commitFont();
        }
        m_stack.pop_back();
    }

    void textByte(char c)
    {
        if (m_stack.empty()) {
            return;
        }
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        if (state().destination == Destination::skipped) {
            return; // picture data and the like: often megabytes, never shown
        }
        if (c == ';' && state().destination != Destination::text) {
            flushBytes();
            if (state().destination == Destination::fontTable) {
                commitFont();
            } else if (state().destination == Destination::colorTable) {
                commitColor();
            }
            return;
        }
        if (static_cast<unsigned char>(c) < 0x20) {
            return;
        }
        m_pendingBytes.append(c);
    }

    void controlSequence()
    {
        if (m_position >= m_data.size()) {
            return;
        }
        const char c = m_data[m_position];
        if (isLetter(c)) {
            controlWord();
            return;
        }
        ++m_position;
        if (c == '\'') {
            hexByte();
            return;
        }
        if (m_stack.empty()) {
            return;
        }
        if (c == '*') {
            // An ignorable destination: nothing in it is ours to show.
            flushBytes();
            state().destination = Destination::skipped;
            return;
        }
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        switch (c) {
        case '\\':
        case '{':
        case '}':
            textByte(c);
            break;
        case '~':
            emitText(QString(QChar(0x00A0)));
            break;
        case '_':
            emitText(QString(QChar(0x2011)));
            break;
        case '\r':
        case '\n':
            emitText(QStringLiteral("\n"));
            break;
        default: // "\-" optional hyphen, "\:" index sub-entry and the like show nothing
            break;
        }
    }

    void hexByte()
    {
        int value = -1;
        if (m_position + 1 < m_data.size()) {
            const int high = hexValue(m_data[m_position]);
            const int low = hexValue(m_data[m_position + 1]);
            if (high >= 0 && low >= 0) {
                value = high * 16 + low;
                m_position += 2;
            }
        }
        if (value < 0 || m_stack.empty()) {
            return;
        }
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        if (value == 0) {
            return;
        }
        m_pendingBytes.append(static_cast<char>(value));
    }

    void controlWord()
    {
        const qsizetype nameStart = m_position;
        while (m_position < m_data.size() && isLetter(m_data[m_position])) {
            ++m_position;
        }
        const QByteArray word =
            m_data.mid(nameStart, std::min<qsizetype>(m_position - nameStart, maxControlWordLength + 1));
        bool hasParameter = false;
        qint64 parameter = 0;
        bool negative = false;
        if (m_position + 1 < m_data.size() && m_data[m_position] == '-' && isDigit(m_data[m_position + 1])) {
            negative = true;
            ++m_position;
        }
        while (m_position < m_data.size() && isDigit(m_data[m_position])) {
            hasParameter = true;
            parameter = std::min<qint64>(parameter * 10 + (m_data[m_position] - '0'), INT32_MAX);
            ++m_position;
        }
        if (m_position < m_data.size() && m_data[m_position] == ' ') {
            ++m_position;
        }
        if (m_stack.empty()) {
            return;
        }
        const int value = static_cast<int>(negative ? -parameter : parameter);

        if (word == "bin") {
            // Raw binary data follows: it is never text, and its bytes must not be read as RTF.
            flushBytes();
            m_position += std::min<qsizetype>(hasParameter ? std::max(value, 0) : 0, m_data.size() - m_position);
            if (m_skip > 0) {
                --m_skip;
            }
            return;
        }
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        flushBytes();
        if (word == "u") {
            unicodeCharacter(value);
            return;
        }
        applyWord(word, hasParameter, value);
    }

    void unicodeCharacter(int value)
    {
        if (value < 0) {
            value += 65536;
        }
        if (value > 0 && value <= 0xFFFF) {
            emitText(QString(QChar(static_cast<char16_t>(value))));
        }
        m_skip = state().unicodeSkip;
    }

    void applyWord(const QByteArray& word, bool hasParameter, int value)
    {
        GroupState& s = state();
        const bool on = !hasParameter || value != 0;
        if (word == "fonttbl") {
            s.destination = Destination::fontTable;
        } else if (word == "colortbl") {
            s.destination = Destination::colorTable;
            m_red = m_green = m_blue = -1;
        } else if (isSkippedDestination(word)) {
            s.destination = Destination::skipped;
        } else if (s.destination == Destination::fontTable) {
            fontTableWord(word, value);
        } else if (s.destination == Destination::colorTable) {
            colorTableWord(word, value);
        } else if (const QString special = specialCharacter(word); !special.isEmpty()) {
            emitText(special);
        } else if (word == "uc") {
            s.unicodeSkip = std::max(value, 0);
        } else if (word == "ansicpg") {
            if (value > 0) {
                m_documentCodePage = value;
            }
        } else if (word == "ansi") {
            m_documentCodePage = 1252;
        } else if (word == "mac") {
            m_documentCodePage = 10000;
        } else if (word == "pc") {
            m_documentCodePage = 437;
        } else if (word == "pca") {
            m_documentCodePage = 850;
        } else if (word == "deff") {
            m_defaultFont = value;
        } else if (word == "plain") {
            s.resetCharacterFormat();
        } else if (word == "f") {
            s.font = value;
        } else if (word == "fs") {
            if (value > 0) {
                s.fontSize = std::min(value, 3276);
            }
        } else if (word == "b") {
            s.bold = on;
        } else if (word == "i") {
            s.italic = on;
        } else if (word == "ulnone") {
            s.underline = false;
        } else if (isUnderlineOn(word)) {
            s.underline = on;
        } else if (word == "strike" || word == "striked") {
            s.strikeOut = on;
        } else if (word == "super") {
            s.verticalShift = 1;
        } else if (word == "sub") {
            s.verticalShift = -1;
        } else if (word == "nosupersub") {
            s.verticalShift = 0;
        } else if (word == "cf") {
            s.foreground = value;
        } else if (word == "cb" || word == "highlight" || word == "chcbpat") {
            s.background = value;
        }
    }

    void fontTableWord(const QByteArray& word, int value)
    {
        if (word == "f") {
            commitFont();
            m_fontEntry = value;
        } else if (word == "fcharset") {
            m_fontEntryCodePage = codePageForCharset(value);
        } else if (word == "cpg") {
            m_fontEntryCodePage = value > 0 ? value : 0;
        }
    }

    void colorTableWord(const QByteArray& word, int value)
    {
        const int channel = std::clamp(value, 0, 255);
        if (word == "red") {
            m_red = channel;
        } else if (word == "green") {
            m_green = channel;
        } else if (word == "blue") {
            m_blue = channel;
        }
    }

    void commitFont()
    {
        if (m_fontEntry.has_value() && (m_fonts.size() < maxTableEntries || m_fonts.contains(*m_fontEntry))) {
            Font& font = m_fonts[*m_fontEntry];
            font.name = m_fontName.trimmed();
            font.codePage = m_fontEntryCodePage;
        }
        m_fontEntry.reset();
        m_fontEntryCodePage = 0;
        m_fontName.clear();
    }

    void commitColor()
    {
        if (m_colors.size() < maxTableEntries) {
            // An entry with no components is the "automatic" colour.
            m_colors.append(m_red < 0 && m_green < 0 && m_blue < 0
                                ? QColor()
                                : QColor(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
        }
        m_red = m_green = m_blue = -1;
    }

    int codePage()
    {
        if (state().destination == Destination::fontTable && m_fontEntryCodePage > 0) {
            return m_fontEntryCodePage;
        }
        const int fontIndex = state().font >= 0 ? state().font : m_defaultFont;
        if (const auto found = m_fonts.find(fontIndex); found != m_fonts.end() && found->second.codePage > 0) {
            return found->second.codePage;
        }
        return m_documentCodePage;
    }

    void flushBytes()
    {
        if (m_pendingBytes.isEmpty() || m_stack.empty()) {
            m_pendingBytes.clear();
            return;
        }
        const QString text = m_codePages.decode(m_pendingBytes, codePage());
        m_pendingBytes.clear();
        plainCharacter(text);
    }

    // Text that is not code-page bytes: the bytes before it come first.
    void emitText(const QString& text)
    {
        flushBytes();
        plainCharacter(text);
    }

    // Text from any source; where it goes depends on the destination.
    void plainCharacter(const QString& text)
    {
        if (m_stack.empty()) {
            return;
        }
        switch (state().destination) {
        case Destination::text:
            appendText(text);
            break;
        case Destination::fontTable:
            if (m_fontName.size() < maxFontNameLength) {
                m_fontName += text.left(maxFontNameLength - m_fontName.size());
            }
            break;
        case Destination::colorTable:
        case Destination::skipped:
            break;
        }
    }

    RtfStyle currentStyle() const
    {
        const GroupState& s = m_stack.back();
        RtfStyle style;
        const int fontIndex = s.font >= 0 ? s.font : m_defaultFont;
        if (const auto found = m_fonts.find(fontIndex); found != m_fonts.end()) {
            style.fontFamily = found->second.name;
        }
        style.pointSize = s.fontSize / 2.0;
        style.bold = s.bold;
        style.italic = s.italic;
        style.underline = s.underline;
        style.strikeOut = s.strikeOut;
        style.verticalShift = s.verticalShift;
        if (s.foreground >= 0 && s.foreground < m_colors.size()) {
            style.foreground = m_colors[s.foreground];
        }
        if (s.background >= 0 && s.background < m_colors.size()) {
            style.background = m_colors[s.background];
        }
        return style;
    }

    void appendText(const QString& text)
    {
        if (text.isEmpty()) {
            return;
        }
        auto& runs = m_result.runs;
        if (!m_styled) {
            if (runs.isEmpty()) {
                runs.append(RtfRun{});
            }
            runs.last().text += text;
            return;
        }
        RtfStyle style = currentStyle();
        if (!runs.isEmpty() && (runs.last().style == style || runs.size() >= maxRuns)) {
            runs.last().text += text;
        } else {
            runs.append(RtfRun{text, std::move(style)});
        }
    }

    const QByteArray& m_data;
    const bool m_styled;
    qsizetype m_position = 0;
    std::vector<GroupState> m_stack;
    int m_skip = 0; // characters still to drop after a \u
    QByteArray m_pendingBytes;
    RtfCodePages m_codePages;
    int m_documentCodePage = 1252;
    int m_defaultFont = 0;
    std::map<int, Font> m_fonts;
    std::optional<int> m_fontEntry;
    int m_fontEntryCodePage = 0;
    QString m_fontName;
    QList<QColor> m_colors;
    int m_red = -1;
    int m_green = -1;
    int m_blue = -1;
    RtfText m_result;
};
} // namespace

std::optional<RtfText> parse(const QByteArray& rtf, Detail detail)
{
    if (rtf.size() > maxInputSize) {
        return std::nullopt;
    }
    return Interpreter(rtf, detail).run();
}
} // namespace RtfParser
