#include "app/prefs/PrefsWindow.h"

#include "app/MainWindow.h"
#include "app/language/ComponentTexts.h"
#include "app/language/LanguagePackLocation.h"
#include "app/prefs/ColorBox.h"
#include "app/prefs/RadioGroup.h"
#include "editor/core/highlight/AssemblerSyntax.h"
#include "editor/widget/ColorSwatch.h"
#include "editor/widget/KeywordsEditorDlg.h"
#include "editor/widget/ScrollingPanel.h"
#include "editor/widget/SourceMemo.h"
#include "platform/Dialogs.h"
#include "platform/FileAssociation.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <tuple>

namespace velmora::app
{

namespace
{

template <class Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QCheckBox *checkBox(const char *name, const QString &caption, QWidget *parent)
{
    return named(new QCheckBox(caption, parent), name);
}

QLabel *label(const char *name, const QString &caption, QWidget *parent)
{
    return named(new QLabel(caption, parent), name);
}

QGroupBox *groupBox(const char *name, const QString &caption, QWidget *parent)
{
    return named(new QGroupBox(caption, parent), name);
}

QWidget *page(const char *name)
{
    return named(new QWidget, name);
}

bool confirmed(const QString &question)
{
    using platform::Answer;
    return platform::dialogs().message(platform::MessageKind::Confirmation, question, {Answer::Ok, Answer::Cancel}) ==
           Answer::Ok;
}

} // namespace

TPrefsW::TPrefsW(TVelmora &main) : QDialog(&main), main_(main)
{
    setObjectName(QStringLiteral("PrefsW"));
    setWindowTitle(QStringLiteral("Preferences"));
    ChooseFont = [this](const QFont &initial) -> std::optional<QFont> {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, initial, this);
        return ok ? std::optional<QFont>(chosen) : std::nullopt;
    };

    PageControl1_ = named(new QTabWidget(this), "PageControl1");
    PageControl1_->addTab(widget::scrollingPage(buildMainPage()), QStringLiteral("Main"));
    PageControl1_->addTab(widget::scrollingPage(buildOutputPage()), QStringLiteral("Output"));
    PageControl1_->addTab(widget::scrollingPage(buildHighlightPage()), QStringLiteral("Highlight"));
    PageControl1_->addTab(widget::scrollingPage(buildParserPage()), QStringLiteral("Parser"));
    PageControl1_->addTab(widget::scrollingPage(buildStylePage()), QStringLiteral("Style"));
    PageControl1_->addTab(widget::scrollingPage(buildCommandLinesPage()), QStringLiteral("Command lines"));
    // Every tab stays in sight: the window is as wide as its tabs, never a scrolling tab bar.
    PageControl1_->tabBar()->setUsesScrollButtons(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1_, 1);
    layout->addWidget(buildButtonPanel());
}

QWidget *TPrefsW::buildMainPage()
{
    QWidget *sheet = page("MainOptions");
    auto *layout = new QVBoxLayout(sheet);
    auto *associate = named(new QPushButton(QStringLiteral("Associate \".asm\" files with Velmora"), sheet), "Button1");
    connect(associate, &QPushButton::clicked, this, [this] { TVelmora::runCommand([this] { Button1Click(); }); });
    layout->addWidget(associate);

    StartLoad_ = new TRadioGroup(
        "StartLoad", QStringLiteral(" -= On \"New File\" Load : =- "),
        {QStringLiteral("Default Template (TTDIR\\def_templ.asm )"), QStringLiteral("Empty Document")}, sheet);
    layout->addWidget(StartLoad_);
    copytott_ = checkBox("copytott", QStringLiteral("Copy All Loaded files in Velmora\\TTDIR"), sheet);
    copytott_->hide();

    QGroupBox *language = groupBox("GroupBox4", QStringLiteral(" -= Language =- "), sheet);
    auto *languageLayout = new QHBoxLayout(language);
    languageLayout->addWidget(label("Label5", QStringLiteral("Current language file :"), language));
    Label8_ = label("Label8", QString(), language);
    languageLayout->addWidget(Label8_, 1);
    auto *load = named(new QPushButton(QStringLiteral("Load language file "), language), "BitBtn2");
    connect(load, &QPushButton::clicked, this, [this] { TVelmora::runCommand([this] { BitBtn2Click(); }); });
    languageLayout->addWidget(load);
    layout->addWidget(language);
    layout->addStretch();
    return sheet;
}

