#include "editor/widget/KeywordsEditorDlg.h"

#include "editor/core/keyfiles/KeyInfoNameValues.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/keyfiles/StartStopKeyList.h"
#include "editor/widget/ColorSwatch.h"
#include "editor/widget/CursorNames.h"
#include "editor/widget/EditorTexts.h"
#include "editor/widget/KeyListView.h"
#include "editor/widget/KeywordTexts.h"
#include "editor/widget/ScrollingPanel.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <stdexcept>

namespace velmora::widget
{

using core::KeyEntry;
using core::KeyListKind;

namespace
{

const QColor kGreyText(0x80, 0x80, 0x80);

// The positional option of each radio item, in item order.
constexpr std::uint8_t kPositionalOptions[] = {0, core::kOptFirstWord, core::kOptFirstNonBlank,
                                               core::kOptParagraphStart};

TKeywordsEditorDlg::HelpHook &helpHook()
{
    static TKeywordsEditorDlg::HelpHook hook;
    return hook;
}

TKeywordsEditorDlg::ColorChooser &colorChooser()
{
    static TKeywordsEditorDlg::ColorChooser chooser;
    return chooser;
}

std::optional<QColor> askColour(const QColor &initial, QWidget *parent)
{
    if (colorChooser())
        return colorChooser()(initial);
    const QColor chosen = QColorDialog::getColor(initial, parent);
    return chosen.isValid() ? std::optional(chosen) : std::nullopt;
}

int positionalItem(std::uint8_t options)
{
    if (options & core::kOptParagraphStart)
        return 3;
    if (options & core::kOptFirstNonBlank)
        return 2;
    return options & core::kOptFirstWord ? 1 : 0;
}

// Grey text marks a value that differs among the selected entries; otherwise the text
// takes the style's usual colour.
void setGreyText(QWidget *widget, bool grey)
{
    QPalette palette = widget->palette();
    for (const auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        palette.setColor(role, grey ? kGreyText : QApplication::palette(widget).color(role));
    widget->setPalette(palette);
}

// An entry without a colour of its own: -1 or clNone.
bool hasColour(std::int32_t value)
{
    return value != -1 && value != core::clNone;
}

template <class Entry> auto &colourOf(Entry &entry, bool foreground)
{
    return foreground ? entry.Attributes.Foreground : entry.Attributes.Background;
}

// A decimal integer as the runtime converts one, with its message for a bad text.
std::int32_t toInteger(const QString &text)
{
    try {
        return core::parseDecimal(text.toStdString());
    } catch (const std::invalid_argument &) {
        throw std::invalid_argument(editorTexts().keywords.notInteger.arg(text).toStdString());
    }
}

} // namespace

// One check box of the options group and the bit it stands for.
struct TKeywordsEditorDlg::OptionBox {
    enum Field { Options, Style, KeyFlags };

    QCheckBox *box;
    Field field;
    std::uint8_t mask;
    bool inverted; // checked while the bit is clear ("Cross paragraphs")

