// Keyword texts are single bytes in the editor's code page (Windows-1251); the dialog
// shows and takes them as Unicode.
#pragma once

#include "editor/core/text/CodePages.h"

#include <QString>

#include <string>

namespace velmora::widget
{

inline QString keyText(const std::string &bytes)
{
    return QString::fromStdU16String(core::decode(bytes, core::CodePage::Windows1251));
}

// Characters the code page lacks become '?'.
inline std::string keyBytes(const QString &text)
{
    return core::encode(text.toStdU16String(), core::CodePage::Windows1251);
}

} // namespace velmora::widget
