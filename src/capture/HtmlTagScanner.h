// Splits HTML into text and tags exactly where Qt's HTML importer (QTextDocument::setHtml) does, so
// that whatever is decided about the tags holds for the importer too: every "<" opens a tag, white
// space may follow it, a name may be quoted, and a quoted attribute value may hold a ">".
#pragma once

#include <QString>

class HtmlTagScanner
{
public:
    struct Token
    {
        enum class Kind { Text, StartTag, EndTag, Declaration }; // Declaration: comments, <!DOCTYPE ...>
        Kind kind = Kind::Text;
        qsizetype begin = 0; // the token is html[begin, end)
        qsizetype end = 0;
        QString name;                 // lower case, as the importer reads it; empty for text
        bool isSelfClosing = false;   // a "/" stands between the name and the closing ">"
        bool isNameUncertain = false; // the name holds a character reference the importer decodes
    };

    explicit HtmlTagScanner(const QString& html) : m_html(html) {}

    // The next token; false at the end of the text.
    bool next(Token& token);

private:
    QString word(bool* hasReference);
    void attributes();
    void skipSpace();
    bool at(QChar c) const { return m_position < m_html.size() && m_html.at(m_position) == c; }

    const QString& m_html;
    qsizetype m_position = 0;
};
