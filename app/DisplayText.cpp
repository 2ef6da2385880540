#include "app/DisplayText.h"

#include <algorithm>

namespace app {

QString shownPart(const QString &text)
{
    if (text.size() <= shownCharacters)
        return text;
    qsizetype end = shownCharacters;
    if (text[end - 1].isHighSurrogate() && text[end].isLowSurrogate())
        --end;
    return text.left(end) + QChar(0x2026);
}

void markLoneSurrogates(QChar *begin, QChar *end)
{
    // Most texts have no surrogate at all: look first, and write only where one is.
    for (QChar *at = std::find_if(begin, end, [](QChar c) { return c.isSurrogate(); }); at < end;
         ++at) {
        if (at->isHighSurrogate() && at + 1 < end && at[1].isLowSurrogate())
            ++at; // a valid pair
        else if (at->isSurrogate())
            *at = QChar::ReplacementCharacter;
    }
}

QString withLoneSurrogatesMarked(QString text)
{
    const QChar *begin = text.constData();
    const QChar *end = begin + text.size();
    if (std::none_of(begin, end, [](QChar c) { return c.isSurrogate(); }))
        return text;
    markLoneSurrogates(text.data(), text.data() + text.size());
    return text;
}

} // namespace app
