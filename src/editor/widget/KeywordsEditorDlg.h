// TKeywordsEditorDlg: the modal dialog that edits a keyword list or a start-stop key list
// entry by entry (texts in a list view; options, style, colours, mouse pointer, context
// number, scope, priority and positional dependency of the selected entries in a panel)
// and loads and saves lists in the plain, attribute and ".kbn" file forms. The entries
// are worked on apart from the list, which changes only on OK after a change.
#pragma once

#include "editor/core/keyfiles/KeyEntry.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidgetItem;

namespace velmora::core
{
class TKeywordList;
class TStartStopKeyList;
} // namespace velmora::core

namespace velmora::widget
{

class ColorSwatch;
class KeyListView;

// Makes an empty list of the class being edited, so that attribute files are read and
// written as that class reads and writes them.
using KeywordListClass = std::function<std::unique_ptr<core::TKeywordList>()>;
using StartStopListClass = std::function<std::unique_ptr<core::TStartStopKeyList>()>;

class TKeywordsEditorDlg : public QDialog
{
public:
    TKeywordsEditorDlg(core::TKeywordList &list, bool showExtended, bool allowEditing, QWidget *parent = nullptr,
                       KeywordListClass listClass = {});
    TKeywordsEditorDlg(core::TStartStopKeyList &list, bool showExtended, bool allowEditing, QWidget *parent = nullptr,
                       StartStopListClass listClass = {});
    ~TKeywordsEditorDlg() override;

    bool Modified() const { return modified_; }
    const std::vector<core::KeyEntry> &Entries() const { return entries_; }
    // When modified, replaces the edited list's entries by the dialog's, in list order;
    // returns whether it did.
    bool ApplyEntries();

    // The application's help: called with the topic keyword ("Keywords editor").
    using HelpHook = std::function<void(const QString &keyword)>;
    static void SetHelpHook(HelpHook hook);
    // Asks for a colour, preset to `initial`; nullopt when cancelled. Unset: the toolkit's
    // colour dialog.
    using ColorChooser = std::function<std::optional<QColor>(const QColor &initial)>;
    static void SetColorChooser(ColorChooser chooser);

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct OptionBox;
    enum class Colour { Foreground, Background };

    TKeywordsEditorDlg(core::KeyListKind kind, bool showExtended, bool allowEditing, QWidget *parent);
    void buildControls();
    void buildFileMenu(QMenu *menu);
    void fillList();
    QTreeWidgetItem *newItem(const core::KeyEntry &entry) const;

    // The panel follows the selection lazily: a change marks it stale and one refresh runs
    // when control returns to the event loop.
    void invalidatePanel();
    void showSelection();
    std::vector<int> selectedRows() const;

    void optionClicked(QCheckBox *box);
    void chooseColour(Colour which);
    void clearColour(Colour which);
    void pointerChosen(int index);
    void positionalChosen(int id);
    // Stores a changed number edit into the selected entries; false (with the error shown
    // and the focus back in the edit) when its text is not an integer.
    bool commitNumberEdit(QLineEdit *edit);
    bool commitNumberEdits();

    void insertEntry(int row);
    void deleteSelected();
    bool editing(QTreeWidgetItem *item);
    void editorClosed();
    void promptStartStop(QTreeWidgetItem *item);
    void appendEntries(std::vector<core::KeyEntry> loaded);

    void loadPlain();
    void loadAttributes();
    void loadBinary();
    void savePlain();
    void saveAttributes();
    void saveBinary();

    core::KeyListKind kind_;
    core::TKeywordList *keywords_ = nullptr;
    core::TStartStopKeyList *startStopKeys_ = nullptr;
    KeywordListClass keywordListClass_;
    StartStopListClass startStopListClass_;
    bool extended_;
    bool allowEditing_;

    std::vector<core::KeyEntry> entries_; // one per list item, same order
    bool modified_ = false;
    QTreeWidgetItem *editingItem_ = nullptr;
    QString editingText_;
    bool panelCurrent_ = false;
    bool panelFilling_ = false;
    bool committing_ = false;

    KeyListView *lvKeys_ = nullptr;
    QLabel *lblSelCount_ = nullptr;
    QLabel *lblHint_ = nullptr;
    QPushButton *btnInsert_ = nullptr;
    QPushButton *btnAdd_ = nullptr;
    QPushButton *btnDelete_ = nullptr;
    QGroupBox *grpOptions_ = nullptr;
    std::vector<OptionBox> optionBoxes_;
    QCheckBox *cbMatchCase_ = nullptr;
    QCheckBox *cbWholeWords_ = nullptr;
    ColorSwatch *shpForeground_ = nullptr;
    ColorSwatch *shpBackground_ = nullptr;
    QPushButton *btnClearForeground_ = nullptr;
    QPushButton *btnClearBackground_ = nullptr;
    QLineEdit *edContext_ = nullptr;
    QLineEdit *edScope_ = nullptr;
    QLineEdit *edPriority_ = nullptr;
    QComboBox *cbPointer_ = nullptr;
    QLabel *lblPointer_ = nullptr;
    QWidget *pnlExtended_ = nullptr;
    QGroupBox *rgPositional_ = nullptr;
    QButtonGroup *positionalButtons_ = nullptr;
};

// Edits a keyword list in the dialog; true when the list was changed.
bool EditKeywordList(core::TKeywordList &list, bool showExtended, bool allowEditing, QWidget *parent = nullptr,
                     KeywordListClass listClass = {});
// Edits a start-stop key list in the dialog; true when the list was changed.
bool EditStartStopList(core::TStartStopKeyList &list, bool showExtended, bool allowEditing, QWidget *parent = nullptr,
                       StartStopListClass listClass = {});

} // namespace velmora::widget