    template <class Entry> auto &bits(Entry &entry) const
    {
        switch (field) {
        case Options:
            return entry.Attributes.KeyOptions;
        case Style:
            return entry.Attributes.KeyStyle;
        case KeyFlags:
            break;
        }
        return entry.KeyFlags;
    }
    bool value(const KeyEntry &entry) const { return static_cast<bool>(bits(entry) & mask) != inverted; }
    void set(KeyEntry &entry, bool checked) const
    {
        if (checked != inverted)
            bits(entry) |= mask;
        else
            bits(entry) &= static_cast<std::uint8_t>(~mask);
    }
};

TKeywordsEditorDlg::TKeywordsEditorDlg(KeyListKind kind, bool showExtended, bool allowEditing, QWidget *parent)
    : QDialog(parent), kind_(kind), extended_(showExtended), allowEditing_(allowEditing)
{
}

TKeywordsEditorDlg::TKeywordsEditorDlg(core::TKeywordList &list, bool showExtended, bool allowEditing, QWidget *parent,
                                       KeywordListClass listClass)
    : TKeywordsEditorDlg(KeyListKind::Keywords, showExtended, allowEditing, parent)
{
    keywords_ = &list;
    keywordListClass_ = listClass ? std::move(listClass) : [] { return std::make_unique<core::TKeywordList>(); };
    entries_ = core::keyEntriesOf(list);
    buildControls();
}

TKeywordsEditorDlg::TKeywordsEditorDlg(core::TStartStopKeyList &list, bool showExtended, bool allowEditing,
                                       QWidget *parent, StartStopListClass listClass)
    : TKeywordsEditorDlg(KeyListKind::StartStopKeys, showExtended, allowEditing, parent)
{
    startStopKeys_ = &list;
    startStopListClass_ = listClass ? std::move(listClass) : [] { return std::make_unique<core::TStartStopKeyList>(); };
    entries_ = core::keyEntriesOf(list);
    buildControls();
}

TKeywordsEditorDlg::~TKeywordsEditorDlg()
{
    // The controls outlive this part of the dialog and lose the focus as they go: keep
    // their notices away from it.
    lvKeys_->OnEditing = {};
    lvKeys_->OnFocusChanged = {};
    lvKeys_->disconnect(this);
    lvKeys_->itemDelegate()->disconnect(this);
    for (QLineEdit *edit : {edContext_, edScope_, edPriority_})
        edit->removeEventFilter(this);
}

void TKeywordsEditorDlg::SetHelpHook(HelpHook hook)
{
    helpHook() = std::move(hook);
}

void TKeywordsEditorDlg::SetColorChooser(ColorChooser chooser)
{
    colorChooser() = std::move(chooser);
}

void TKeywordsEditorDlg::buildControls()
{
    const bool startStop = kind_ == KeyListKind::StartStopKeys;
    const KeywordsEditorTexts &texts = editorTexts().keywords;
    setWindowTitle(extended_ ? texts.extendedTitle : texts.title);

    auto *menuBar = new QMenuBar(this);
    buildFileMenu(menuBar->addMenu(texts.fileMenu));

    lvKeys_ = new KeyListView(this);
    lvKeys_->setObjectName(QStringLiteral("lvKeys"));
    if (startStop) {
        lvKeys_->setHeaderLabels({texts.startColumn, texts.stopColumn});
    } else {
        lvKeys_->setColumnCount(1);
        lvKeys_->setHeaderHidden(true);
    }
    lvKeys_->setEditTriggers(allowEditing_ ? QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked
                                           : QAbstractItemView::NoEditTriggers);
    lvKeys_->OnEditing = [this](QTreeWidgetItem *item) { return editing(item); };
    lvKeys_->OnFocusChanged = [this](bool focused) {
        lblHint_->setVisible(focused && allowEditing_ && lvKeys_->topLevelItemCount() > 0);
    };
    connect(lvKeys_, &QTreeWidget::itemSelectionChanged, this, &TKeywordsEditorDlg::invalidatePanel);
    connect(lvKeys_->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, &TKeywordsEditorDlg::editorClosed);

    lblSelCount_ = new QLabel(this);
    lblSelCount_->setObjectName(QStringLiteral("lblSelCount"));
    lblHint_ = new QLabel(texts.editHint, this);
    lblHint_->setObjectName(QStringLiteral("LblHint"));
    lblHint_->setWordWrap(true);
    lblHint_->hide();

    // The options group.
    grpOptions_ = new QGroupBox(texts.optionsGroup, this);
    grpOptions_->setObjectName(QStringLiteral("grpOptions"));
    auto *options = new QVBoxLayout(grpOptions_);
    const auto addBox = [&](const char *name, const QString &text, OptionBox::Field field, std::uint8_t mask,
                            bool inverted = false) {
        auto *box = new QCheckBox(text, grpOptions_);
        box->setObjectName(QString::fromLatin1(name));
        optionBoxes_.push_back({box, field, mask, inverted});
        connect(box, &QCheckBox::clicked, this, [this, box] { optionClicked(box); });
        options->addWidget(box);
        return box;
    };
    cbMatchCase_ = addBox("cbMatchCase", texts.matchCase, OptionBox::Options, core::kOptMatchCase);
    cbWholeWords_ = addBox("cbWholeWords", texts.wholeWords, OptionBox::Options, core::kOptWholeWords);
    QCheckBox *crossParagraphs =
        addBox("cbCrossParagraphs", texts.crossParagraphs, OptionBox::KeyFlags, core::kKeyStaysInParagraph, true);
    crossParagraphs->setVisible(startStop);
    addBox("cbBold", texts.bold, OptionBox::Style, core::kStyleBold);
    addBox("cbItalic", texts.italic, OptionBox::Style, core::kStyleItalic);
    addBox("cbUnderline", texts.underline, OptionBox::Style, core::kStyleUnderline);
    addBox("cbStrikeOut", texts.strikeOut, OptionBox::Style, core::kStyleStrikeOut);
    addBox("cbHighlight", texts.highlight, OptionBox::Style, core::kStyleHighlight);
    addBox("cbAltFont", texts.altFont, OptionBox::Style, core::kStyleAltFont);

    const auto addColourRow = [&](Colour which, const QString &buttonText, const char *name) {
        auto *row = new QHBoxLayout;
        auto *swatch = new ColorSwatch(grpOptions_);
        swatch->setObjectName(QStringLiteral("shp%1").arg(QLatin1String(name)));
        auto *choose = new QPushButton(buttonText, grpOptions_);
        choose->setObjectName(QStringLiteral("btn%1").arg(QLatin1String(name)));
        auto *clear = new QPushButton(texts.clear, grpOptions_);
        clear->setObjectName(QStringLiteral("btnClear%1").arg(QLatin1String(name)));
        connect(choose, &QPushButton::clicked, this, [this, which] { chooseColour(which); });
        connect(clear, &QPushButton::clicked, this, [this, which] { clearColour(which); });
        row->addWidget(swatch);
        row->addWidget(choose);
        row->addWidget(clear);
        options->addLayout(row);
        (which == Colour::Foreground ? shpForeground_ : shpBackground_) = swatch;
        (which == Colour::Foreground ? btnClearForeground_ : btnClearBackground_) = clear;
    };
    addColourRow(Colour::Foreground, texts.foreground, "Foreground");
    addColourRow(Colour::Background, texts.background, "Background");

    const auto newNumberEdit = [this](const char *name) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->installEventFilter(this);
        return edit;
    };
    auto *numbers = new QFormLayout;
    edContext_ = newNumberEdit("edContext");
    numbers->addRow(texts.contextNumber, edContext_);
    cbPointer_ = new QComboBox(grpOptions_);
    cbPointer_->setObjectName(QStringLiteral("cbPointer"));
    for (const auto &cursor : standardCursors())
        cbPointer_->addItem(QString::fromLatin1(cursor.Name));
    connect(cbPointer_, &QComboBox::activated, this, &TKeywordsEditorDlg::pointerChosen);
    lblPointer_ = new QLabel(grpOptions_);
    lblPointer_->setObjectName(QStringLiteral("lblPointer"));
    auto *pointerRow = new QHBoxLayout;
    pointerRow->addWidget(cbPointer_, 1);
    pointerRow->addWidget(lblPointer_);
    // A row of two widgets gets a label of its own, so that the accelerator leads to the list.
    auto *pointerLabel = new QLabel(texts.mousePointer, grpOptions_);
    pointerLabel->setBuddy(cbPointer_);
    numbers->addRow(pointerLabel, pointerRow);
    options->addLayout(numbers);

