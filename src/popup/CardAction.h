// One button of a card: a symbol, a tooltip and what pressing it does.
#pragma once

#include <QString>
#include <functional>

struct CardAction
{
    QString id;    // "open", "reveal", "save", "rgb"
    QString icon;  // symbol name of the glyph
    QString label; // tooltip
    std::function<void()> run;
};
