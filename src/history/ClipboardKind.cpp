#include "history/ClipboardKind.h"

#include <array>
#include <utility>

namespace {
const std::array<std::pair<ClipboardKind, const char*>, 8> rawValues{{
    {ClipboardKind::text, "text"},
    {ClipboardKind::richText, "richText"},
    {ClipboardKind::html, "html"},
    {ClipboardKind::link, "link"},
    {ClipboardKind::image, "image"},
    {ClipboardKind::pdf, "pdf"},
    {ClipboardKind::color, "color"},
    {ClipboardKind::file, "file"},
}};
} // namespace

QString rawValue(ClipboardKind kind)
{
    for (const auto& [k, raw] : rawValues) {
        if (k == kind) {
            return QString::fromLatin1(raw);
        }
    }
    return {};
}

std::optional<ClipboardKind> clipboardKindFromRawValue(const QString& raw)
{
    for (const auto& [kind, value] : rawValues) {
        if (raw == QLatin1String(value)) {
            return kind;
        }
    }
    return std::nullopt;
}
