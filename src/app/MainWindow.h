// The main window TVelmora: the whole working surface, the program's state it owns, and
// its command table. Components carry their component names as object names, so language
// packs and tests find them by name.
#pragma once

#include "app/ProgramState.h"
#include "app/language/InterfaceTexts.h"
#include "app/language/LanguageActions.h"
#include "editor/core/highlight/NumberHighlighter.h"
#include "editor/core/text/SourceEncoding.h"
#include "platform/FileStamp.h"

#include <QMainWindow>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QTimer;
class QTabWidget;
class QToolButton;

namespace velmora::widget
{
class TSourceMemo;
class TSourceGutter;
} // namespace velmora::widget

namespace velmora::toolchain
{
class BuildCommands;
} // namespace velmora::toolchain

namespace velmora::app
{

class IniFile;
class DebugMode;
class PcConsole;
class RecoveryCopies;
class TFileDialog;
class TForm3;
class TInfoW;
class THelpSystem;
class TPrefsW;
class TFindDialog;
class TStatusBar;
class TWindowBuildHost;

// What the program is started with: its folder and its command-line arguments.
struct StartUp {
    QString exeDir;        // the program's folder, ending in "/"
    QStringList arguments; // the arguments after the program name
    QString recoveryDir;   // where recovery copies of unsaved text go; empty: none are kept
};

class TVelmora : public QMainWindow
{
    Q_OBJECT

public:
    // Builds the component tree, then runs the creation steps (FormCreate).
    explicit TVelmora(StartUp startUp, QWidget *parent = nullptr);
    ~TVelmora() override;

    // The program's state: the source, the parameters, the folders and files, the settings.
    ProgramState &state() { return state_; }
    const ProgramState &state() const { return state_; }

    MainWindowTexts mainTexts;   // texts of section "Language" that belong to no widget
    PrefsWindowTexts prefsTexts; // texts of section "Prefs_Language" that belong to no widget
    InterfaceTexts texts;        // texts of the sections after the four window sections

    // The windows created after this one at program start (createOtherWindows); they
    // belong to this window.
    TPrefsW *PrefsW = nullptr;
    TForm3 *Form3 = nullptr;
    TInfoW *InfoW = nullptr;
    void createOtherWindows();

    // The source editor, its gutter and its number highlighter.
    widget::TSourceMemo *editor = nullptr;
    widget::TSourceGutter *Gutter = nullptr;
    core::TNumberHighlighter NumberHL;
    // Where the preferences window acts on the editor at once; tests may replace them.
    std::function<void(const QString &name, int pointSize)> SetEditorFont; // font name and size
    std::function<void(int colour)> SetNumbersForeground;                  // the number highlighter's Foreground
    std::function<void()> ReApplyKeywords;                                 // re-highlight the whole text
    // Opens a folder in the desktop's file manager (Open folder with source file).
    std::function<void(const QString &folder)> OpenFolder;
    // The buffer the text is produced in for a save or a recovery copy; tests may give one
    // that fails to grow, as memory running out would.
    std::function<std::unique_ptr<std::stringbuf>()> MakeTextBuffer;

    // The settings file the last ReadAllINI opened.
    QString settingsFilePath() const;
    // The editor's keyword list as last edited, kept beside the settings file: loaded at start
    // when present, saved after an edit.
    QString keywordListFile() const;
    void loadKeywordList();
    void saveKeywordList();
    // "Dafault all settings": deletes the settings file and the saved keyword list, gives the
    // editor its built-in keywords and reads every setting's default.
    void resetSettings();

    // Actions of ActionList1 that carry a role of their own.
    void ReadAllINI();
    void WriteAllINI();
    void apply();
    void FNameShow();
    // Names the chosen tool chain in the status bar.
    void showToolChain();
    // The file's name, or the name of an untitled text.
    QString displayName(const QString &file) const;
    void NextPage();
    void ExitA();
    void EWM();
    void ApplyLanguage();
    // Hands the texts of the appended sections to the windows, the editor and the dialogs.
    void showInterfaceTexts();
    void ApplyLanguagePrefsW();
    void ApplyLanguageAboutW();
    void ApplyLanguageInfoW();

    // Source file commands.
    void NewA();
    void OpenA();
    void SaveA();
    void SaveAsA();
    void LastFileA();
    void OpenSourceFile(const QString &fileName);
    void DefaultTemplate1Click();
    void OpenfolderClick();

