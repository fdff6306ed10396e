// The popup view on the offscreen platform: keys through its window, clicks on cards, the empty
// state, and a strip that builds only the cards in view and keeps them in place when the history
// changes.
#include "popup/ui/PopupView.h"

#include "CardParts.h"
#include "history/ClipboardStore.h"
#include "popup/PopupViewModel.h"
#include "popup/RelativeAge.h"
#include "popup/ui/CardStripView.h"
#include "popup/ui/EmptyStateView.h"
#include "popup/ui/KeyHandlingView.h"
#include "popup/ui/SearchBarView.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWindow>
#include <gtest/gtest.h>

namespace {
class PopupViewTest : public ::testing::Test
{
protected:
    void fill(int count)
    {
        for (int i = count; i >= 1; --i) {
            store.add(textItem(QStringLiteral("entry %1").arg(i)));
        }
    }

    void show()
    {
        view = std::make_unique<PopupView>(
            store,
            [this](const ClipboardItem& item, bool plain) {
                picks.append({item.text.value_or(""), plain});
            },
            [this] { ++dismissals; }, PopupView::Services{{}, [this] { return optionHeld; }, true});
        view->resize(1200, 320);
        view->show();
        ASSERT_TRUE(waitUntil([this] { return view->windowHandle() && view->windowHandle()->isExposed(); }));
    }

    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString())
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(view->windowHandle(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QCoreApplication::sendEvent(view->windowHandle(), &release);
    }

    void click(QWidget* target, const QPointF& at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton, modifiers);
        QCoreApplication::sendEvent(target, &move);
        QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          modifiers);
        QCoreApplication::sendEvent(target, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            modifiers);
        QCoreApplication::sendEvent(target, &release);
    }

    // The centre of a part of the card at `position` on the strip, as its card finds it.
    QPointF partOnScreen(int position, ClipboardCardView::Part part)
    {
        const QRectF frame = view->strip()->cardFrame(position);
        const ClipboardCardView card(view->model().filtered().at(position), position + 1, false, {}, {}, age,
                                     QDateTime::currentDateTimeUtc());
        return onScreen(frame.topLeft() + partBounds(card, frame.size(), part, true).center());
    }

    QPointF onScreen(const QPointF& content) const
    {
        return content - QPointF(view->strip()->horizontalScrollBar()->value(), 0);
    }

    FakeEnvironment env;
    ClipboardStore store{env.historyFolder(), env.platform.scheduler, [] { return std::int64_t(2000); }};
    std::unique_ptr<PopupView> view;
    QList<std::pair<QString, bool>> picks;
    int dismissals = 0;
    bool optionHeld = false;
    RelativeAge age{QStringLiteral("en_US")};
};

TEST_F(PopupViewTest, KeysDriveSelectionPicksAndTheSearchField)
{
    fill(3);
    show();
    QLineEdit* field = view->searchBar()->field();
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(view->searchBar()->countLabel()->text(), QStringLiteral("3 items"));

    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(view->model().selection(), 2);
    key(Qt::Key_Left);
    EXPECT_EQ(view->model().selection(), 1);
    key(Qt::Key_Return);
    key(Qt::Key_3, Qt::NoModifier, QStringLiteral("3"));
    key(Qt::Key_5, Qt::NoModifier, QStringLiteral("5")); // three cards only: swallowed
    EXPECT_EQ(field->text(), QString());
    ASSERT_EQ(picks.size(), 2);
    EXPECT_EQ(picks[0].first, QStringLiteral("entry 2"));
    EXPECT_EQ(picks[1].first, QStringLiteral("entry 3"));

    key(Qt::Key_E, Qt::NoModifier, QStringLiteral("e"));
    key(Qt::Key_3, Qt::NoModifier, QStringLiteral("3"));
    EXPECT_EQ(field->text(), QStringLiteral("e3")) << "digits type once the query holds text";
    key(Qt::Key_Backspace, Qt::NoModifier);
    EXPECT_EQ(field->text(), QStringLiteral("e")) << "plain Backspace edits the search";
    optionHeld = true;
    key(Qt::Key_2, Qt::ControlModifier | Qt::AltModifier);
    ASSERT_EQ(picks.size(), 3);
    EXPECT_EQ(picks[2], std::make_pair(QStringLiteral("entry 2"), true)) << "Control+Alt+digit picks as plain text";

    key(Qt::Key_Escape);
    EXPECT_EQ(dismissals, 1);
}

