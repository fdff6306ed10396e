// The Windows and Mac code pages that RTF text bytes are written in, decoded through ICU.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <unordered_map>

struct UConverter;

// The code page an RTF font charset (\fcharsetN) stands for, or 0 when the document's own applies.
int codePageForCharset(int charset);

// Decodes byte runs in any number of code pages, keeping one converter per code page.
class RtfCodePages
{
public:
    RtfCodePages();
    ~RtfCodePages();
    RtfCodePages(const RtfCodePages&) = delete;
    RtfCodePages& operator=(const RtfCodePages&) = delete;

    // Invalid sequences become U+FFFD; an unknown code page reads as Windows-1252.
    QString decode(const QByteArray& bytes, int codePage);

private:
    struct Closer
    {
        void operator()(UConverter* converter) const;
    };
    using Converter = std::unique_ptr<UConverter, Closer>;
    UConverter* converterFor(int codePage);

    std::unordered_map<int, Converter> m_converters;
};
