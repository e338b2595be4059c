// The toolkit's own texts (standard dialogs and buttons) in the language pack's language.
#pragma once

#include <QString>

namespace velmora::app
{

// Installs the toolkit's translation for language ("ru"), replacing the one installed
// before; "en", or a language the system has no translation file for, leaves its English.
void useToolkitTranslation(const QString &language);

} // namespace velmora::app
