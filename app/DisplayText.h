#pragma once

#include <QString>

namespace app {

// Texts from the control can be of any length and hold any UTF-16 code units. These helpers
// keep what the window draws cheap and honest, while the texts themselves stay whole.

// How many characters of one text a row, a tooltip or a label draws. Far more than any of
// them shows at once, and small enough that drawing stays instant (a 1 MB line takes about a
// second to lay out, on every repaint).
inline constexpr qsizetype shownCharacters = 1000;

// The text's first shownCharacters characters, followed by "…" when the text is longer. A
// surrogate pair is never cut in two.
QString shownPart(const QString &text);

// The text with every unpaired surrogate replaced by U+FFFD, the mark for a code unit that is
// no character. Encoding to UTF-8 would otherwise turn it into a '?' that the control never
// sent.
QString withLoneSurrogatesMarked(QString text);
// The same, in place.
void markLoneSurrogates(QChar *begin, QChar *end);

} // namespace app
