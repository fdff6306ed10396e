// Where a card's parts stand, without painting one: the header's buttons keep clear of the source
// icon and come only with hover, footer actions are always there, overlay actions only on hover.
#include "popup/CardGeometry.h"

#include "CardParts.h"

#include <gtest/gtest.h>

namespace {
using Part = CardGeometry::Part;
const QSizeF cardSize(220, 240);

ClipboardItem itemOf(ClipboardKind kind, std::optional<QStringList> files = std::nullopt)
{
    ClipboardItem item;
    item.kind = kind;
    item.filePaths = std::move(files);
    return item;
}

TEST(CardGeometry, HoverButtonsStandLeftOfTheSourceIconOnlyWhileHovering)
{
    const CardGeometry card(itemOf(ClipboardKind::link), 12, 1);
    EXPECT_EQ(card.hitTest(QPointF(110, 120), cardSize, true).part, Part::card);
    EXPECT_EQ(card.hitTest(QPointF(110, 241), cardSize, true).part, Part::none) << "outside the frame";

    const QRectF pin = partBounds(card, cardSize, Part::pinButton, true);
    const QRectF del = partBounds(card, cardSize, Part::deleteButton, true);
    const QRectF icon = partBounds(card, cardSize, Part::sourceIcon, true);
    ASSERT_FALSE(pin.isEmpty() || del.isEmpty() || icon.isEmpty());
    EXPECT_TRUE(partBounds(card, cardSize, Part::pinButton, false).isEmpty()) << "no buttons without hover";
    EXPECT_TRUE(partBounds(card, cardSize, Part::deleteButton, false).isEmpty());
    EXPECT_FALSE(icon.intersects(pin) || icon.intersects(del)) << "the buttons cover no part of the icon";
    EXPECT_LT(pin.right(), del.right());
    EXPECT_LE(del.bottom(), CardGeometry::headerHeight) << "in the header";
    EXPECT_EQ(partBounds(card, cardSize, Part::sourceIcon, false), icon);

    // The footer's action is there with or without hover, left of the card's number.
    const QRectF action = partBounds(card, cardSize, Part::action, false);
    ASSERT_FALSE(action.isEmpty());
    EXPECT_EQ(card.hitTest(action.center(), cardSize, false), (CardGeometry::Hit{Part::action, 0}));
    EXPECT_GT(action.top(), cardSize.height() - CardGeometry::footerSpace());
    EXPECT_LT(action.right(), cardSize.width() - CardGeometry::footerSide - 12);
}

TEST(CardGeometry, FooterlessCardsTakeTheirActionsOnlyWhileHovered)
{
    const CardGeometry color(itemOf(ClipboardKind::color), 1, 2);
    ASSERT_FALSE(color.hasFooter());
    EXPECT_TRUE(partBounds(color, cardSize, Part::action, false).isEmpty());
    const QList<QRectF> rects = color.actionRects(cardSize);
    ASSERT_EQ(rects.size(), 2);
    EXPECT_LT(rects.at(0).right(), rects.at(1).left()) << "in order, apart";
    EXPECT_TRUE(CardGeometry::bodyRect(cardSize).contains(rects.at(0) | rects.at(1)));
    EXPECT_EQ(color.hitTest(rects.at(1).center(), cardSize, true), (CardGeometry::Hit{Part::action, 1}));
    EXPECT_EQ(color.hitTest(rects.at(1).center(), cardSize, false).part, Part::card);
    EXPECT_TRUE(CardGeometry(itemOf(ClipboardKind::text), 1, 0).actionRects(cardSize).isEmpty());
}

TEST(CardGeometry, FooterByKind)
{
    for (ClipboardKind kind : {ClipboardKind::text, ClipboardKind::richText, ClipboardKind::html, ClipboardKind::link}) {
        EXPECT_TRUE(CardGeometry::hasFooter(itemOf(kind))) << rawValue(kind).toStdString();
    }
    for (ClipboardKind kind : {ClipboardKind::image, ClipboardKind::pdf, ClipboardKind::color}) {
        EXPECT_FALSE(CardGeometry::hasFooter(itemOf(kind))) << rawValue(kind).toStdString();
    }
    // A file card shows its first file's picture without a footer; any other file card has one.
    EXPECT_FALSE(CardGeometry::hasFooter(itemOf(ClipboardKind::file, QStringList{"/a/b.png", "/a/c.txt"})));
    EXPECT_TRUE(CardGeometry::hasFooter(itemOf(ClipboardKind::file, QStringList{"/a/c.txt", "/a/b.png"})));
    EXPECT_TRUE(CardGeometry::hasFooter(itemOf(ClipboardKind::file, QStringList{})));
    EXPECT_TRUE(CardGeometry::hasFooter(itemOf(ClipboardKind::file)));
}
} // namespace
