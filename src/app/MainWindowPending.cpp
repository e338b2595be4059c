// Commands already wired into the command table whose behaviour arrives with the tool
// chain (assemble, link, run, debug, listings, tool help, the output summary), the editor
// control (source file and editing commands) and the preferences, about, info and help
// windows.
#include "app/MainWindow.h"

namespace velmora::app
{

void TVelmora::SaveA() {}
void TVelmora::SaveAsA() {}
void TVelmora::LastFileA() {}
void TVelmora::OpenfolderClick() {}

void TVelmora::UndoA() {}
void TVelmora::RedoA() {}
void TVelmora::Comment1Click() {}
void TVelmora::UnComment1Click() {}
void TVelmora::Cut1Click() {}
void TVelmora::Copy1Click() {}
void TVelmora::Paste1Click() {}
void TVelmora::SearchAgain1Click() {}

void TVelmora::TasmClick() {}
void TVelmora::TlinkClick() {}
void TVelmora::runClick() {}
void TVelmora::TdClick() {}
void TVelmora::EWM() {}
void TVelmora::TasmhelpClick() {}
void TVelmora::TlinkhelpClick() {}
void TVelmora::inyListing1Click() {}
void TVelmora::ExpandListing1Click() {}

void TVelmora::PrefsClick() {}
void TVelmora::Calc1Click() {}
void TVelmora::HelpShowA() {}
void TVelmora::faqClick() {}
void TVelmora::ASCIITAble1Click() {}
void TVelmora::Optimizationinfo1Click() {}
void TVelmora::AboutClick() {}

void TVelmora::ApplyLanguagePrefsW() {}
void TVelmora::ApplyLanguageAboutW() {}
void TVelmora::ApplyLanguageInfoW() {}

} // namespace velmora::app