TEST_F(PopupViewTest, DeleteKeysRemoveTheSelectedCard)
{
    fill(3);
    show();
    key(Qt::Key_Right);
    key(Qt::Key_Delete);
    EXPECT_EQ(store.items().size(), 2);
    EXPECT_EQ(view->model().filtered().at(view->model().selection()).text, QStringLiteral("entry 3"));
    key(Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(store.items().size(), 1);
    EXPECT_EQ(view->searchBar()->countLabel()->text(), QStringLiteral("1 item"));
}

TEST_F(PopupViewTest, EmptyAndNoMatchStates)
{
    show();
    EXPECT_TRUE(view->isShowingEmptyState());
    EXPECT_EQ(view->emptyState()->text(), QStringLiteral("Nothing copied yet"));
    fill(1);
    EXPECT_FALSE(view->isShowingEmptyState()) << "follows the store while open";
    view->searchBar()->field()->setText(QStringLiteral("xyz"));
    EXPECT_TRUE(view->isShowingEmptyState());
    EXPECT_EQ(view->emptyState()->text(), QStringLiteral("No matches for \"xyz\""));
}

TEST_F(PopupViewTest, ClearAllHistoryKeepsPinnedEntries)
{
    fill(3);
    store.togglePin(store.items().at(2));
    show();
    QList<QAction*> entries = view->searchBar()->menu()->actions();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries.at(0)->text(), QStringLiteral("Clear All History"));
    entries.at(0)->trigger(); // no confirmation
    ASSERT_EQ(store.items().size(), 1);
    EXPECT_TRUE(store.items().at(0).isPinned);
    EXPECT_EQ(view->searchBar()->countLabel()->text(), QStringLiteral("1 item"));
}

TEST_F(PopupViewTest, ClicksPickCardsAndHoverButtonsPinAndDelete)
{
    fill(3);
    show();
    CardStripView* strip = view->strip();
    const QRectF second = strip->cardFrame(1);
    click(strip->viewport(), onScreen(second.center()));
    click(strip->viewport(), onScreen(second.center()), Qt::ShiftModifier);
    ASSERT_EQ(picks.size(), 2);
    EXPECT_EQ(picks[0], std::make_pair(QStringLiteral("entry 2"), false));
    EXPECT_EQ(picks[1], std::make_pair(QStringLiteral("entry 2"), true)) << "Shift+click picks as plain text";
    EXPECT_EQ(view->model().selection(), 0) << "a click picks without moving the selection";

    click(strip->viewport(), partOnScreen(1, ClipboardCardView::Part::pinButton));
    EXPECT_TRUE(store.items().at(0).isPinned);
    EXPECT_EQ(store.items().at(0).text, QStringLiteral("entry 2"));
    EXPECT_EQ(picks.size(), 2) << "the pin button does not pick";
    EXPECT_EQ(view->model().separatorPosition(), 1);

    click(strip->viewport(), partOnScreen(2, ClipboardCardView::Part::deleteButton));
    EXPECT_EQ(store.items().size(), 2);
}

TEST_F(PopupViewTest, OnlyCardsInViewAreBuiltAndTheSelectionIsCentred)
{
    fill(1000);
    show();
    CardStripView* strip = view->strip();
    EXPECT_LE(strip->builtCardCount(), 10);
    EXPECT_GT(strip->builtCardCount(), 2);

    view->model().setSelection(500);
    ASSERT_TRUE(waitUntil([&] { return strip->horizontalScrollBar()->value() == strip->centredOffset(500); }));
    const QRectF frame = strip->cardFrame(500);
    EXPECT_NEAR(frame.center().x() - strip->horizontalScrollBar()->value(), strip->viewport()->width() / 2.0, 1);
    EXPECT_LE(strip->builtCardCount(), 10);
    const auto [first, last] = strip->visibleRange();
    EXPECT_LE(first, 500);
    EXPECT_GE(last, 500);
}

TEST_F(PopupViewTest, ChangesOfTheHistoryLeaveTheCardsInViewWhereTheyAre)
{
    fill(60);
    show();
    CardStripView* strip = view->strip();
    QScrollBar* bar = strip->horizontalScrollBar();
    store.add(textItem(QStringLiteral("seen at the start")));
    EXPECT_EQ(bar->value(), 0) << "a strip at its start stays there, the new card in view";
    bar->setValue(bar->maximum() / 2); // the user scrolled with the wheel
    // Each card in view: its text and where it stands on screen.
    const auto inView = [&] {
        QList<std::pair<QString, double>> cards;
        for (int position : strip->cardsInView()) {
            cards.append(
                {*view->model().filtered().at(position).text, strip->cardFrame(position).left() - bar->value()});
        }
        return cards;
    };
    const auto before = inView();
    ASSERT_GE(before.size(), 3);
    store.add(textItem(QStringLiteral("a new copy")));
    EXPECT_EQ(inView(), before) << "a new copy";
    store.togglePin(store.items().at(50));
    EXPECT_EQ(inView(), before) << "a pin of a card out of view (the separator appears)";
    store.remove(view->model().filtered().at(strip->cardsInView().first() - 3));
    EXPECT_EQ(inView(), before) << "a deletion";

    // The first card in view pinned goes to the top; the others stay where they were.
    store.togglePin(view->model().filtered().at(strip->cardsInView().first()));
    EXPECT_EQ(inView().mid(1), before.mid(1));

    const PopupViewModel& model = view->model();
    EXPECT_EQ(model.filtered().at(model.selection()).text, QStringLiteral("entry 1")) << "still selected";
    key(Qt::Key_Left); // moving the selection centres it
    ASSERT_TRUE(waitUntil([&] { return bar->value() == strip->centredOffset(model.selection()); }));
}
} // namespace