    // The recovery copy: writes the unsaved text (atomically) while the text differs from
    // its file, removes the copy once it does not. Runs a few seconds after a change, before
    // every build step and when the program is asked to end.
    void writeRecoveryCopy();
    // Offers to restore the copies that earlier runs left behind (naming file and time).
    void offerRecoveryCopies();
    // The program is asked to end (SIGTERM, SIGHUP, SIGINT): the unsaved text goes to the
    // recovery copy and the settings are written; the window closes without asking.
    void endByRequest();
    // The window became active: a source changed, replaced or deleted by another program is
    // noticed, and reloading it is offered.
    void FormActivate();

    // Editing commands.
    void UndoA();
    void RedoA();
    void Comment1Click();
    void UnComment1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void Find1Click();
    void SearchAgain1Click();
    void FDFind();

    // Tool chain commands; "clicking" a tool button from code calls its handler.
    void TasmClick();
    void TasmClickA_PSTR();
    void TlinkClick();
    void TlinkClickA_PSTR();
    void runClick();
    void TdClick();
    void TasmTlinkRun();
    // "Run on the built-in PC": the source's .exe or .com from beside it, in the console
    // window; Run Output receives what it wrote through DOS when it ends or is stopped.
    void RunBuiltInPcClick();
    // With the built-in tools, after F10 built the source with debug information: the
    // program in debug mode beside the source.
    void startBuiltInDebugger();
    bool debugging() const;
    void TasmhelpClick();
    void TlinkhelpClick();
    void inyListing1Click();
    void ExpandListing1Click();
    // A double click on a line of MTasm that names a source line shows that line in the
    // editor; false when the line names none.
    bool MTasmDblClick(const QPoint &position);

    // Options, reference and other windows.
    void PrefsClick();
    void Windows1Click();
    void DOS1Click();
    void UTF81Click();
    void Calc1Click();
    void HelpShowA();
    void faqClick();
    void ASCIITAble1Click();
    void Optimizationinfo1Click();
    void AboutClick();

    // Refreshes the Last button's hint: Lastf_hint followed directly by LastFile.
    void LastMouseMove();

    // Runs a command the way the user's commands run: an error it raises ends it and is
    // shown in a message box by the central error handler. Memory running out is one such
    // error: it ends the command with a message.
    static void runCommand(const std::function<void()> &command);

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate(const QStringList &arguments);
    // The window's place, size and maximised state: set from the settings at start, taken
    // into them before they are written.
    void restoreWindowPlacement();
    void rememberWindowPlacement();
    // Line and column of the caret, 1-based, in the status bar.
    void showCaretPosition();
    // The edit page in front and the editor holding the keyboard focus, as after every file
    // command: typing goes into the text, the arrow keys move the caret.
    void showEditor();

    // The component tree, built in MainWindowLayout.cpp and MainWindowCommands.cpp.
    void createToolBar();
    void createPages();
    void createEditor(QWidget *parent);
    // Gives the number highlighter its colour and re-highlights the editor to show it.
    void setNumbersColour(int colour);
    void createStatusBar();
    void createDialogs();
    void createActions();
    void createMainMenu();
    QToolButton *addToolButton(QWidget *panel, const char *name, const QString &caption, const QString &hint,
                               void (TVelmora::*handler)());
    QAction *addAction(const char *name, const QKeySequence &shortcut, void (TVelmora::*handler)());
    QAction *addMenuItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut,
                         void (TVelmora::*handler)());
    QAction *addSeparator(QMenu *menu, const char *name);
    void placeNextPageButton();
    // The host of the build commands, made once the component tree exists.
    void createBuildHost();
    // Where Open and Save As start: the source's folder, else the last file's, else home;
    // never the tools folder.
    QString dialogFolder() const;
    // Asks "Save changes to <name>?" when the text changed since it was loaded or saved;
    // false when the user cancelled (or a save did not happen).
    bool confirmDiscard();
    // Loads a file into the editor, all or nothing; a NUL byte in it is reported and guards
    // the file. keptIn as for loadStream.
    void loadSource(const QString &path, std::optional<core::SourceEncoding> keptIn = std::nullopt);
    // Loads the text of the stream, all or nothing, in the encoding it is found to have
    // (shown in the status bar and kept for saving), or recoded into keptIn when given (a
    // template becomes a text in the new file's encoding); errors name path. Returns the
    // offset of a NUL byte that ended the text, or -1.
    std::int64_t loadStream(std::istream &in, const QString &path,
                            std::optional<core::SourceEncoding> keptIn = std::nullopt);
    void writeSource(const QString &path);
    // The editor's text as the file gets it, in the source's encoding; nullopt when it could
    // not be produced whole.
    std::optional<std::string> sourceText();
    // Remembers the source's encoding, shows it, checks its Charset item and draws the text
    // with its code page.
    void setSourceEncoding(core::SourceEncoding encoding);
    // The encoding of new files (and of text without bytes beyond ASCII): the last choice.
    core::SourceEncoding newFileEncoding() const;
    // Charset: converts the text to encoding as an edit that Undo takes back, and remembers
    // the choice for new files; a character that encoding lacks is reported with its line
    // and the text keeps its encoding.
    void convertSourceTo(core::SourceEncoding encoding);
    // After an undo or redo: the encoding that belongs to the text the editor now holds.
    void followEncodingSteps();
    // Outside changes: remembers the state of CurrentFile on disk, after a load or save.
    void rememberDiskState();
    bool changedOnDisk() const;
    // Before a save over CurrentFile: asks when another program changed the file since;
    // false when the user keeps that program's version.
    bool confirmOverwriteOutsideChange();
    void startRecovery(const QString &folder);
    void restoreRecoveryCopy(const QString &copyPath, const QString &sourceFile);
    void commentSelection(bool comment);
    void typingAid(QChar &key);
    void searchWithFindDialog();
    class UndoItemsListener;
    void watchUndoState();
    void updateUndoItems();

