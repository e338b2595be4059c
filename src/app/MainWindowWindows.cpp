// The preferences, about, info and help windows: made after the main window, shown by its
// commands, dressed by the language pack.
#include "app/MainWindow.h"

#include "editor/widget/KeywordsEditorDlg.h"

#include "app/about/AboutWindow.h"
#include "app/helpview/HelpSystem.h"
#include "app/helpview/HelpWindow.h"
#include "app/info/InfoWindow.h"
#include "app/language/ReferenceFiles.h"
#include "app/prefs/PrefsWindow.h"
#include "editor/core/text/CodePages.h"
#include "editor/widget/SourceMemo.h"

#include <QStringList>
#include <QTabWidget>

#include <algorithm>

namespace velmora::app
{

void TVelmora::createOtherWindows()
{
    PrefsW = new TPrefsW(*this);
    PrefsW->setMoreTexts(texts.prefs);
    Form3 = new TForm3(state_.Folders.data, state_.settings.velm_version, this);
    Form3->setTexts(texts.about);
    Form3->OnShow = [this] { ApplyLanguageAboutW(); };
    InfoW = new TInfoW(state_.Folders.data, this);
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

namespace
{

HelpFiles helpFilesOf(const ReferenceFiles &files)
{
    return {files.helpFile, files.englishHelpFile, files.helpFallbackNote};
}

// The run of letters and digits around the caret in its display line, first with the "." or
// "@" that leads it (".model", "@data") and then without; empty on a blank.
QStringList wordsAtCaret(widget::TSourceMemo &memo)
{
    const QString line =
        QString::fromStdU16String(core::decode(memo.Lines().Get(memo.SelLine()), core::CodePage::Windows1251));
    const qsizetype caret = std::min<qsizetype>(memo.SelCol(), line.size());
    qsizetype start = caret;
    while (start > 0 && line.at(start - 1).isLetterOrNumber())
        --start;
    qsizetype end = caret;
    while (end < line.size() && line.at(end).isLetterOrNumber())
        ++end;
    if (start == end)
        return {};
    const QString word = line.mid(start, end - start);
    if (start > 0 && (line.at(start - 1) == u'.' || line.at(start - 1) == u'@'))
        return {line.at(start - 1) + word, word};
    return {word};
}

} // namespace

THelpSystem &TVelmora::helpSystem()
{
    if (!help_)
        help_ =
            std::make_shared<THelpSystem>(helpFilesOf(referenceFiles(state_.Folders.data, state_.LanguageFile)), this);
    help_->setTexts(texts.help);
    return *help_;
}

// A help window already open shows the new pack's help at once.
void TVelmora::applyHelpFile()
{
    const ReferenceFiles files = referenceFiles(state_.Folders.data, state_.LanguageFile);
    state_.HelpFile = files.helpFile;
    if (help_)
        help_->setFiles(helpFilesOf(files));
}

// F1: the help topic of the word at the caret when the help file has a topic or index keyword
// for it, in any letter case, else the contents.
void TVelmora::HelpShowA()
{
    if (!helpSystem().showContents())
        return;
    for (const QString &word : wordsAtCaret(*editor))
        if (helpSystem().window()->helpFile().find(word) >= 0) {
            helpSystem().showKeyword(word);
            return;
        }
}

// The windows are dressed only once they exist.
void TVelmora::ApplyLanguagePrefsW()
{
    if (!PrefsW)
        return;
    velmora::app::ApplyLanguagePrefsW(*PrefsW, state_.LanguageFile, prefsTexts);
    PrefsW->setMoreTexts(texts.prefs);
}

void TVelmora::ApplyLanguageAboutW()
{
    if (!Form3)
        return;
    velmora::app::ApplyLanguageAboutW(*Form3, state_.LanguageFile);
    Form3->setTexts(texts.about);
}

void TVelmora::ApplyLanguageInfoW()
{
    if (!InfoW)
        return;
    velmora::app::ApplyLanguageInfoW(*InfoW, state_.LanguageFile);
    InfoW->setReferenceFiles(referenceFiles(state_.Folders.data, state_.LanguageFile));
}

} // namespace velmora::app
