// Icons of source applications and the header colours derived from them, kept for the whole run.
#pragma once

#include <QColor>
#include <QHash>
#include <QIcon>
#include <QImage>
#include <QString>
#include <optional>

class DesktopServices;

class AppIconCache
{
public:
    explicit AppIconCache(DesktopServices* desktop);

    // The application's icon; nothing when the id is absent or names no installed application.
    // Only found icons are kept, so an application installed later is found on a later call.
    std::optional<QIcon> icon(const std::optional<QString>& bundleID);
    // The average of the icon's clearly coloured pixels, a little more saturated; the system blue
    // when there is no icon or no such pixel. Every result is kept, the fallback included.
    QColor accentColor(const std::optional<QString>& bundleID);

    // The colour of a 32 x 32 rendering, or nothing when no pixel counts.
    static std::optional<QColor> colorOfRendering(const QImage& rendering);
    // Pushes each channel 15 % away from the channels' mean, limited to [0, 1].
    static QColor boosted(double red, double green, double blue);
    // The icon drawn into a 32 x 32 RGBA bitmap, replacing its transparent pixels.
    static QImage renderAtColorSize(const QIcon& icon);

    static QColor systemBlue() { return QColor(0, 122, 255); }
    static constexpr int colorRenderingSize = 32;

    int colorComputations() const { return m_colorComputations; }

private:
    DesktopServices* m_desktop;
    QHash<QString, QIcon> m_iconCache;
    QHash<QString, QColor> m_colorCache;
    int m_colorComputations = 0;
};