    // The extended panel: scope, priority and positional dependency.
    pnlExtended_ = new QWidget(grpOptions_);
    pnlExtended_->setObjectName(QStringLiteral("pnlExtended"));
    auto *extended = new QVBoxLayout(pnlExtended_);
    extended->setContentsMargins(0, 0, 0, 0);
    auto *extendedNumbers = new QFormLayout;
    edScope_ = newNumberEdit("edScope");
    edPriority_ = newNumberEdit("edPriority");
    extendedNumbers->addRow(texts.scope, edScope_);
    extendedNumbers->addRow(texts.priority, edPriority_);
    extended->addLayout(extendedNumbers);
    rgPositional_ = new QGroupBox(texts.positional, pnlExtended_);
    rgPositional_->setObjectName(QStringLiteral("rgPositional"));
    auto *positional = new QVBoxLayout(rgPositional_);
    positionalButtons_ = new QButtonGroup(this);
    int id = 0;
    for (const QString *text :
         {&texts.positionNone, &texts.positionFirstWord, &texts.positionFirstItem, &texts.positionParagraphStart}) {
        auto *radio = new QRadioButton(*text, rgPositional_);
        positionalButtons_->addButton(radio, id++);
        positional->addWidget(radio);
    }
    connect(positionalButtons_, &QButtonGroup::idClicked, this, &TKeywordsEditorDlg::positionalChosen);
    extended->addWidget(rgPositional_);
    QCheckBox *endAtDelimiter =
        addBox("cbEndAtDelimiter", texts.endAtDelimiter, OptionBox::KeyFlags, core::kKeyEndAtDelimiter);
    QCheckBox *collapsible = addBox("cbCollapsible", texts.collapsible, OptionBox::KeyFlags, core::kKeyCollapsible);
    for (QCheckBox *box : {endAtDelimiter, collapsible}) {
        extended->addWidget(box);
        box->setVisible(startStop);
    }
    options->addWidget(pnlExtended_);
    pnlExtended_->setVisible(extended_);
    options->addStretch();