QWidget *TPrefsW::buildOutputPage()
{
    QWidget *sheet = page("TabSheet2");
    auto *layout = new QVBoxLayout(sheet);
    OutDestination_ = new TRadioGroup(
        "OutDestination", QStringLiteral(" -= Output Destination =- "),
        {QStringLiteral("Output Tasm, Tlink, Run messages to Velmora"), QStringLiteral("Standart output in windows")},
        sheet);
    OutDestination_->OnClick = [this] { OutDestinationClick(); };
    layout->addWidget(OutDestination_);

    WhatsEditBox_ = groupBox("WhatsEditBox", QStringLiteral(" -= Output Options =- "), sheet);
    auto *what = new QVBoxLayout(WhatsEditBox_);
    CheckBox12_ = checkBox("CheckBox12", QStringLiteral("TAsm messages"), WhatsEditBox_);
    CheckBox13_ = checkBox("CheckBox13", QStringLiteral("TLink Messages"), WhatsEditBox_);
    CheckBox14_ = checkBox("CheckBox14", QStringLiteral("Run Output information"), WhatsEditBox_);
    CAutoChangePage_ = checkBox("CAutoChangePage", QStringLiteral("Auto change page"), WhatsEditBox_);
    for (QCheckBox *box : {CheckBox12_, CheckBox13_, CheckBox14_, CAutoChangePage_})
        what->addWidget(box);
    layout->addWidget(WhatsEditBox_);

    for (const auto &[name, text] :
         {std::pair{"Label6", "Captured output is shown on the pages of the main window."},
          std::pair{"Label7", "Output in windows runs every tool in a window of its own."}}) {
        QLabel *note = label(name, QString::fromLatin1(text), sheet);
        note->setWordWrap(true);
        layout->addWidget(note);
    }
    layout->addStretch();
    return sheet;
}

QWidget *TPrefsW::buildHighlightPage()
{
    QWidget *sheet = page("TabSheet1");
    auto *layout = new QVBoxLayout(sheet);
    EnableHL_ = checkBox("EnableHL", QStringLiteral("Enable HighLight"), sheet);
    EnableHL_->hide();
    NumbersHL_ = checkBox("NumbersHL", QStringLiteral("HighLight numbers"), sheet);
    layout->addWidget(NumbersHL_);

    auto *colour = new QHBoxLayout;
    colour->addWidget(label("Label4", QStringLiteral("Numbers color :"), sheet));
    NumbersHLColor_ = new TColorBox("NumbersHLColor", sheet);
    NumbersHLColor_->OnChange = [this] { NumbersHLColorChange(); };
    colour->addWidget(NumbersHLColor_);
    colour->addStretch();
    layout->addLayout(colour);
    layout->addWidget(buildSourceColoursLegend(sheet));

    auto *keywords = named(new QPushButton(QStringLiteral("Define Keyword List"), sheet), "BitBtn1");
    connect(keywords, &QPushButton::clicked, this, [this] { TVelmora::runCommand([this] { BitBtn1Click(); }); });
    layout->addWidget(keywords, 0, Qt::AlignLeft);
    layout->addStretch();
    return sheet;
}

// The colours the editor gives the parts of a source, named beside a sample of each, so that
// the user can tell them from the numbers colour chosen above.
QWidget *TPrefsW::buildSourceColoursLegend(QWidget *sheet)
{
    const core::TAssemblerColours colours;
    QGroupBox *legend = groupBox("SourceColours", QString(), sheet);
    auto *rows = new QFormLayout(legend);
    for (const auto &[labelName, swatchName, value] :
         {std::tuple{"InstructionsLabel", "InstructionsColor", colours.instruction},
          std::tuple{"RegistersLabel", "RegistersColor", colours.reg},
          std::tuple{"DirectivesLabel", "DirectivesColor", colours.directive},
          std::tuple{"CommentsLabel", "CommentsColor", colours.comment},
          std::tuple{"StringsLabel", "StringsColor", colours.string}}) {
        auto *swatch = named(new widget::ColorSwatch(legend), swatchName);
        swatch->setColor(widget::colorFromValue(value));
        rows->addRow(label(labelName, QString(), legend), swatch);
    }
    return legend;
}

void TPrefsW::setMoreTexts(const PrefsMoreTexts &texts)
{
    findChild<QGroupBox *>(QStringLiteral("SourceColours"))->setTitle(texts.sourceColours);
    for (const auto &[labelName, text] :
         {std::pair{"InstructionsLabel", &texts.instructions}, std::pair{"RegistersLabel", &texts.registers},
          std::pair{"DirectivesLabel", &texts.directives}, std::pair{"CommentsLabel", &texts.comments},
          std::pair{"StringsLabel", &texts.strings}})
        findChild<QLabel *>(QLatin1String(labelName))->setText(*text);
    ToolChain_->setTitle(texts.toolChain);
    setItemText(*ToolChain_, int(toolchain::Chain::DosTools), texts.dosTools);
    setItemText(*ToolChain_, int(toolchain::Chain::BuiltIn), texts.builtInTools);
}

