// The keyword editor's File menu: loading and saving the entries in the plain, attribute
// and ".kbn" forms. Every load reads into a list of its own and adds its entries only when
// the whole file read, so a bad file leaves the entries as they were; every save replaces
// the file all or nothing, so a full disk leaves the old file as it was.
#include "editor/core/keyfiles/KeywordFiles.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/keyfiles/StartStopKeyList.h"
#include "editor/widget/EditorTexts.h"
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

FileForm textForm()
{
    return {editorTexts().keywords.textFilter, {}};
}

FileForm binaryForm()
{
    return {editorTexts().keywords.binaryFilter, QStringLiteral("kbn")};
}

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
    const KeywordsEditorTexts &texts = editorTexts().keywords;
    const auto add = [&](const QString &text, void (TKeywordsEditorDlg::*handler)(), bool loads) {
        if (loads && !allowEditing_)
            return;
        menu->addAction(text, this, handler);
    };
    add(texts.loadPlainItem, &TKeywordsEditorDlg::loadPlain, true);
    add(texts.loadAttributesItem, &TKeywordsEditorDlg::loadAttributes, true);
    add(texts.loadBinaryItem, &TKeywordsEditorDlg::loadBinary, true);
    add(texts.savePlainItem, &TKeywordsEditorDlg::savePlain, false);
    add(texts.saveAttributesItem, &TKeywordsEditorDlg::saveAttributes, false);
    add(texts.saveBinaryItem, &TKeywordsEditorDlg::saveBinary, false);
}

void TKeywordsEditorDlg::loadPlain()
{
    withFile(false, editorTexts().keywords.loadListTitle, textForm(),
             [this](const auto &path) { appendEntries(core::loadPlainKeyList(path, kind_)); });
}

void TKeywordsEditorDlg::loadAttributes()
{
    withFile(false, editorTexts().keywords.loadAttributesTitle, textForm(), [this](const auto &path) {
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
    withFile(false, editorTexts().keywords.loadAttributesTitle, binaryForm(), [this](const auto &path) {
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
    withFile(true, editorTexts().keywords.saveListTitle, textForm(),
             [this](const auto &path) { saveFile(path, core::formatPlainKeyList(entries_, kind_)); });
}

void TKeywordsEditorDlg::saveAttributes()
{
    withFile(true, editorTexts().keywords.saveAttributesTitle, textForm(), [this](const auto &path) {
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
    withFile(true, editorTexts().keywords.saveAttributesTitle, binaryForm(), [this](const auto &path) {
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
