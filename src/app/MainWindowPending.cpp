// Commands already wired into the command table whose behaviour arrives with the tool
// chain (assemble, link, run, debug, listings, tool help, the output summary), the editor
// control (source file and editing commands) and the info window; then the wiring of the
// preferences, about and help windows.
#include "app/MainWindow.h"

#include "editor/widget/KeywordsEditorDlg.h"

#include "app/about/AboutWindow.h"
#include "app/helpview/HelpSystem.h"
#include "app/helpview/HelpWindow.h"
#include "app/info/InfoWindow.h"
#include "app/prefs/PrefsWindow.h"

#include <QTabWidget>

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

void TVelmora::Calc1Click() {}

// The preferences, about and help windows.

void TVelmora::createOtherWindows()
{
    PrefsW = new TPrefsW(*this);
    Form3 = new TForm3(ExeDir, settings.velm_version, this);
    Form3->OnShow = [this] { ApplyLanguageAboutW(); };
    InfoW = new TInfoW(ExeDir, this);
    InfoW->OnShow = [this] { ApplyLanguageInfoW(); };
    // The keyword editor's Help opens this window's help at the editor's topic.
    widget::TKeywordsEditorDlg::SetHelpHook([this](const QString &keyword) { helpSystem().showKeyword(keyword); });
}

void TVelmora::PrefsClick()
{
    PrefsW->exec();
    apply();
}

void TVelmora::AboutClick()
{
    Form3->pageControl().setCurrentIndex(0);
    Form3->exec();
}

void TVelmora::showInfoPage(int page)
{
    InfoW->pageControl().setCurrentIndex(page);
    InfoW->exec();
}

void TVelmora::faqClick()
{
    showInfoPage(0);
}

void TVelmora::ASCIITAble1Click()
{
    showInfoPage(1);
}

void TVelmora::Optimizationinfo1Click()
{
    showInfoPage(2);
}

THelpSystem &TVelmora::helpSystem()
{
    if (!help_)
        help_ = std::make_shared<THelpSystem>(HelpFile, this);
    return *help_;
}

void TVelmora::HelpShowA()
{
    helpSystem().showContents();
}

// The windows are dressed only once they exist.
void TVelmora::ApplyLanguagePrefsW()
{
    if (PrefsW)
        velmora::app::ApplyLanguagePrefsW(*PrefsW, LanguageFile, prefsTexts);
}

void TVelmora::ApplyLanguageAboutW()
{
    if (Form3)
        velmora::app::ApplyLanguageAboutW(*Form3, LanguageFile);
}

void TVelmora::ApplyLanguageInfoW()
{
    if (InfoW)
        velmora::app::ApplyLanguageInfoW(*InfoW, LanguageFile);
}

} // namespace velmora::app