QWidget *TPrefsW::buildParserPage()
{
    QWidget *sheet = page("TabSheet3");
    auto *layout = new QVBoxLayout(sheet);
    QGroupBox *aids = groupBox("GroupBox3", QStringLiteral(" -= Typing Aids =- "), sheet);
    auto *aidsLayout = new QVBoxLayout(aids);
    optBoxes_[0] = checkBox("CheckBox3", QStringLiteral("Put Space after ','"), aids);
    optBoxes_[1] = checkBox("CheckBox4", QStringLiteral("Put 2 Tab`s before ';'"), aids);
    static const char *const reserved[] = {"CheckBox5", "CheckBox6",  "CheckBox7", "CheckBox8",
                                           "CheckBox9", "CheckBox10", "CheckBox11"};
    for (int i = 0; i < 7; ++i) {
        QCheckBox *box = checkBox(reserved[i], QStringLiteral("Reserved"), aids);
        box->hide();
        box->setEnabled(false);
        optBoxes_[i + 2] = box;
    }
    for (QCheckBox *box : optBoxes_)
        aidsLayout->addWidget(box);
    layout->addWidget(aids);
    layout->addStretch();
    return sheet;
}

QWidget *TPrefsW::buildStylePage()
{
    QWidget *sheet = page("FontsStyles");
    auto *layout = new QVBoxLayout(sheet);

    QGroupBox *memo = groupBox("MemoOpt", QStringLiteral(" -= Editor =- "), sheet);
    auto *memoLayout = new QFormLayout(memo);
    ColorBox1_ = new TColorBox("ColorBox1", memo);
    ColorBox2_ = new TColorBox("ColorBox2", memo);
    memoLayout->addRow(label("Label1", QStringLiteral("BackGround color"), memo), ColorBox1_);
    memoLayout->addRow(label("Label2", QStringLiteral("Font color"), memo), ColorBox2_);
    auto *font = named(new QPushButton(QStringLiteral("Chose Editor font"), memo), "SpeedButton1");
    connect(font, &QPushButton::clicked, this, [this] { TVelmora::runCommand([this] { SpeedButton1Click(); }); });
    memoLayout->addRow(font);
    Bold_ = checkBox("Bold", QStringLiteral("Bold Font in Editor"), memo);
    Wrap_ = checkBox("Wrap", QStringLiteral("Word wrap in Editor"), memo);
    memoLayout->addRow(Bold_);
    memoLayout->addRow(Wrap_);
    layout->addWidget(memo);

    QGroupBox *alpha = groupBox("GroupBox1", QStringLiteral(" -= Alpha Blend =-   "), sheet);
    auto *alphaLayout = new QHBoxLayout(alpha);
    CheckBox1_ = checkBox("CheckBox1", QStringLiteral("Enable Alpha Blend"), alpha);
    TrackBar1_ = named(new QSlider(Qt::Horizontal, alpha), "TrackBar1");
    TrackBar1_->setRange(0, 255);
    TrackBar1_->setValue(127);
    connect(CheckBox1_, &QCheckBox::toggled, this, &TPrefsW::applyAlphaBlend);
    connect(TrackBar1_, &QSlider::valueChanged, this, &TPrefsW::applyAlphaBlend);
    alphaLayout->addWidget(CheckBox1_);
    alphaLayout->addWidget(label("Label3", QStringLiteral("Transparency :"), alpha));
    alphaLayout->addWidget(TrackBar1_, 1);
    layout->addWidget(alpha);

    whatctrl_ = new TRadioGroup(
        "whatctrl", QStringLiteral(" -= Controls =- "),
        {QStringLiteral("Main Menu"), QStringLiteral("Toolbar (buttons)"), QStringLiteral("Main Menu and ToolBar")},
        sheet);
    layout->addWidget(whatctrl_);
    layout->addStretch();
    return sheet;
}

