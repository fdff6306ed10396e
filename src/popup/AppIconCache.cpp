// Header colours come from the icon reduced to 32 x 32 pixels: 1,024 pixels are read once per
// application and run.
#include "popup/AppIconCache.h"

#include "platform/DesktopServices.h"

#include <QPainter>
#include <algorithm>

AppIconCache::AppIconCache(DesktopServices* desktop) : m_desktop(desktop) {}

std::optional<QIcon> AppIconCache::icon(const std::optional<QString>& bundleID)
{
    if (!bundleID) {
        return std::nullopt;
    }
    if (const auto found = m_iconCache.constFind(*bundleID); found != m_iconCache.constEnd()) {
        return *found;
    }
    if (!m_desktop || !m_desktop->desktopEntryPath(*bundleID)) {
        return std::nullopt;
    }
    QIcon found = m_desktop->applicationIcon(*bundleID);
    if (found.isNull()) {
        // An entry without a usable icon shows the placeholder, like an unknown application.
        return std::nullopt;
    }
    m_iconCache.insert(*bundleID, found);
    return found;
}

QColor AppIconCache::accentColor(const std::optional<QString>& bundleID)
{
    const QString key = bundleID.value_or(QStringLiteral("<none>"));
    if (const auto found = m_colorCache.constFind(key); found != m_colorCache.constEnd()) {
        return *found;
    }
    ++m_colorComputations;
    QColor result = systemBlue();
    if (const std::optional<QIcon> found = icon(bundleID)) {
        result = colorOfRendering(renderAtColorSize(*found)).value_or(systemBlue());
    }
    m_colorCache.insert(key, result);
    return result;
}

QImage AppIconCache::renderAtColorSize(const QIcon& icon)
{
    QImage bitmap(colorRenderingSize, colorRenderingSize, QImage::Format_ARGB32);
    bitmap.fill(Qt::transparent);
    const QRect target(0, 0, colorRenderingSize, colorRenderingSize);
    // Ask for a larger pixmap and let the high-quality scaling reduce it, as the icon would be
    // drawn into the bitmap at any of its own sizes.
    const QPixmap source = icon.pixmap(QSize(128, 128));
    if (source.isNull()) {
        return bitmap;
    }
    QPainter painter(&bitmap);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(target, source);
    painter.end();
    return bitmap;
}

std::optional<QColor> AppIconCache::colorOfRendering(const QImage& rendering)
{
    if (rendering.width() == 0 || rendering.height() == 0) {
        return std::nullopt;
    }
    const QImage pixels = rendering.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    double sumRed = 0;
    double sumGreen = 0;
    double sumBlue = 0;
    for (int x = 0; x < pixels.width(); ++x) {
        for (int y = 0; y < pixels.height(); ++y) {
            const QRgb pixel = pixels.pixel(x, y);
            const double alpha = qAlpha(pixel) / 255.0;
            if (alpha < 0.5) {
                continue;
            }
            const double r = qRed(pixel) / 255.0;
            const double g = qGreen(pixel) / 255.0;
            const double b = qBlue(pixel) / 255.0;
            const double luminance = 0.299 * r + 0.587 * g + 0.114 * b;
            if (luminance > 0.95 || luminance < 0.05) {
                continue;
            }
            if (std::max({r, g, b}) - std::min({r, g, b}) < 0.1) {
                continue;
            }
            ++count;
            sumRed += r;
            sumGreen += g;
            sumBlue += b;
        }
    }
    if (count == 0) {
        return std::nullopt;
    }
    return boosted(sumRed / count, sumGreen / count, sumBlue / count);
}

QColor AppIconCache::boosted(double red, double green, double blue)
{
    const double mean = (red + green + blue) / 3;
    const auto push = [mean](double channel) { return std::clamp(mean + (channel - mean) * 1.15, 0.0, 1.0); };
    return QColor::fromRgbF(static_cast<float>(push(red)), static_cast<float>(push(green)),
                            static_cast<float>(push(blue)), 1.0f);
}
