// "2 minutes ago": how long ago a clip was copied, in full units and the user's language.
#pragma once

#include <QDateTime>
#include <QString>
#include <memory>

class RelativeAge
{
public:
    // `locale` is an ICU locale name ("en_US"); empty means the user's own.
    explicit RelativeAge(const QString& locale = QString());
    ~RelativeAge();
    RelativeAge(const RelativeAge&) = delete;
    RelativeAge& operator=(const RelativeAge&) = delete;

    // The largest calendar unit in which `date` and `now` differ (years, months, weeks, days,
    // hours, minutes, seconds), as a phrase: "1 hour ago", "in 3 days", "in 0 seconds".
    QString format(const QDateTime& date, const QDateTime& now) const;

private:
    struct Formatter;
    std::unique_ptr<Formatter> m_formatter;
};
