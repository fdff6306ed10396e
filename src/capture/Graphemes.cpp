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

QString firstGraphemes(const QString& text, qsizetype limit)
{
    // A cluster is at least one code unit, so shorter text cannot hold more clusters than the limit.
    if (text.size() <= limit) {
        return text;
    }
    if (limit <= 0) {
        return {};
    }
    qsizetype count = 0;
    qsizetype cut = text.size();
    forEachBoundary(text, [&](int32_t end) {
        if (++count == limit) {
            cut = end;
            return false;
        }
        return true;
    });
    return text.left(cut);
}

QString graphemesWithin(const QString& text, qsizetype maxLength)
{
    if (text.size() <= maxLength) {
        return text;
    }
    if (maxLength <= 0) {
        return {};
    }
    qsizetype cut = 0;
    if (!forEachBoundary(text, [&](int32_t end) {
            if (end > maxLength) {
                return false;
            }
            cut = end;
            return true;
        })) {
        // Without ICU: at least no surrogate pair is split.
        cut = text.at(maxLength - 1).isHighSurrogate() ? maxLength - 1 : maxLength;
    }
    return text.left(cut);
}
