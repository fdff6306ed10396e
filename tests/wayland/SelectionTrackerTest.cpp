// The data-control offer bookkeeping and the MIME mapping a Wayland change goes through.
#include "platform/MimeTypeTable.h"
#include "platform/PasteboardTypes.h"
#include "platform/wayland/SelectionTracker.h"

#include <gtest/gtest.h>

namespace {
// Distinct fake handles.
int offerA, offerB, offerC, primaryOffer, sourceOne, sourceTwo;

void* handle(int& tag)
{
    return &tag;
}

SelectionTracker::Change announce(SelectionTracker& tracker, void* offer, const QList<QByteArray>& mimes,
                                  QList<void*>* retired)
{
    tracker.offerIntroduced(offer);
    for (const QByteArray& mime : mimes) {
        tracker.mimeOffered(offer, mime);
    }
    return tracker.selection(offer, retired);
}
} // namespace

TEST(SelectionTracker, CountsEveryNewSelectionButTheOneHeldBeforeAndRetiresOldOffers)
{
    SelectionTracker tracker;
    QList<void*> retired;
    // The selection reported when the device is made was there before us: not a change.
    const auto initial = announce(tracker, handle(offerA), {"text/plain"}, &retired);
    EXPECT_FALSE(initial.counts);
    EXPECT_EQ(tracker.current(), handle(offerA));

    const auto copy = announce(tracker, handle(offerB), {"text/plain", "text/plain", "text/html", ""}, &retired);
    EXPECT_TRUE(copy.counts);
    EXPECT_FALSE(copy.ours);
    EXPECT_EQ(copy.mimeTypes, (QList<QByteArray>{"text/plain", "text/html"}));
    EXPECT_EQ(retired, QList<void*>{handle(offerA)});

    // The primary selection's offer is kept while it is the primary one, and never counted.
    retired.clear();
    tracker.offerIntroduced(handle(primaryOffer));
    tracker.primarySelection(handle(primaryOffer), &retired);
    const auto cleared = tracker.selection(nullptr, &retired);
    EXPECT_TRUE(cleared.counts);
    EXPECT_TRUE(cleared.mimeTypes.isEmpty());
    EXPECT_EQ(retired, QList<void*>{handle(offerB)});
    EXPECT_TRUE(tracker.liveOffers().contains(handle(primaryOffer)));
    retired.clear();
    tracker.primarySelection(nullptr, &retired);
    EXPECT_EQ(retired, QList<void*>{handle(primaryOffer)});
    EXPECT_TRUE(tracker.liveOffers().isEmpty());
}

TEST(SelectionTracker, OurOwnSelectionCountsOnceAndEndsWhenAnotherOwnerCancelsIt)
{
    SelectionTracker tracker;
    QList<void*> retired;
    announce(tracker, nullptr, {}, &retired);

    tracker.ownSourceSet(handle(sourceOne));
    const auto ours = announce(tracker, handle(offerA), {"UTF8_STRING", "text/plain"}, &retired);
    EXPECT_TRUE(ours.counts);
    EXPECT_TRUE(ours.ours);
    // The compositor repeating our own selection is no new change.
    const auto again = tracker.selection(handle(offerA), &retired);
    EXPECT_FALSE(again.counts);

    // Another program copies: our source is cancelled before its selection arrives.
    EXPECT_FALSE(tracker.ownSourceCancelled(handle(sourceTwo)));
    EXPECT_TRUE(tracker.ownSourceCancelled(handle(sourceOne)));
    const auto theirs = announce(tracker, handle(offerB), {"text/plain"}, &retired);
    EXPECT_TRUE(theirs.counts);
    EXPECT_FALSE(theirs.ours);

    // Two picks in a row: their selections move the counter once between them, as the monitor
    // keeps a single mark for its own change.
    tracker.ownSourceSet(handle(sourceOne));
    tracker.ownSourceSet(handle(sourceTwo));
    EXPECT_TRUE(announce(tracker, handle(offerC), {"text/plain"}, &retired).counts);
    EXPECT_FALSE(tracker.ownSourceCancelled(handle(sourceOne)));
    EXPECT_FALSE(announce(tracker, handle(offerA), {"text/plain"}, &retired).counts);
}

TEST(SelectionTracker, OffersOfWaylandOwnersMapToTheCoreTypesWithMarkersKept)
{
    // What wl-copy offers for text, and a password manager's marker: every name stays visible.
    const QStringList text = MimeTypeTable::identifiersFor(
        {"text/plain;charset=utf-8", "text/plain", "STRING", "UTF8_STRING", "TEXT", "x-kde-passwordManagerHint"});
    EXPECT_EQ(text.first(), PasteboardType::string);
    EXPECT_TRUE(text.contains(PasteboardType::plainText));
    EXPECT_TRUE(text.contains(QStringLiteral("x-kde-passwordManagerHint")));
    const QStringList image = MimeTypeTable::identifiersFor({"image/jpeg"});
    EXPECT_TRUE(image.contains(PasteboardType::png)); // read and converted
    EXPECT_TRUE(MimeTypeTable::identifiersFor({"text/uri-list"}).contains(PasteboardType::fileUrl));
}
