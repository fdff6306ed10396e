// Grapheme cluster boundaries from ICU's character break iterator.
#include "capture/Graphemes.h"

#include <memory>
#include <unicode/brkiter.h>

namespace {
// Creating an iterator loads rules; each thread keeps one.
icu::BreakIterator* characterBreaks()
{
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> created(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(created) : nullptr;
    }();
    return iterator.get();
}

// Calls `visit` with the end of each cluster until it returns false; false when ICU is unavailable.
template <typename Visit> bool forEachBoundary(const QString& text, Visit visit)
{
    icu::BreakIterator* breaks = characterBreaks();
    if (!breaks) {
        return false;
    }
    const icu::UnicodeString subject(false, reinterpret_cast<const UChar*>(text.utf16()),
                                     static_cast<int32_t>(text.size()));
    breaks->setText(subject);
    for (int32_t end = breaks->next(); end != icu::BreakIterator::DONE; end = breaks->next()) {
        if (!visit(end)) {
            break;
        }
    }
    breaks->setText(icu::UnicodeString()); // drop the alias of `text`
    return true;
}
} // namespace

qsizetype graphemeCount(const QString& text)
{
    qsizetype count = 0;
    if (!forEachBoundary(text, [&count](int32_t) {
            ++count;
            return true;
        })) {
        return text.size();
    }
    return count;
}

namespace {
// `text` up to the end of its last cluster that `keep` accepts (given the cluster's number, from 1,
// and its end), the clusters after the first refused left out; without ICU, its first `fallback`
// code units.
template <typename Keep> QString leadingClusters(const QString& text, Keep keep, qsizetype fallback)
{
    qsizetype count = 0;
    qsizetype cut = 0;
    if (!forEachBoundary(text, [&](int32_t end) {
            if (!keep(++count, end)) {
                return false;
            }
            cut = end;
            return true;
        })) {
        return text.left(fallback);
    }
    return text.left(cut);
}
} // namespace

QString firstGraphemes(const QString& text, qsizetype limit)
{
    // A cluster is at least one code unit, so shorter text cannot hold more clusters than the limit.
    if (text.size() <= limit) {
        return text;
    }
    if (limit <= 0) {
        return {};
    }
    return leadingClusters(
        text, [limit](qsizetype count, int32_t) { return count <= limit; }, text.size());
}

QString graphemesWithin(const QString& text, qsizetype maxLength)
{
    if (text.size() <= maxLength) {
        return text;
    }
    if (maxLength <= 0) {
        return {};
    }
    // Without ICU at least no surrogate pair is split.
    const qsizetype fallback = text.at(maxLength - 1).isHighSurrogate() ? maxLength - 1 : maxLength;
    return leadingClusters(
        text, [maxLength](qsizetype, int32_t end) { return end <= maxLength; }, fallback);
}
