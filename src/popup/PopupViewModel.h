// The popup's state without its widgets: the search text, the filtered items and the selection,
// and the commands that keys, clicks and the menu turn into.
#pragma once

#include "history/ClipboardItem.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class ClipboardStore;

class PopupViewModel : public QObject
{
    Q_OBJECT
public:
    using PickHandler = std::function<void(const ClipboardItem& item, bool plainOnly)>;

    // `isOptionHeld` reads the Alt key's state at the moment of a pick (Alt picks as plain text).
    PopupViewModel(ClipboardStore& store, PickHandler onPick, std::function<void()> onDismiss,
                   std::function<bool()> isOptionHeld, QObject* parent = nullptr);

    // The store's items that match `query`, in store order.
    static QList<ClipboardItem> filter(const QList<ClipboardItem>& items, const QString& query);

    const QString& query() const { return m_query; }
    // Editing the search text starts the selection over at the first card.
    void setQuery(const QString& query);
    const QList<ClipboardItem>& filtered() const { return m_filtered; }
    int selection() const { return m_selection; }
    void setSelection(int selection);

    void moveLeft();
    void moveRight();
    void activate(int position);
    // A click on a card picks it, as plain text with Alt held or, where the window manager takes
    // Alt+click for itself, with Shift held.
    void clickItem(const ClipboardItem& item, Qt::KeyboardModifiers modifiers);
    void pickDigit(int digit);
    void deleteCurrent();
    void deleteItem(const ClipboardItem& item);
    void togglePin(const ClipboardItem& item);
    void clearAll();
    void dismiss();

    // Digits pick cards only while nothing is typed (spaces and tabs count as nothing).
    bool digitPasteEnabled() const;
    // The position the pinned separator stands before, or -1 when there is none.
    int separatorPosition() const;
    QString countLabel() const;
    QString emptyStateText() const;

    enum class ListChange { search, history };

signals:
    // The filtered list changed. A new search starts the selection over at the first card (and
    // `selectionChanged` follows); a change of the history keeps the selected card selected, its
    // position following it, or, when it is gone, the card now in its place.
    void filteredChanged(PopupViewModel::ListChange change);
    // The selection moved to another card by the user's doing (a move, a new search).
    void selectionChanged();

private:
    void historyChanged();
    bool isOptionHeld() const { return m_isOptionHeld && m_isOptionHeld(); }

    ClipboardStore& m_store;
    PickHandler m_onPick;
    std::function<void()> m_onDismiss;
    std::function<bool()> m_isOptionHeld;
    QString m_query;
    QList<ClipboardItem> m_filtered;
    int m_selection = 0;
};
