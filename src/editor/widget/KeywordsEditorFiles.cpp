// The keyword editor's File menu: loading and saving the entries in the plain, attribute
// and ".kbn" forms. Every load reads into a list of its own and adds its entries only when
// the whole file read, so a bad file leaves the entries as they were; every save replaces
// the file all or nothing, so a full disk leaves the old file as it was.
#include "editor/core/KeywordFiles.h"
#include "editor/core/KeywordList.h"
#include "editor/core/StartStopKeyList.h"
#include "editor/widget/KeywordsEditorDlg.h"
#include "platform/AtomicFile.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QFile>
#include <QMenu>

#include <exception>

namespace velmora::widget
{

namespace
{

// The file dialogs' filters, and the extension a saved name without one gets.
struct FileForm {
    QString filter;
    QString defaultExt;
};
const FileForm kTextForm{QStringLiteral("Ini files (*.ini)|*.ini|Text files (*.txt)|*.txt|All files|*.*"), {}};
const FileForm kBinaryForm{QStringLiteral("Binary files (*.kbn)|*.kbn|All files|*.*"), QStringLiteral("kbn")};

std::filesystem::path filePath(const QString &name)
{
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

void saveFile(const std::filesystem::path &path, std::string_view bytes)
{
    platform::writeFileAtomically(QFile::decodeName(QByteArray::fromStdString(path.native())), bytes);
}

// Asks for a file and runs `action` on it; a failure is shown in an error box.
template <class Action> void withFile(bool save, const QString &title, const FileForm &form, Action &&action)
{
    platform::FileDialogRequest request;
    request.title = title;
    request.filter = form.filter;
    request.defaultExt = form.defaultExt;
    const std::optional<QString> name =
        save ? platform::dialogs().saveFile(request) : platform::dialogs().openFile(request);
    if (!name)
        return;
    try {
        action(filePath(*name));
    } catch (const std::exception &error) {
        platform::dialogs().message(platform::MessageKind::Error, QString::fromStdString(error.what()));
    }
}

} // namespace

void TKeywordsEditorDlg::buildFileMenu(QMenu *menu)
{
    const auto add = [&](const char *text, void (TKeywordsEditorDlg::*handler)(), bool loads) {
        if (loads && !allowEditing_)
            return;
        menu->addAction(QString::fromLatin1(text), this, handler);
    };
    add("&Load list (text)...", &TKeywordsEditorDlg::loadPlain, true);
    add("Load list and attributes (text)...", &TKeywordsEditorDlg::loadAttributes, true);
    add("Load list and attributes (binary)...", &TKeywordsEditorDlg::loadBinary, true);
    add("Save list (text)...", &TKeywordsEditorDlg::savePlain, false);
    add("Save list and attributes (text)...", &TKeywordsEditorDlg::saveAttributes, false);
    add("Save list and attributes (binary)...", &TKeywordsEditorDlg::saveBinary, false);
}

void TKeywordsEditorDlg::loadPlain()
{
    withFile(false, QStringLiteral("Load list"), kTextForm,
             [this](const auto &path) { appendEntries(core::loadPlainKeyList(path, kind_)); });
}

void TKeywordsEditorDlg::loadAttributes()
{
    withFile(false, QStringLiteral("Load list and attributes"), kTextForm, [this](const auto &path) {
        if (keywords_) {
            const auto list = keywordListClass_();
            core::loadAttributeFile(path, *list);
            appendEntries(core::keyEntriesOf(*list));
        } else {
            const auto list = startStopListClass_();
            core::loadAttributeFile(path, *list);
            appendEntries(core::keyEntriesOf(*list));
        }
    });
}

void TKeywordsEditorDlg::loadBinary()
{
    withFile(false, QStringLiteral("Load list and attributes"), kBinaryForm, [this](const auto &path) {
        if (keywords_) {
            core::TKeywordList list;
            core::loadKbnFile(path, list);
            appendEntries(core::keyEntriesOf(list));
        } else {
            core::TStartStopKeyList list;
            core::loadKbnFile(path, list);
            appendEntries(core::keyEntriesOf(list));
        }
    });
}

void TKeywordsEditorDlg::savePlain()
{
    withFile(true, QStringLiteral("Save list"), kTextForm,
             [this](const auto &path) { saveFile(path, core::formatPlainKeyList(entries_, kind_)); });
}

void TKeywordsEditorDlg::saveAttributes()
{
    withFile(true, QStringLiteral("Save list and attributes"), kTextForm, [this](const auto &path) {
        if (keywords_) {
            const auto list = keywordListClass_();
            core::fillKeywordList(*list, entries_);
            saveFile(path, core::attributeFileBytes(path, *list));
        } else {
            const auto list = startStopListClass_();
            core::fillStartStopList(*list, entries_);
            saveFile(path, core::attributeFileBytes(path, *list));
        }
    });
}

void TKeywordsEditorDlg::saveBinary()
{
    withFile(true, QStringLiteral("Save list and attributes"), kBinaryForm, [this](const auto &path) {
        if (keywords_) {
            core::TKeywordList list;
            core::fillKeywordList(list, entries_);
            saveFile(path, core::kbnBytes(list));
        } else {
            core::TStartStopKeyList list;
            core::fillStartStopList(list, entries_);
            saveFile(path, core::kbnBytes(list));
        }
    });
}

} // namespace velmora::widget
