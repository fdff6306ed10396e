// One pass over the importer's own tokens with a stack of the open elements, never deeper than the
// limit, that places each element where the importer would and says so in the markup it writes.
#include "capture/HtmlSimplifier.h"

#include "capture/HtmlTagScanner.h"

#include <QHash>
#include <initializer_list>
#include <vector>

namespace HtmlSimplifier {
namespace {
using Token = HtmlTagScanner::Token;

// A table cell costs the importer about as much as five hundred elements placed one level deep.
constexpr qint64 cellWork = 500;

const QString fragmentStart = QStringLiteral("<!--StartFragment-->");
const QString blockStart = QStringLiteral("<div>");
const QString blockEnd = QStringLiteral("</div>");

bool is(const QString& name, std::initializer_list<const char16_t*> names)
{
    for (const char16_t* candidate : names) {
        if (name == QStringView(candidate)) {
            return true;
        }
    }
    return false;
}

bool isListPart(const QString& name)
{
    return is(name, {u"ul", u"ol", u"menu", u"dir", u"li"});
}

bool isTablePart(const QString& name)
{
    return is(name, {u"table", u"thead", u"tbody", u"tfoot", u"caption", u"tr", u"td", u"th"});
}

// The parts of a table that hold rows or cells, not content.
bool isTableFrame(const QString& name)
{
    return is(name, {u"table", u"thead", u"tbody", u"tfoot", u"tr"});
}

// Open slots an element needs below the limit: a table is only worth opening with room for a row and a
// cell, because Qt drops text that sits in a table outside any cell.
int slotsNeeded(const QString& name)
{
    if (is(name, {u"table", u"tbody", u"thead", u"tfoot"})) {
        return 3;
    }
    return name == u"tr" ? 2 : 1;
}

// Whether the importer reads "</name>" back as an end tag of exactly this name.
bool canWriteEndTag(const QString& name)
{
    if (name.isEmpty() || name.front() == u'"' || name.front() == u'\'') {
        return false;
    }
    for (const QChar c : name) {
        if (c.isSpace() || c == u'<' || c == u'>' || c == u'=' || c == u'/' || c == u'&') {
            return false;
        }
    }
    return true;
}

class Simplifier
{
public:
    Simplifier(const QString& html, int limit) : m_html(html), m_limit(limit) { m_out.reserve(html.size()); }

    Simplified run()
    {
        HtmlTagScanner scanner(m_html);
        Token token;
        while (scanner.next(token)) {
            if (m_inStyle) {
                m_inStyle = !(token.kind == Token::Kind::EndTag && token.name == u"style");
                continue;
            }
            switch (token.kind) {
            case Token::Kind::Text:
                m_out += source(token);
                break;
            case Token::Kind::StartTag:
                startTag(token);
                break;
            case Token::Kind::EndTag:
                endTag(token);
                break;
            case Token::Kind::Declaration:
                // Kept for the white space the importer drops after them; but a fragment marker would
                // make it cut the markup again, where this pass did not.
                m_out += source(token).contains(fragmentStart) ? QStringView(u"<!---->") : source(token);
                break;
            }
        }
        // Nor may a marker hide in an attribute: the importer looks for it anywhere. (A tag ends at the
        // marker's ">" or after it, so the space changes nothing else.)
        m_out.replace(fragmentStart, QStringLiteral("<!--StartFragment-- >"));
        return Simplified{m_out, m_work};
    }

private:
    QStringView source(const Token& token) const
    {
        return QStringView(m_html).sliced(token.begin, token.end - token.begin);
    }

