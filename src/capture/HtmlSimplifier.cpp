// One linear scan over the tags with a stack of the open elements, never deeper than the limit.
#include "capture/HtmlSimplifier.h"

#include <QHash>
#include <QSet>
#include <vector>

namespace HtmlSimplifier {
namespace {
const QString blockStart = QStringLiteral("<div>");
const QString blockEnd = QStringLiteral("</div>");

bool isVoid(const QString& name)
{
    static const QSet<QString> names{
        QStringLiteral("area"),  QStringLiteral("base"), QStringLiteral("br"),    QStringLiteral("col"),
        QStringLiteral("embed"), QStringLiteral("hr"),   QStringLiteral("img"),   QStringLiteral("input"),
        QStringLiteral("link"),  QStringLiteral("meta"), QStringLiteral("param"), QStringLiteral("source"),
        QStringLiteral("track"), QStringLiteral("wbr"),
    };
    return names.contains(name);
}

bool isList(const QString& name)
{
    return name == u"ul" || name == u"ol" || name == u"menu" || name == u"dir";
}

bool isListPart(const QString& name)
{
    return isList(name) || name == u"li";
}

// Elements that a start tag of `name` closes when one of them is the innermost open element.
const QSet<QString>& closedBy(const QString& name)
{
    static const QHash<QString, QSet<QString>> rules{
        {QStringLiteral("li"), {QStringLiteral("li")}},
        {QStringLiteral("p"), {QStringLiteral("p")}},
        {QStringLiteral("td"), {QStringLiteral("td"), QStringLiteral("th")}},
        {QStringLiteral("th"), {QStringLiteral("td"), QStringLiteral("th")}},
        {QStringLiteral("tr"), {QStringLiteral("td"), QStringLiteral("th"), QStringLiteral("tr")}},
        {QStringLiteral("dt"), {QStringLiteral("dt"), QStringLiteral("dd")}},
        {QStringLiteral("dd"), {QStringLiteral("dt"), QStringLiteral("dd")}},
        {QStringLiteral("option"), {QStringLiteral("option")}},
    };
    static const QSet<QString> none;
    const auto found = rules.constFind(name);
    return found == rules.constEnd() ? none : *found;
}

// Open slots an element needs below the limit: a table is only worth opening with room for a row group, a
// row and a cell, because Qt drops text that sits in a table outside any cell.
int slotsNeeded(const QString& name)
{
    if (name == u"table") {
        return 4;
    }
    if (name == u"tbody" || name == u"thead" || name == u"tfoot") {
        return 3;
    }
    return name == u"tr" ? 2 : 1;
}

bool isNameCharacter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u':';
}

class Simplifier
{
public:
    Simplifier(const QString& html, int limit) : m_html(html), m_limit(limit) { m_out.reserve(html.size()); }

    QString run()
    {
        const qsizetype size = m_html.size();
        qsizetype copied = 0; // m_html before this index is in m_out
        qsizetype position = m_html.indexOf(u'<');
        while (position >= 0) {
            if (QStringView(m_html).sliced(position).startsWith(u"<!--")) {
                const qsizetype end = m_html.indexOf(u"-->", position + 4);
                position = end < 0 ? -1 : m_html.indexOf(u'<', end + 3);
                continue;
            }
            qsizetype cursor = position + 1;
            const bool isEnd = cursor < size && m_html[cursor] == u'/';
            cursor += isEnd ? 1 : 0;
            const qsizetype nameStart = cursor;
            while (cursor < size && isNameCharacter(m_html[cursor])) {
                ++cursor;
            }
            const qsizetype tagEnd = m_html.indexOf(u'>', cursor);
            if (tagEnd < 0) {
                break;
            }
            if (cursor > nameStart) {
                m_out += QStringView(m_html).sliced(copied, position - copied);
                copied = tagEnd + 1;
                const QString name = m_html.sliced(nameStart, cursor - nameStart).toLower();
                const QStringView tag = QStringView(m_html).sliced(position, tagEnd + 1 - position);
                const bool selfClosing = m_html[tagEnd - 1] == u'/';
                if (isEnd) {
                    endTag(name, tag);
                } else if (isVoid(name) || selfClosing) {
                    m_out += isListPart(name) ? QStringView() : tag;
                } else {
                    startTag(name, tag);
                }
            }
            position = m_html.indexOf(u'<', tagEnd + 1);
        }
        m_out += QStringView(m_html).sliced(copied);
        return m_out;
    }

private:
    void startTag(const QString& name, QStringView tag)
    {
        const QSet<QString>& closes = closedBy(name);
        while (!m_open.empty() && closes.contains(m_open.back())) {
            pop();
        }
        if (static_cast<int>(m_open.size()) + slotsNeeded(name) > m_limit) {
            ++m_dropped[name];
            return;
        }
        m_open.push_back(name);
        m_out += isListPart(name) ? QStringView(blockStart) : tag;
    }

    void endTag(const QString& name, QStringView tag)
    {
        if (auto dropped = m_dropped.find(name); dropped != m_dropped.end() && *dropped > 0) {
            --*dropped;
            return;
        }
        qsizetype match = static_cast<qsizetype>(m_open.size()) - 1;
        while (match >= 0 && m_open[static_cast<size_t>(match)] != name) {
            --match;
        }
        if (match < 0) {
            // A stray end tag: harmless to Qt, unless it is a list's, which as a block end could close a
            // real block.
            m_out += isListPart(name) ? QStringView() : tag;
            return;
        }
        while (static_cast<qsizetype>(m_open.size()) > match + 1) {
            pop();
        }
        m_open.pop_back();
        m_out += isListPart(name) ? QStringView(blockEnd) : tag;
    }

    // Closes the innermost element; only list parts need their end written, Qt closes the others itself.
    void pop()
    {
        if (isListPart(m_open.back())) {
            m_out += blockEnd;
        }
        m_open.pop_back();
    }

    const QString& m_html;
    const int m_limit;
    QString m_out;
    std::vector<QString> m_open;
    QHash<QString, int> m_dropped; // start tags left out, by name, whose end tags are still to come
};
} // namespace

QString simplifyForImport(const QString& html, int depthLimit)
{
    return Simplifier(html, depthLimit).run();
}
} // namespace HtmlSimplifier
