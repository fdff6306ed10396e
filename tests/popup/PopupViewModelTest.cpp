// Filtering, selection moves, deletion repair, labels and the pinned separator of the popup.
#include "popup/PopupViewModel.h"

#include "history/ClipboardStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
struct Pick
{
    QString text;
    bool plainOnly;
};

class PopupViewModelTest : public ::testing::Test
{
protected:
    // Fills the store so that its order is exactly `items` (top first).
    void fill(const QList<ClipboardItem>& items)
    {
        for (auto it = items.crbegin(); it != items.crend(); ++it) {
            ClipboardItem copy = *it;
            copy.isPinned = false;
            store.add(copy);
            if (it->isPinned) {
                store.togglePin(copy);
            }
        }
        ASSERT_EQ(store.items().size(), items.size());
        model.setSelection(0); // as the popup opens on this history
    }

    QStringList texts(const QList<ClipboardItem>& items) const
    {
        QStringList out;
        for (const ClipboardItem& item : items) {
            out << item.text.value_or(QString());
        }
        return out;
    }

    FakeEnvironment env;
    ClipboardStore store{env.historyFolder(), env.platform.scheduler, [] { return std::int64_t(1000); }};
    QList<Pick> picks;
    bool optionHeld = false;
    PopupViewModel model{store,
                         [this](const ClipboardItem& item, bool plainOnly) {
                             picks.append({item.text.value_or(QString()), plainOnly});
                         },
                         [] {}, [this] { return optionHeld; }};
};

TEST_F(PopupViewModelTest, FiltersCaseInsensitivelyOverTextAppNameTitleAndPaths)
{
    ClipboardItem fromSafari = textItem(QStringLiteral("nothing here"));
    fromSafari.sourceAppName = QStringLiteral("SAFARI");
    ClipboardItem files;
    files.kind = ClipboardKind::file;
    files.filePaths = QStringList{QStringLiteral("/home/u/Projects/report.pdf")};
    ClipboardItem color;
    color.kind = ClipboardKind::color;
    color.colorHex = QStringLiteral("#FF0000");
    color.sourceBundleID = QStringLiteral("org.safari.bundle");
    const QList<ClipboardItem> items{textItem(QStringLiteral("Hello World")), fromSafari, files, color};

    EXPECT_EQ(PopupViewModel::filter(items, QStringLiteral("  \n ")).size(), 4) << "blank query keeps everything";
    EXPECT_EQ(texts(PopupViewModel::filter(items, QStringLiteral("WORLD"))), QStringList{"Hello World"});
    EXPECT_EQ(PopupViewModel::filter(items, QStringLiteral("safari")).size(), 1) << "app name, not bundle id";
    EXPECT_EQ(PopupViewModel::filter(items, QStringLiteral("projects")).size(), 1) << "file paths";
    EXPECT_EQ(PopupViewModel::filter(items, QStringLiteral("color")).size(), 1) << "display title";
    EXPECT_EQ(PopupViewModel::filter(items, QStringLiteral("#ff0000")).size(), 0) << "colour hex is not searched";
    EXPECT_EQ(PopupViewModel::filter(items, QStringLiteral(" hello ")).size(), 1) << "query is trimmed";
}

TEST_F(PopupViewModelTest, TypingResetsSelectionAndEmptyStateTextsFollowTheQuery)
{
    fill({textItem("alpha"), textItem("beta"), textItem("gamma")});
    model.setSelection(2);
    model.setQuery(QStringLiteral("a"));
    EXPECT_EQ(model.selection(), 0);
    EXPECT_EQ(model.countLabel(), QStringLiteral("3 items"));
    model.setQuery(QStringLiteral("alp"));
    EXPECT_EQ(model.countLabel(), QStringLiteral("1 item"));
    model.setQuery(QStringLiteral("zz "));
    EXPECT_EQ(model.countLabel(), QStringLiteral("0 items"));
    EXPECT_EQ(model.emptyStateText(), QStringLiteral("No matches for \"zz \""));
    model.setQuery(QString());
    EXPECT_EQ(model.emptyStateText(), QStringLiteral("Nothing copied yet"));
    model.setQuery(QStringLiteral("   "));
    EXPECT_EQ(model.filtered().size(), 3);
}

TEST_F(PopupViewModelTest, ArrowsStopAtBothEnds)
{
    fill({textItem("a"), textItem("b"), textItem("c")});
    model.moveLeft();
    EXPECT_EQ(model.selection(), 0);
    model.moveRight();
    model.moveRight();
    model.moveRight();
    EXPECT_EQ(model.selection(), 2);
    model.moveLeft();
    EXPECT_EQ(model.selection(), 1);

    // With nothing shown the selection does not move at all.
    model.setQuery(QStringLiteral("nothing matches"));
    model.moveRight();
    EXPECT_EQ(model.selection(), 0);
}