    void startTag(const Token& token)
    {
        const QString& name = token.name;
        // A name the importer decodes from a character reference is not ours to guess: left out.
        if (token.isNameUncertain || name == u"img") {
            return; // a picture is U+FFFC in the text, which is dropped anyway
        }
        if (name == u"style") {
            // Qt applies every rule of a style sheet to every element; the text does not need them.
            m_inStyle = !token.isSelfClosing;
            return;
        }
        if (name.isEmpty() || is(name, {u"br", u"hr", u"meta"}) || token.isSelfClosing) {
            // Nothing the importer keeps open; a list or table part closed at once holds nothing.
            if (!isListPart(name) && !isTablePart(name)) {
                m_out += source(token);
            }
            return;
        }
        // Every element this pass closes, it closes in writing too: one whose end tag the importer
        // would not read back as its own (a name holding "/" or a quote) is left out.
        if (!canWriteEndTag(name)) {
            return;
        }
        // Where the importer places the element, made explicit, so that it does the same with what we write.
        if (is(name, {u"td", u"th"})) {
            // Without an open row the importer puts a new table around the cell, even inside a table;
            // there a row is enough, and keeps the cell in that table.
            const QStringList around = innermostIsTableFrame()
                                           ? QStringList{QStringLiteral("tr")}
                                           : QStringList{QStringLiteral("table"), QStringLiteral("tr")};
            if (const qsizetype row = nearest({u"tr"}); row >= 0) {
                closeTo(row + 1);
            } else if (!openAll(around, name)) {
                ++m_dropped[name];
                return;
            }
        } else if (name == u"tr") {
            if (nearest({u"table"}) < 0 && !openAll({QStringLiteral("table")}, name)) {
                ++m_dropped[name];
                return;
            }
            closeTo(nearest({u"table", u"thead", u"tbody", u"tfoot"}) + 1);
        } else if (is(name, {u"thead", u"tbody", u"tfoot", u"caption"})) {
            // Outside a table the importer closes everything and makes nothing of it.
            const qsizetype table = nearest({u"table"});
            closeTo(table + 1);
            if (table < 0) {
                ++m_dropped[name];
                return;
            }
        } else if (name == u"dt") {
            closeTo(nearest({u"dl"}) + 1);
        } else if (name == u"dd") {
            closeTo(nearest({u"dt", u"dl"}) + 1);
        } else if (is(name, {u"li", u"p"}) && !m_open.empty() && m_open.back() == name) {
            pop();
        } else if (name == u"body") {
            while (!m_open.empty() && m_open.back() == u"head") {
                pop();
            }
        }
        // Anything else directly in a table, outside its cells, is no part of it: the importer would
        // place it (a table included) wherever its cursor happens to be, nested deeper each time.
        if (!fits({}, name) || (!isTablePart(name) && innermostIsTableFrame()) ||
            (name == u"table" && innermostIsTableFrame())) {
            ++m_dropped[name];
            return;
        }
        // Table parts are written bare: a style could make the importer place them elsewhere.
        if (isListPart(name)) {
            push(name, blockStart);
        } else if (isTablePart(name)) {
            push(name, QLatin1Char('<') + name + QLatin1Char('>'));
        } else {
            push(name, source(token));
        }
    }

    void endTag(const Token& token)
    {
        const QString& name = token.name;
        if (token.isNameUncertain || name.isEmpty()) {
            return;
        }
        if (auto dropped = m_dropped.find(name); dropped != m_dropped.end() && *dropped > 0) {
            --*dropped;
            return;
        }
        const qsizetype match = nearest(name);
        if (match < 0) {
            return; // closes nothing: the importer ignores it too
        }
        closeTo(match + 1);
        if (isListPart(name) || isTablePart(name)) {
            pop();
        } else {
            m_open.pop_back();
            m_out += source(token);
        }
    }

    bool innermostIsTableFrame() const { return !m_open.empty() && isTableFrame(m_open.back()); }

    // Whether `opening` and then `name` fit under the depth and table limits.
    bool fits(const QStringList& opening, const QString& name) const
    {
        const qsizetype tables = opening.count(QStringLiteral("table")) + (name == u"table" ? 1 : 0);
        return qsizetype(m_open.size()) + opening.size() + slotsNeeded(name) <= m_limit &&
               m_tables + tables <= maxTableDepth;
    }

    // Opens the elements the importer would add around `name`, when they and it fit.
    bool openAll(const QStringList& opening, const QString& name)
    {
        if (!fits(opening, name)) {
            return false;
        }
        for (const QString& element : opening) {
            push(element, QLatin1Char('<') + element + QLatin1Char('>'));
        }
        return true;
    }

    void push(const QString& name, QStringView tag)
    {
        m_open.push_back(name);
        m_out += tag;
        m_tables += name == u"table" ? 1 : 0;
        m_work += qint64(m_open.size()) + (is(name, {u"td", u"th"}) ? cellWork : 0);
    }

    // Closes the innermost element, in writing: the importer then closes the same one.
    void pop()
    {
        const QString& name = m_open.back();
        if (isListPart(name)) {
            m_out += blockEnd;
        } else {
            m_out += QStringLiteral("</") + name + QLatin1Char('>');
        }
        m_tables -= name == u"table" ? 1 : 0;
        m_open.pop_back();
    }

    void closeTo(qsizetype depth)
    {
        while (qsizetype(m_open.size()) > depth) {
            pop();
        }
    }

    // The index of the innermost open element of one of these names, or -1.
    qsizetype nearest(std::initializer_list<const char16_t*> names) const
    {
        for (qsizetype i = qsizetype(m_open.size()) - 1; i >= 0; --i) {
            if (is(m_open[size_t(i)], names)) {
                return i;
            }
        }
        return -1;
    }
    qsizetype nearest(const QString& name) const
    {
        for (qsizetype i = qsizetype(m_open.size()) - 1; i >= 0; --i) {
            if (m_open[size_t(i)] == name) {
                return i;
            }
        }
        return -1;
    }

    const QString& m_html;
    const int m_limit;
    QString m_out;
    std::vector<QString> m_open;
    qsizetype m_tables = 0;
    qint64 m_work = 0;
    bool m_inStyle = false;
    QHash<QString, int> m_dropped; // start tags left out, by name, whose end tags are still to come
};
} // namespace

Simplified simplify(const QString& html, int depthLimit)
{
    return Simplifier(html, depthLimit).run();
}

QString simplifyForImport(const QString& html, int depthLimit)
{
    return simplify(html, depthLimit).html;
}
} // namespace HtmlSimplifier
