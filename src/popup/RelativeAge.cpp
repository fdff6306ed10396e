// ICU's relative date-time formatter with the unit picked from a calendar difference, as the
// platform formatters do: the first of years, months, weeks, days, hours, minutes and seconds that
// is not zero.
#include "popup/RelativeAge.h"

#include <unicode/calendar.h>
#include <unicode/reldatefmt.h>
#include <unicode/unistr.h>

struct RelativeAge::Formatter
{
    icu::Locale locale;
    std::unique_ptr<icu::RelativeDateTimeFormatter> formatter;
    std::unique_ptr<icu::Calendar> calendar;
};

RelativeAge::RelativeAge(const QString& locale) : m_formatter(std::make_unique<Formatter>())
{
    m_formatter->locale = locale.isEmpty() ? icu::Locale::getDefault() : icu::Locale(locale.toLatin1().constData());
    UErrorCode status = U_ZERO_ERROR;
    m_formatter->formatter = std::make_unique<icu::RelativeDateTimeFormatter>(
        m_formatter->locale, nullptr, UDAT_STYLE_LONG, UDISPCTX_CAPITALIZATION_NONE, status);
    if (U_FAILURE(status)) {
        m_formatter->formatter.reset();
    }
    status = U_ZERO_ERROR;
    m_formatter->calendar.reset(icu::Calendar::createInstance(m_formatter->locale, status));
    if (U_FAILURE(status)) {
        m_formatter->calendar.reset();
    }
}

RelativeAge::~RelativeAge() = default;

QString RelativeAge::format(const QDateTime& date, const QDateTime& now) const
{
    if (!m_formatter->formatter || !m_formatter->calendar || !date.isValid() || !now.isValid()) {
        return QString();
    }
    const bool past = date < now;
    const UDate from = static_cast<UDate>((past ? date : now).toMSecsSinceEpoch());
    const UDate to = static_cast<UDate>((past ? now : date).toMSecsSinceEpoch());

    struct Unit
    {
        UCalendarDateFields field;
        URelativeDateTimeUnit unit;
    };
    static constexpr Unit units[] = {
        {UCAL_YEAR, UDAT_REL_UNIT_YEAR},         {UCAL_MONTH, UDAT_REL_UNIT_MONTH},
        {UCAL_WEEK_OF_YEAR, UDAT_REL_UNIT_WEEK}, {UCAL_DATE, UDAT_REL_UNIT_DAY},
        {UCAL_HOUR_OF_DAY, UDAT_REL_UNIT_HOUR},  {UCAL_MINUTE, UDAT_REL_UNIT_MINUTE},
        {UCAL_SECOND, UDAT_REL_UNIT_SECOND},
    };
    icu::Calendar& calendar = *m_formatter->calendar;
    UErrorCode status = U_ZERO_ERROR;
    calendar.setTime(from, status);
    int32_t amount = 0;
    URelativeDateTimeUnit unit = UDAT_REL_UNIT_SECOND;
    // fieldDifference moves the calendar forward by the whole units it counts, so each smaller
    // unit measures only what the larger ones left.
    for (const Unit& candidate : units) {
        const int32_t difference = calendar.fieldDifference(to, candidate.field, status);
        if (U_FAILURE(status)) {
            return QString();
        }
        if (difference != 0) {
            amount = difference;
            unit = candidate.unit;
            break;
        }
    }
    icu::UnicodeString text;
    // A negative zero still reads as the past: a copy made half a second ago is "0 seconds ago".
    const double offset = past ? -static_cast<double>(amount) : static_cast<double>(amount);
    m_formatter->formatter->formatNumeric(offset, unit, text, status);
    if (U_FAILURE(status)) {
        return QString();
    }
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}
