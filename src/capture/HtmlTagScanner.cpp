// The rules below are those of Qt's HTML parser (QTextHtmlParser), token by token.
#include "capture/HtmlTagScanner.h"

#include <algorithm>

void HtmlTagScanner::skipSpace()
{
    // The importer skips any white space here but the paragraph separator.
    while (m_position < m_html.size() && m_html.at(m_position).isSpace() &&
           m_html.at(m_position) != QChar::ParagraphSeparator) {
        ++m_position;
    }
}

QString HtmlTagScanner::word(bool* hasReference)
{
    const qsizetype size = m_html.size();
    QString word;
    if (at(u'"')) {
        ++m_position;
        while (m_position < size) {
            const QChar c = m_html.at(m_position++);
            if (c == u'"') {
                break;
            }
            *hasReference = *hasReference || c == u'&';
            word += c;
        }
    } else if (at(u'\'')) {
        ++m_position;
        while (m_position < size) {
            const QChar c = m_html.at(m_position++);
            // A quote after a backslash does not end the word.
            if (c == u'\'' && m_html.at(m_position - 2) != u'\\') {
                break;
            }
            word += c;
        }
    } else {
        while (m_position < size) {
            const QChar c = m_html.at(m_position);
            if (c == u'>' || (c == u'/' && m_position + 1 < size && m_html.at(m_position + 1) == u'>') || c == u'<' ||
                c == u'=' || c.isSpace()) {
                break;
            }
            ++m_position;
            *hasReference = *hasReference || c == u'&';
            word += c;
        }
    }
    return word;
}

void HtmlTagScanner::attributes()
{
    bool ignored = false;
    while (m_position < m_html.size()) {
        skipSpace();
        if (at(u'>') || at(u'/')) {
            return;
        }
        if (word(&ignored).isEmpty()) {
            return;
        }
        skipSpace();
        if (at(u'=')) {
            ++m_position;
            skipSpace();
            word(&ignored);
        }
    }
}

bool HtmlTagScanner::next(Token& token)
{
    const qsizetype size = m_html.size();
    if (m_position >= size) {
        return false;
    }
    token = Token();
    token.begin = m_position;
    if (m_html.at(m_position) != u'<') {
        const qsizetype tag = m_html.indexOf(u'<', m_position);
        m_position = tag < 0 ? size : tag;
        token.end = m_position;
        return true;
    }
    ++m_position;
    skipSpace();
    if (at(u'!')) {
        token.kind = Token::Kind::Declaration;
        ++m_position;
        if (QStringView(m_html).sliced(m_position).startsWith(u"--")) {
            const qsizetype close = m_html.indexOf(u"-->", m_position + 2);
            m_position = close < 0 ? size : close + 3;
        } else {
            const qsizetype close = m_html.indexOf(u'>', m_position);
            m_position = close < 0 ? size : close + 1;
        }
    } else if (at(u'/')) {
        token.kind = Token::Kind::EndTag;
        ++m_position;
        token.name = word(&token.isNameUncertain).toLower().trimmed();
        const qsizetype close = m_html.indexOf(u'>', m_position);
        m_position = close < 0 ? size : close + 1;
    } else {
        token.kind = Token::Kind::StartTag;
        token.name = word(&token.isNameUncertain).toLower();
        // Attributes need white space after the name; their values decide where the tag ends.
        if (m_position < size && m_html.at(m_position).isSpace()) {
            attributes();
        }
        while (m_position < size && m_html.at(m_position) != u'>') {
            token.isSelfClosing = token.isSelfClosing || m_html.at(m_position) == u'/';
            ++m_position;
        }
        m_position = std::min(m_position + 1, size);
    }
    token.end = m_position;
    return true;
}
