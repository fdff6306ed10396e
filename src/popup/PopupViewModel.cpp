// Filtering, selection arithmetic and the repair of the selection after a deletion.
#include "popup/PopupViewModel.h"

#include "history/ClipboardStore.h"

#include <algorithm>

namespace {
bool matches(const ClipboardItem& item, const QString& needle)
{
    // Case-insensitive search instead of lower-casing every text at every keystroke: long texts
    // would be copied a thousand times per key.
    const auto has = [&needle](const QString& haystack) { return haystack.contains(needle, Qt::CaseInsensitive); };
    if (item.text && has(*item.text)) {
        return true;
    }
    if (item.sourceAppName && has(*item.sourceAppName)) {
        return true;
    }
    if (has(item.displayTitle())) {
        return true;
    }
    if (item.filePaths) {
        return std::any_of(item.filePaths->begin(), item.filePaths->end(), has);
    }
    return false;
}

bool isBlankOrTab(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}
} // namespace

PopupViewModel::PopupViewModel(ClipboardStore& store, PickHandler onPick, std::function<void()> onDismiss,
                               std::function<bool()> isOptionHeld, QObject* parent)
    : QObject(parent), m_store(store), m_onPick(std::move(onPick)), m_onDismiss(std::move(onDismiss)),
      m_isOptionHeld(std::move(isOptionHeld)), m_filtered(store.items())
{
    connect(&m_store, &ClipboardStore::itemsChanged, this, &PopupViewModel::historyChanged);
}

QList<ClipboardItem> PopupViewModel::filter(const QList<ClipboardItem>& items, const QString& query)
{
    const QString needle = query.trimmed();
    if (needle.isEmpty()) {
        return items;
    }
    QList<ClipboardItem> kept;
    for (const ClipboardItem& item : items) {
        if (matches(item, needle)) {
            kept.append(item);
        }
    }
    return kept;
}

void PopupViewModel::setQuery(const QString& query)
{
    if (query == m_query) {
        return;
    }
    m_query = query;
    m_filtered = filter(m_store.items(), m_query);
    m_selection = 0;
    emit filteredChanged(ListChange::search);
    emit selectionChanged();
}

void PopupViewModel::historyChanged()
{
    // A new copy, a pin or a deletion moves cards about; the one the user selected stays selected.
    const QUuid selectedId =
        m_selection >= 0 && m_selection < m_filtered.size() ? m_filtered.at(m_selection).id : QUuid();
    m_filtered = filter(m_store.items(), m_query);
    const auto found = std::find_if(m_filtered.cbegin(), m_filtered.cend(),
                                    [&selectedId](const ClipboardItem& item) { return item.id == selectedId; });
    if (!selectedId.isNull() && found != m_filtered.cend()) {
        m_selection = static_cast<int>(found - m_filtered.cbegin());
    } else {
        m_selection = std::max(0, std::min(static_cast<int>(m_filtered.size()) - 1, m_selection));
    }
    emit filteredChanged(ListChange::history);
}

void PopupViewModel::setSelection(int selection)
{
    if (selection == m_selection) {
        return;
    }
    m_selection = selection;
    emit selectionChanged();
}

void PopupViewModel::moveLeft()
{
    const int n = static_cast<int>(m_filtered.size());
    if (n > 0) {
        setSelection(std::max(std::min(m_selection - 1, n - 1), 0));
    }
}

void PopupViewModel::moveRight()
{
    const int n = static_cast<int>(m_filtered.size());
    if (n > 0) {
        setSelection(std::max(std::min(m_selection + 1, n - 1), 0));
    }
}

void PopupViewModel::activate(int position)
{
    if (position >= 0 && position < m_filtered.size() && m_onPick) {
        m_onPick(m_filtered.at(position), isOptionHeld());
    }
}

void PopupViewModel::clickItem(const ClipboardItem& item, Qt::KeyboardModifiers modifiers)
{
    const bool plainOnly = isOptionHeld() || modifiers.testAnyFlags(Qt::AltModifier | Qt::ShiftModifier);
    if (m_onPick) {
        m_onPick(item, plainOnly);
    }
}

void PopupViewModel::pickDigit(int digit)
{
    activate(digit - 1);
}

void PopupViewModel::deleteCurrent()
{
    if (m_selection >= 0 && m_selection < m_filtered.size()) {
        deleteItem(m_filtered.at(m_selection));
    }
}

void PopupViewModel::deleteItem(const ClipboardItem& item)
{
    // The store tells us of the change, and the selection follows as for any change of the history:
    // a card before the selected one goes, the same card stays selected; the selected card goes,
    // the next one (or the new last one) takes its place.
    m_store.remove(item);
}

void PopupViewModel::togglePin(const ClipboardItem& item)
{
    m_store.togglePin(item);
}

void PopupViewModel::clearAll()
{
    m_store.clearAll();
}

void PopupViewModel::dismiss()
{
    if (m_onDismiss) {
        m_onDismiss();
    }
}

bool PopupViewModel::digitPasteEnabled() const
{
    return std::all_of(m_query.cbegin(), m_query.cend(), isBlankOrTab);
}

int PopupViewModel::separatorPosition() const
{
    int pinned = 0;
    while (pinned < m_filtered.size() && m_filtered.at(pinned).isPinned) {
        ++pinned;
    }
    return pinned >= 1 && pinned < m_filtered.size() ? pinned : -1;
}

QString PopupViewModel::countLabel() const
{
    const qsizetype count = m_filtered.size();
    return QString::number(count) + QStringLiteral(" item") + (count == 1 ? QString() : QStringLiteral("s"));
}

QString PopupViewModel::emptyStateText() const
{
    if (m_query.isEmpty()) {
        return QStringLiteral("Nothing copied yet");
    }
    return QStringLiteral("No matches for \"") + m_query + QLatin1Char('"');
}
