#include "platform/TerminalEmulators.h"

#include <QSet>

namespace {
const QSet<QByteArray>& terminalClasses()
{
    // Lower case; reverse-DNS application ids are matched whole.
    static const QSet<QByteArray> classes{
        "xterm",
        "uxterm",
        "urxvt",
        "rxvt",
        "rxvt-unicode",
        "gnome-terminal",
        "gnome-terminal-server",
        "org.gnome.terminal",
        "konsole",
        "org.kde.konsole",
        "xfce4-terminal",
        "org.xfce.terminal",
        "terminator",
        "tilix",
        "com.gexperts.tilix",
        "alacritty",
        "kitty",
        "st",
        "st-256color",
        "lxterminal",
        "mate-terminal",
        "qterminal",
        "terminology",
        "wezterm",
        "org.wezfurlong.wezterm",
        "foot",
        "footclient",
        "org.codeberg.dnkl.foot",
        "sakura",
        "guake",
        "tilda",
        "yakuake",
        "eterm",
        "roxterm",
        "cool-retro-term",
        "deepin-terminal",
        "kgx",
        "org.gnome.console",
        "ptyxis",
        "org.gnome.ptyxis",
        "contour",
        "blackbox",
        "com.raggesilver.blackbox",
        "cutefish-terminal",
        "terminal",
        "io.elementary.terminal",
        "termite",
        "aterm",
        "mlterm",
        "ghostty",
        "com.mitchellh.ghostty",
        "rio",
    };
    return classes;
}
} // namespace

bool TerminalEmulators::isTerminal(const QByteArray& instance, const QByteArray& className)
{
    const auto& classes = terminalClasses();
    return (!instance.isEmpty() && classes.contains(instance.toLower())) ||
           (!className.isEmpty() && classes.contains(className.toLower()));
}
