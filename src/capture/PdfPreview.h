// The first page of copied PDF data: its size in points and a picture of it for the card.
#pragma once

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <optional>

// The longer side of the first-page picture, in pixels.
inline constexpr int pdfPreviewSize = 600;

struct PdfPreview
{
    // Points, truncated toward zero; 0 and 0 when the data has no readable first page.
    std::int64_t width = 0;
    std::int64_t height = 0;
    // Fitted into pdfPreviewSize × pdfPreviewSize on a white page; nothing when it could not be drawn.
    std::optional<QImage> firstPage;
};

PdfPreview previewPdf(const QByteArray& bytes);
