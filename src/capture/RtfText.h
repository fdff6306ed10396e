// Text read from RTF: the characters and the runs of character formatting laid over them.
#pragma once

#include <QColor>
#include <QList>
#include <QString>

struct RtfStyle
{
    QString fontFamily; // empty: the reader's default
    double pointSize = 12;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int verticalShift = 0; // -1 subscript, 1 superscript
    QColor foreground;     // invalid: automatic
    QColor background;     // invalid: none

    bool operator==(const RtfStyle&) const = default;
};

struct RtfRun
{
    QString text;
    RtfStyle style;
};

struct RtfText
{
    // Paragraphs end in '\n'; a line break inside a paragraph is U+2028.
    QList<RtfRun> runs;

    QString text() const;
};
