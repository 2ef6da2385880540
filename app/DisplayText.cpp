#include "app/DisplayText.h"

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

QString withLoneSurrogatesMarked(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i; // a valid pair
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

} // namespace app
