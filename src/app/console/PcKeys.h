// The toolkit's key presses as the PC keyboard gives them to a DOS program: the scan code
// of the key's place on a US keyboard and the character in code page 866. A Cyrillic
// letter comes from the key that carries it in the Russian layout.
#pragma once

#include "machine/KeyboardQueue.h"

#include <QString>

#include <optional>

namespace velmora::app
{

// The key for a press of qtKey with modifiers and the text it typed; nullopt for keys the
// PC keyboard has no code for (a modifier alone, a character outside code page 866).
std::optional<machine::Key> pcKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString &text);

// Ctrl+Break, which stops the program rather than reaching it. nativeKey is the key event's
// native virtual key: X11 reports Ctrl+Pause as the keysym Break, which has no toolkit key.
bool isCtrlBreak(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeKey = 0);

} // namespace velmora::app