    // The buttons.
    auto *buttons = new QVBoxLayout;
    const auto addButton = [&](const char *name, const QString &text) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        buttons->addWidget(button);
        return button;
    };
    QPushButton *ok = addButton("btnOK", texts.ok);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(addButton("btnCancel", texts.cancel), &QPushButton::clicked, this, &QDialog::reject);
    btnInsert_ = addButton("btnInsert", texts.insert);
    btnAdd_ = addButton("btnAdd", texts.add);
    btnDelete_ = addButton("btnDelete", texts.remove);
    btnDelete_->setEnabled(false);
    connect(btnInsert_, &QPushButton::clicked, this, [this] {
        const int row = lvKeys_->currentItem() ? lvKeys_->indexOfTopLevelItem(lvKeys_->currentItem()) : 0;
        insertEntry(std::min(row, lvKeys_->topLevelItemCount()));
    });
    connect(btnAdd_, &QPushButton::clicked, this, [this] { insertEntry(lvKeys_->topLevelItemCount()); });
    connect(btnDelete_, &QPushButton::clicked, this, &TKeywordsEditorDlg::deleteSelected);
    connect(addButton("btnHelp", texts.help), &QPushButton::clicked, this, [] {
        if (helpHook())
            helpHook()(QStringLiteral("Keywords editor"));
    });
    buttons->addStretch();

    auto *listColumn = new QVBoxLayout;
    listColumn->addWidget(lvKeys_, 1);
    listColumn->addWidget(lblSelCount_);
    listColumn->addWidget(lblHint_);
    auto *root = new QHBoxLayout(this);
    root->setMenuBar(menuBar);
    root->addLayout(listColumn, 1);
    root->addWidget(new TScrollingPanel(grpOptions_, this));
    root->addLayout(buttons);

    if (!allowEditing_) {
        for (QWidget *w : std::initializer_list<QWidget *>{btnInsert_, btnAdd_, btnDelete_, cbMatchCase_, cbWholeWords_,
                                                           edContext_, edScope_, edPriority_, rgPositional_})
            w->setEnabled(false);
    }
    fillList();
}

void TKeywordsEditorDlg::fillList()
{
    for (const auto &entry : entries_)
        lvKeys_->addTopLevelItem(newItem(entry));
}

QTreeWidgetItem *TKeywordsEditorDlg::newItem(const KeyEntry &entry) const
{
    auto *item = new QTreeWidgetItem;
    item->setText(0, keyText(entry.Text));
    if (kind_ == KeyListKind::StartStopKeys)
        item->setText(1, keyText(entry.StopText));
    else if (allowEditing_)
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    return item;
}

void TKeywordsEditorDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (lvKeys_->topLevelItemCount() > 0 && !lvKeys_->currentItem())
        lvKeys_->setCurrentItem(lvKeys_->topLevelItem(0));
    showSelection();
}

