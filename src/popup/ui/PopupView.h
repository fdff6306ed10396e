// The popup's content: the search block above the strip of cards (or the empty state), on the
// dark material, clipped to the top-rounded shape. A new view is built at every opening.
#pragma once

#include "history/ClipboardItem.h"
#include "popup/CardContent.h"
#include "popup/PopupViewModel.h"
#include "popup/ui/VisualEffectView.h"

#include <QWidget>
#include <functional>

class CardStripView;
class ClipboardStore;
class EmptyStateView;
class KeyHandlingView;
class QStackedWidget;
class SearchBarView;

class PopupView : public QWidget
{
    Q_OBJECT
public:
    struct Services
    {
        CardActionHandlers handlers;
        std::function<bool()> isOptionHeld; // Alt held at the moment of a pick
        bool composited = true;             // false: the material is drawn opaque
    };

    PopupView(ClipboardStore& store, std::function<void(const ClipboardItem&, bool)> onPick,
              std::function<void()> onDismiss, Services services, QWidget* parent = nullptr);
    ~PopupView() override;

    PopupViewModel& model() const { return *m_model; }
    SearchBarView* searchBar() const { return m_searchBar; }
    CardStripView* strip() const { return m_strip; }
    EmptyStateView* emptyState() const { return m_emptyState; }
    KeyHandlingView* keyHandler() const { return m_keys; }
    bool isShowingEmptyState() const;
    void setComposited(bool composited);

    static constexpr double cornerRadius = 22;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void refresh(PopupViewModel::ListChange change);

    PopupViewModel* m_model = nullptr;
    SearchBarView* m_searchBar = nullptr;
    QStackedWidget* m_stack = nullptr;
    CardStripView* m_strip = nullptr;
    EmptyStateView* m_emptyState = nullptr;
    KeyHandlingView* m_keys = nullptr;
    VisualEffectView m_material{VisualEffectView::hudWindow, VisualEffectView::behindWindow};
    bool m_composited = true;
};