QWidget *TPrefsW::buildCommandLinesPage()
{
    QWidget *sheet = page("TabSheet4");
    auto *layout = new QVBoxLayout(sheet);
    auto *tools = new QFormLayout;
    Edit1_ = named(new QLineEdit(sheet), "Edit1");
    Edit2_ = named(new QLineEdit(sheet), "Edit2");
    Edit3_ = named(new QLineEdit(sheet), "Edit3");
    tools->addRow(label("Label10", QStringLiteral("Compile"), sheet), Edit1_);
    tools->addRow(label("Label13", QStringLiteral("Link"), sheet), Edit2_);
    tools->addRow(label("Label14", QStringLiteral("Debug"), sheet), Edit3_);
    layout->addLayout(tools);
    Label9_ = label("Label9", QString(), sheet);
    Label9_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(Label9_);
    const PrefsMoreTexts texts;
    ToolChain_ = new TRadioGroup("ToolChain", texts.toolChain, {texts.dosTools, texts.builtInTools}, sheet);
    layout->addWidget(ToolChain_);

    // A hidden group: the mapping is set in the settings file, which alone gives the letter.
    QGroupBox *drive = groupBox("GroupBox2", QStringLiteral(" -= Virtual Drive =- "), sheet);
    auto *driveLayout = new QHBoxLayout(drive);
    VirtDriveCheck_ = checkBox("VirtDriveCheck", QStringLiteral("Enable Virtual Drive"), drive);
    connect(VirtDriveCheck_, &QCheckBox::clicked, this, &TPrefsW::VirtDriveCheckClick);
    Virt_Letter_ = label("Virt_Letter", QStringLiteral("Virtual Drive letter"), drive);
    Virt_Letter_Edit_ = named(new QLineEdit(QStringLiteral("Z"), drive), "Virt_Letter_Edit");
    Virt_Letter_Edit_->setMaxLength(1);
    driveLayout->addWidget(VirtDriveCheck_);
    driveLayout->addWidget(Virt_Letter_);
    driveLayout->addWidget(Virt_Letter_Edit_);
    drive->hide();
    layout->addWidget(drive);
    layout->addStretch();
    return sheet;
}

QWidget *TPrefsW::buildButtonPanel()
{
    auto *panel = named(new QWidget(this), "Panel1");
    auto *layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto add = [&](const char *name, const QString &caption, void (TPrefsW::*handler)()) {
        auto *button = named(new QPushButton(caption, panel), name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this,
                [this, handler] { TVelmora::runCommand([this, handler] { (this->*handler)(); }); });
        return button;
    };
    layout->addWidget(add("SpeedButton3", QStringLiteral("Dafault all settings"), &TPrefsW::SpeedButton3Click));
    layout->addStretch();
    layout->addWidget(add("Cancel", QStringLiteral("Cancel"), &TPrefsW::CancelClick));
    QPushButton *ok = add("SpeedButton2", QStringLiteral("OK"), &TPrefsW::SpeedButton2Click);
    ok->setDefault(true);
    layout->addWidget(ok);
    layout->addWidget(add("Apply", QStringLiteral("Apply"), &TPrefsW::ApplyClick));
    return panel;
}

void TPrefsW::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        TVelmora::runCommand([this] { FormShow(); });
    QDialog::showEvent(event);
}

void TPrefsW::FormShow()
{
    const Settings &s = main_.state().settings;
    Wrap_->setChecked(s.WW);
    Bold_->setChecked(s.BF);
    ColorBox1_->setSelected(s.bc);
    ColorBox2_->setSelected(s.fc);
    for (int i = 0; i < int(s.opt.size()); ++i)
        optBoxes_[i]->setChecked(s.opt[i]);
    OutDestination_->setItemIndex(s.build.outdest);
    OutDestinationClick();
    CheckBox12_->setChecked(s.build.outTasm);
    CheckBox13_->setChecked(s.build.outTlink);
    CheckBox14_->setChecked(s.build.outRun);
    CAutoChangePage_->setChecked(s.build.Auto_Change_Page);
    fontName_ = s.FontName;
    fontSize_ = s.FontSize;
    NumbersHLColor_->setSelected(s.NumbersColor);
    NumbersHL_->setChecked(s.oNumbersHL);
    EnableHL_->setChecked(s.oEnableHL);
    whatctrl_->setItemIndex(s.WhatControls);
    copytott_->setChecked(s.CopyToTTDIR);
    StartLoad_->setItemIndex(s.def_templ ? 0 : 1);

    main_.ApplyLanguagePrefsW();

    Label8_->setText(languageFileName(main_.state().LanguageFile));
    languageDialogDir_ = main_.state().Folders.data + QStringLiteral("info/");
    Label9_->setText(main_.state().toolsFolder() + QLatin1Char('/'));

    Edit1_->setText(s.build.TasmFile);
    Edit2_->setText(s.build.TLinkFile);
    Edit3_->setText(s.build.TDFile);
    ToolChain_->setItemIndex(int(s.build.toolChain));
    VirtDriveCheck_->setChecked(s.VirtDriveEnable);
    enableVirtualDriveLetter();
}

