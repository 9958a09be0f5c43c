// Where the pick windows appear: offsets from the window or field that
// opened them, given in twips as the books' forms have always been laid out.
#pragma once

class QWidget;

namespace tz {

// Twips to pixels at the reference 96 dpi (15 twips per pixel).
constexpr int twipsToPixels(int twips)
{
    return twips / 15;
}

// Moves `window` so that its top-left corner lies `leftTwips` right of and
// `topTwips` below the top-left corner of `anchor` (its frame when the
// anchor is a top-level window), kept inside the anchor's screen. Does
// nothing without an anchor.
void placeBeside(QWidget *window, const QWidget *anchor, int leftTwips, int topTwips);

// Centres `window` on the screen it is shown on.
void centreOnScreen(QWidget *window);

} // namespace tz
