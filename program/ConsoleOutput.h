#pragma once

#include <QString>

namespace program {

enum class Stream { Output, Error };

// Writes `text` where the user who started the program reads it: into a file or pipe it was
// redirected to, as UTF-8; into a console as the console's own characters, umlauts included.
// On Windows the bench is a windowed program without a console of its own: it writes into the
// console it was started from. False when there is nowhere to write (started from Explorer).
bool writeToConsole(const QString &text, Stream stream);

} // namespace program