void TPrefsW::Store()
{
    Settings &s = main_.state().settings;
    s.BF = Bold_->isChecked();
    s.WW = Wrap_->isChecked();
    s.bc = ColorBox1_->Selected();
    s.fc = ColorBox2_->Selected();
    for (int i = 0; i < int(s.opt.size()); ++i)
        s.opt[i] = optBoxes_[i]->isChecked();
    s.build.outdest = OutDestination_->ItemIndex();
    s.build.outTasm = CheckBox12_->isChecked();
    s.build.outTlink = CheckBox13_->isChecked();
    s.build.outRun = CheckBox14_->isChecked();
    s.build.Auto_Change_Page = CAutoChangePage_->isChecked();
    s.FontName = fontName_;
    s.FontSize = fontSize_;
    s.NumbersColor = NumbersHLColor_->Selected();
    s.oNumbersHL = NumbersHL_->isChecked();
    if (main_.SetNumbersForeground)
        main_.SetNumbersForeground(s.NumbersColor);
    s.oEnableHL = EnableHL_->isChecked();
    s.WhatControls = whatctrl_->ItemIndex();
    s.CopyToTTDIR = copytott_->isChecked();
    s.def_templ = StartLoad_->ItemIndex() == 0;
    s.build.TasmFile = Edit1_->text();
    s.build.TLinkFile = Edit2_->text();
    s.build.TDFile = Edit3_->text();
    s.build.toolChain = toolchain::Chain(ToolChain_->ItemIndex());
    s.VirtDriveEnable = VirtDriveCheck_->isChecked();
    main_.apply();
}

void TPrefsW::SpeedButton2Click()
{
    Store();
    accept();
}

void TPrefsW::ApplyClick()
{
    Store();
}

void TPrefsW::CancelClick()
{
    reject();
}

void TPrefsW::SpeedButton3Click()
{
    if (!confirmed(main_.prefsTexts.resetSettings))
        return;
    main_.resetSettings();
    close();
}

void TPrefsW::Button1Click()
{
    if (confirmed(main_.prefsTexts.associate))
        platform::associateAsmFiles(QCoreApplication::applicationFilePath());
}

void TPrefsW::BitBtn1Click()
{
    if (widget::EditKeywordList(main_.editor->Keywords(), true, true, this))
        main_.saveKeywordList();
    if (main_.ReApplyKeywords)
        main_.ReApplyKeywords();
}

void TPrefsW::BitBtn2Click()
{
    platform::FileDialogRequest request;
    request.title = main_.texts.prefs.languageTitle;
    request.filter = main_.prefsTexts.languageFilter;
    request.initialDir = languageDialogDir_;
    const std::optional<QString> chosen = platform::dialogs().openFile(request);
    if (!chosen || chosen->isEmpty())
        return;
    Settings &s = main_.state().settings;
    s.LNGFile = languageFileName(*chosen);
    main_.state().LanguageFile = languageFilePath(main_.state().Folders.data, s.LNGFile);
    main_.ApplyLanguage();
    main_.ApplyLanguagePrefsW();
    Label8_->setText(s.LNGFile);
}

void TPrefsW::SpeedButton1Click()
{
    QFont initial(fontName_);
    if (fontSize_ > 0)
        initial.setPointSize(fontSize_);
    const std::optional<QFont> chosen = ChooseFont(initial);
    if (!chosen)
        return;
    fontName_ = chosen->family();
    if (chosen->pointSize() > 0)
        fontSize_ = chosen->pointSize();
    if (main_.SetEditorFont)
        main_.SetEditorFont(fontName_, fontSize_);
}

void TPrefsW::OutDestinationClick()
{
    WhatsEditBox_->setEnabled(OutDestination_->ItemIndex() == 0);
}

void TPrefsW::NumbersHLColorChange()
{
    if (main_.SetNumbersForeground)
        main_.SetNumbersForeground(NumbersHLColor_->Selected());
}

void TPrefsW::applyAlphaBlend()
{
    main_.setWindowOpacity(CheckBox1_->isChecked() ? TrackBar1_->value() / 255.0 : 1.0);
}

void TPrefsW::VirtDriveCheckClick()
{
    enableVirtualDriveLetter();
    platform::dialogs().message(platform::MessageKind::Information, main_.prefsTexts.restartPlease);
}

void TPrefsW::enableVirtualDriveLetter()
{
    Virt_Letter_->setEnabled(VirtDriveCheck_->isChecked());
    Virt_Letter_Edit_->setEnabled(VirtDriveCheck_->isChecked());
}

} // namespace velmora::app