    // Runs a build command on the program's build state and settings.
    void runBuild(const std::function<void(toolchain::BuildCommands &)> &command);

    ProgramState state_;
    QWidget *panel1_ = nullptr;
    QTabWidget *pages_ = nullptr;
    QToolButton *nextPageButton_ = nullptr;
    QToolButton *lastButton_ = nullptr;
    TStatusBar *sb_ = nullptr;
    TFileDialog *od_ = nullptr;
    TFileDialog *sd_ = nullptr;
    TFindDialog *fd_ = nullptr;
    QObject *actionList_ = nullptr;
    std::unique_ptr<IniFile> ini_;
    std::unique_ptr<TWindowBuildHost> buildHost_;
    // The file whose text was cut short at a NUL byte: saving over it asks first.
    QString truncatedFile_;
    // The encoding the source was loaded in and is saved in.
    core::SourceEncoding sourceEncoding_ = core::SourceEncoding::Windows1251;
    // The conversions since the source was loaded: each with the undo position right after
    // its edit, so that an undo before it brings the old encoding back.
    struct EncodingStep {
        std::int32_t undoPosition;
        core::SourceEncoding before;
        core::SourceEncoding after;
    };
    std::vector<EncodingStep> encodingSteps_;
    // The file and its state on disk when it was last loaded or saved, and the state the
    // user was last asked about.
    QString diskStateFile_;
    platform::FileStamp diskState_;
    platform::FileStamp askedState_;
    bool checkingOutside_ = false;
    // The unsaved text's recovery copy, written a pause after the text changed.
    std::unique_ptr<RecoveryCopies> recovery_;
    QTimer *recoveryTimer_ = nullptr;
    bool recoveryFailureShown_ = false;
    // Set when the program is asked to end: closing neither asks nor drops the copy.
    bool endingByRequest_ = false;
    // shared_ptr for the same reason as help_ below.
    std::shared_ptr<UndoItemsListener> undoItemsListener_;
    // Made by the first F1; shared_ptr, whose deleter is fixed where it is made, as the
    // destructor is compiled without the help system's definition.
    std::shared_ptr<THelpSystem> help_;
    // The help window's system, created on first use.
    THelpSystem &helpSystem();
    // Points HelpFile and the help window at the help file the pack chooses.
    void applyHelpFile();
    // Shows the info window modally on the given page.
    void showInfoPage(int page);
    // The built-in PC's console window, made by the first run; its texts from the pack.
    PcConsole *console_ = nullptr;
    void showConsoleTexts();
    // Shows what a program on the built-in PC wrote through DOS on Run Output; with showPage
    // the page comes to the front as the settings ask.
    void showRunOutput(const QByteArray &output, bool showPage);
    // The built-in debugger's mode, its menu and views; made with the component tree.
    DebugMode *debugMode_ = nullptr;
    void createDebugMode();
};

} // namespace velmora::app