TEST_F(PopupViewModelTest, DeletionKeepsTheSameCardSelectedOrTheNewLastOne)
{
    fill({textItem("a"), textItem("b"), textItem("c"), textItem("d")});
    model.setSelection(2); // c
    model.deleteItem(model.filtered().at(0));
    EXPECT_EQ(model.filtered().at(model.selection()).text, QStringLiteral("c"));

    model.setSelection(2); // d, the last card
    model.deleteCurrent();
    EXPECT_EQ(texts(model.filtered()), (QStringList{"b", "c"}));
    EXPECT_EQ(model.selection(), 1);

    model.deleteItem(model.filtered().at(1));
    model.deleteItem(model.filtered().at(0));
    EXPECT_TRUE(model.filtered().isEmpty());
    EXPECT_EQ(model.selection(), 0);
}

TEST_F(PopupViewModelTest, ChangesOfTheHistoryKeepTheSelectedCardWithoutMovingTheSelection)
{
    fill({textItem("a"), textItem("b"), textItem("c")});
    int moves = 0;
    QObject::connect(&model, &PopupViewModel::selectionChanged, [&moves] { ++moves; });
    model.setSelection(1); // b
    moves = 0;
    store.add(textItem("new"));
    store.togglePin(store.items().at(3)); // c goes to the top
    EXPECT_EQ(texts(model.filtered()), (QStringList{"c", "new", "a", "b"}));
    EXPECT_EQ(model.filtered().at(model.selection()).text, QStringLiteral("b"));
    EXPECT_EQ(moves, 0) << "the strip is not told to move";
}

TEST_F(PopupViewModelTest, DeletingAnItemOutsideTheFilterStillRemovesItFromTheStore)
{
    fill({textItem("apple"), textItem("banana"), textItem("avocado")});
    model.setQuery(QStringLiteral("a"));
    model.setQuery(QStringLiteral("av"));
    const ClipboardItem banana = store.items().at(1);
    model.deleteItem(banana);
    EXPECT_EQ(store.items().size(), 2);
    EXPECT_EQ(model.selection(), 0);
}

TEST_F(PopupViewModelTest, PicksHonourBoundsAndTheOptionKey)
{
    fill({textItem("a"), textItem("b"), textItem("c")});
    model.pickDigit(3);
    model.pickDigit(5); // only three cards: nothing
    model.activate(-1);
    model.clickItem(store.items().at(0), Qt::ControlModifier);
    model.clickItem(store.items().at(0), Qt::AltModifier); // the click's own state, where Alt+click arrives
    optionHeld = true;
    model.setSelection(1);
    model.activate(model.selection());
    ASSERT_EQ(picks.size(), 4);
    EXPECT_EQ(picks[0].text, QStringLiteral("c"));
    EXPECT_FALSE(picks[0].plainOnly);
    EXPECT_FALSE(picks[1].plainOnly);
    EXPECT_TRUE(picks[2].plainOnly);
    EXPECT_EQ(picks[3].text, QStringLiteral("b"));
    EXPECT_TRUE(picks[3].plainOnly);
}

TEST_F(PopupViewModelTest, DigitsPickOnlyWhileTheQueryHoldsNothingButBlanks)
{
    EXPECT_TRUE(model.digitPasteEnabled());
    model.setQuery(QStringLiteral(" \t "));
    EXPECT_TRUE(model.digitPasteEnabled());
    model.setQuery(QStringLiteral("\n"));
    EXPECT_FALSE(model.digitPasteEnabled()) << "line breaks count as text here";
    model.setQuery(QStringLiteral("ab"));
    EXPECT_FALSE(model.digitPasteEnabled());
}

TEST_F(PopupViewModelTest, SeparatorStandsBeforeTheFirstUnpinnedCard)
{
    fill({textItem("p1", true), textItem("p2", true), textItem("u1"), textItem("u2")});
    ASSERT_TRUE(store.items().at(0).isPinned && store.items().at(1).isPinned);
    EXPECT_EQ(model.separatorPosition(), 2);

    model.setQuery(QStringLiteral("p")); // only the pinned ones are left
    EXPECT_EQ(model.filtered().size(), 2);
    EXPECT_EQ(model.separatorPosition(), -1);

    model.setQuery(QStringLiteral("u"));
    EXPECT_EQ(model.separatorPosition(), -1) << "no pinned card before the unpinned ones";
}
} // namespace