bool TKeywordsEditorDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        // Leaving the edit for another control stores it; a window switch or a popup
        // (such as the error box itself) does not.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            commitNumberEdit(static_cast<QLineEdit *>(watched));
    }
    return QDialog::eventFilter(watched, event);
}

void TKeywordsEditorDlg::done(int result)
{
    if (result == Accepted) {
        lvKeys_->finishEditing();
        if (!commitNumberEdits())
            return;
        try {
            if (startStopKeys_ && modified_)
                core::checkStartStopEntries(entries_);
        } catch (const std::exception &error) {
            platform::dialogs().message(platform::MessageKind::Error, QString::fromStdString(error.what()));
            return;
        }
    }
    QDialog::done(result);
}

bool TKeywordsEditorDlg::ApplyEntries()
{
    if (!modified_)
        return false;
    if (keywords_) {
        core::fillKeywordList(*keywords_, entries_);
    } else {
        core::fillStartStopList(*startStopKeys_, entries_);
    }
    return true;
}

void TKeywordsEditorDlg::invalidatePanel()
{
    if (!panelCurrent_)
        return;
    panelCurrent_ = false;
    QTimer::singleShot(0, this, [this] {
        if (!panelCurrent_)
            showSelection();
    });
}

std::vector<int> TKeywordsEditorDlg::selectedRows() const
{
    std::vector<int> rows;
    for (QTreeWidgetItem *item : lvKeys_->selectedItems())
        rows.push_back(lvKeys_->indexOfTopLevelItem(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TKeywordsEditorDlg::showSelection()
{
    panelCurrent_ = true;
    const int count = lvKeys_->topLevelItemCount();
    const std::vector<int> rows = selectedRows();
    lblSelCount_->setText(count == 0 ? QString() : editorTexts().keywords.selectedCount.arg(rows.size()).arg(count));
    if (rows.empty()) {
        grpOptions_->setEnabled(false);
        setGreyText(grpOptions_, true);
        btnDelete_->setEnabled(false);
        lblHint_->hide();
        return;
    }
    lblHint_->setVisible(allowEditing_ && lvKeys_->hasFocus());
    grpOptions_->setEnabled(true);
    setGreyText(grpOptions_, false);
    btnDelete_->setEnabled(allowEditing_);

    QTreeWidgetItem *current = lvKeys_->currentItem();
    const int shownRow = current && current->isSelected() ? lvKeys_->indexOfTopLevelItem(current) : rows.front();
    const KeyEntry &shown = entries_[static_cast<std::size_t>(shownRow)];
    const auto differs = [&](auto &&field) {
        return std::any_of(rows.begin(), rows.end(),
                           [&](int row) { return field(entries_[static_cast<std::size_t>(row)]) != field(shown); });
    };

    panelFilling_ = true;
    for (const auto &option : optionBoxes_) {
        option.box->setTristate(false);
        const bool greyed = differs([&](const KeyEntry &e) { return option.value(e); });
        option.box->setCheckState(greyed ? Qt::PartiallyChecked : option.value(shown) ? Qt::Checked : Qt::Unchecked);
    }
    positionalButtons_->button(positionalItem(shown.Attributes.KeyOptions))->setChecked(true);
    setGreyText(rgPositional_, differs([](const KeyEntry &e) { return positionalItem(e.Attributes.KeyOptions); }));

    const std::int32_t foreground = shown.Attributes.Foreground;
    const std::int32_t background = shown.Attributes.Background;
    const bool bothBlack = foreground == 0 && background == 0;
    const auto showSwatch = [&](ColorSwatch *swatch, QPushButton *clear, std::int32_t value, bool foregroundSide) {
        const bool visible = hasColour(value) && !bothBlack;
        const bool mixed = differs([&](const KeyEntry &e) { return colourOf(e, foregroundSide); });
        swatch->setColor(colorFromValue(value), mixed ? Qt::DiagCrossPattern : Qt::SolidPattern);
        swatch->setVisible(visible);
        clear->setVisible(visible);
    };
    showSwatch(shpForeground_, btnClearForeground_, foreground, true);
    showSwatch(shpBackground_, btnClearBackground_, background, false);

    const auto showNumber = [&](QLineEdit *edit, auto &&field) {
        edit->setText(QString::number(field(shown)));
        edit->setModified(false);
        setGreyText(edit, differs(field));
    };
    showNumber(edContext_, [](const KeyEntry &e) { return e.Attributes.ContextNum; });
    showNumber(edScope_, [](const KeyEntry &e) { return e.Scope; });
    showNumber(edPriority_, [](const KeyEntry &e) { return e.Priority; });

    lblPointer_->setText(QString::number(shown.Attributes.Cursor));
    cbPointer_->setCurrentIndex(cbPointer_->findText(QString::fromStdString(cursorToString(shown.Attributes.Cursor))));
    setGreyText(cbPointer_, differs([](const KeyEntry &e) { return e.Attributes.Cursor; }));
    panelFilling_ = false;
}

void TKeywordsEditorDlg::optionClicked(QCheckBox *box)
{
    if (panelFilling_)
        return;
    // A greyed box that is clicked takes a plain state and keeps it.
    box->setTristate(false);
    for (const int row : selectedRows())
        for (const auto &option : optionBoxes_)
            if (option.box->checkState() != Qt::PartiallyChecked)
                option.set(entries_[static_cast<std::size_t>(row)], option.box->isChecked());
    modified_ = true;
}

void TKeywordsEditorDlg::chooseColour(Colour which)
{
    ColorSwatch *swatch = which == Colour::Foreground ? shpForeground_ : shpBackground_;
    const QColor initial = !swatch->isHidden() ? swatch->color() : QColor(Qt::black);
    const std::optional<QColor> chosen = askColour(initial, this);
    if (!chosen)
        return;
    swatch->setColor(*chosen, Qt::SolidPattern);
    swatch->show();
    (which == Colour::Foreground ? btnClearForeground_ : btnClearBackground_)->show();
    for (const int row : selectedRows())
        colourOf(entries_[static_cast<std::size_t>(row)], which == Colour::Foreground) = colorToValue(*chosen);
    modified_ = true;
}

void TKeywordsEditorDlg::clearColour(Colour which)
{
    (which == Colour::Foreground ? shpForeground_ : shpBackground_)->hide();
    (which == Colour::Foreground ? btnClearForeground_ : btnClearBackground_)->hide();
    for (const int row : selectedRows())
        colourOf(entries_[static_cast<std::size_t>(row)], which == Colour::Foreground) = -1;
    modified_ = true;
}

void TKeywordsEditorDlg::pointerChosen(int index)
{
    if (panelFilling_ || index < 0)
        return;
    const std::int16_t cursor = standardCursors()[static_cast<std::size_t>(index)].Value;
    lblPointer_->setText(QString::number(cursor));
    setGreyText(cbPointer_, false);
    for (const int row : selectedRows())
        entries_[static_cast<std::size_t>(row)].Attributes.Cursor = cursor;
    modified_ = true;
}

void TKeywordsEditorDlg::positionalChosen(int id)
{
    if (panelFilling_)
        return;
    setGreyText(rgPositional_, false);
    for (const int row : selectedRows()) {
        std::uint8_t &options = entries_[static_cast<std::size_t>(row)].Attributes.KeyOptions;
        options = static_cast<std::uint8_t>((options & (core::kOptMatchCase | core::kOptWholeWords)) +
                                            kPositionalOptions[id]);
    }
    modified_ = true;
}

bool TKeywordsEditorDlg::commitNumberEdit(QLineEdit *edit)
{
    if (!edit->isModified() || committing_)
        return true;
    std::int16_t value = 0;
    try {
        // Stored as a signed 16-bit number: higher bits are dropped.
        value = static_cast<std::int16_t>(toInteger(edit->text()));
    } catch (const std::invalid_argument &error) {
        committing_ = true;
        platform::dialogs().message(platform::MessageKind::Error, QString::fromStdString(error.what()));
        committing_ = false;
        QTimer::singleShot(0, edit, [edit] {
            edit->setFocus();
            edit->selectAll();
        });
        return false;
    }
    for (const int row : selectedRows()) {
        KeyEntry &entry = entries_[static_cast<std::size_t>(row)];
        (edit == edContext_ ? entry.Attributes.ContextNum : edit == edScope_ ? entry.Scope : entry.Priority) = value;
    }
    edit->setModified(false);
    setGreyText(edit, false);
    modified_ = true;
    return true;
}

bool TKeywordsEditorDlg::commitNumberEdits()
{
    return commitNumberEdit(edContext_) && commitNumberEdit(edScope_) && commitNumberEdit(edPriority_);
}

void TKeywordsEditorDlg::insertEntry(int row)
{
    entries_.insert(entries_.begin() + row, core::freshKeyEntry());
    QTreeWidgetItem *item = newItem(entries_[static_cast<std::size_t>(row)]);
    lvKeys_->insertTopLevelItem(row, item);
    lvKeys_->clearSelection();
    lvKeys_->setCurrentItem(item);
    lvKeys_->setFocus();
    invalidatePanel();
    if (kind_ == KeyListKind::StartStopKeys)
        promptStartStop(item);
    else
        lvKeys_->editItem(item, 0);
}

void TKeywordsEditorDlg::deleteSelected()
{
    const std::vector<int> rows = selectedRows();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        delete lvKeys_->takeTopLevelItem(*row);
        entries_.erase(entries_.begin() + *row);
    }
    modified_ = true;
    btnDelete_->setEnabled(false);
    invalidatePanel();
}

bool TKeywordsEditorDlg::editing(QTreeWidgetItem *item)
{
    if (!allowEditing_)
        return false;
    if (kind_ == KeyListKind::StartStopKeys) {
        promptStartStop(item);
        return false;
    }
    editingItem_ = item;
    editingText_ = item->text(0);
    return true;
}

void TKeywordsEditorDlg::editorClosed()
{
    const int row = editingItem_ ? lvKeys_->indexOfTopLevelItem(editingItem_) : -1;
    editingItem_ = nullptr;
    if (row < 0)
        return;
    const QString text = lvKeys_->topLevelItem(row)->text(0);
    if (text != editingText_) {
        entries_[static_cast<std::size_t>(row)].Text = keyBytes(text);
        modified_ = true;
    }
    lblHint_->setVisible(allowEditing_);
}

void TKeywordsEditorDlg::promptStartStop(QTreeWidgetItem *item)
{
    const int row = lvKeys_->indexOfTopLevelItem(item);
    KeyEntry &entry = entries_[static_cast<std::size_t>(row)];
    const KeywordsEditorTexts &texts = editorTexts().keywords;
    for (const int column : {0, 1}) {
        const QString prompt = column == 0 ? texts.newStartKey : texts.newStopKey;
        const std::optional<QString> answer =
            platform::dialogs().input(texts.startStopCaption, prompt, item->text(column));
        if (!answer)
            return;
        if (*answer != item->text(column)) {
            item->setText(column, *answer);
            (column == 0 ? entry.Text : entry.StopText) = keyBytes(*answer);
            modified_ = true;
        }
    }
}

void TKeywordsEditorDlg::appendEntries(std::vector<KeyEntry> loaded)
{
    if (loaded.empty())
        return;
    for (auto &entry : loaded) {
        lvKeys_->addTopLevelItem(newItem(entry));
        entries_.push_back(std::move(entry));
    }
    modified_ = true;
    invalidatePanel();
}

bool EditKeywordList(core::TKeywordList &list, bool showExtended, bool allowEditing, QWidget *parent,
                     KeywordListClass listClass)
{
    TKeywordsEditorDlg dialog(list, showExtended, allowEditing, parent, std::move(listClass));
    return dialog.exec() == QDialog::Accepted && dialog.ApplyEntries();
}

bool EditStartStopList(core::TStartStopKeyList &list, bool showExtended, bool allowEditing, QWidget *parent,
                       StartStopListClass listClass)
{
    TKeywordsEditorDlg dialog(list, showExtended, allowEditing, parent, std::move(listClass));
    return dialog.exec() == QDialog::Accepted && dialog.ApplyEntries();
}

} // namespace velmora::widget
