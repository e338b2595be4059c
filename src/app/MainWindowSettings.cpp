// The settings file cf.ini: ReadAllINI, WriteAllINI and apply.
#include "app/IniFile.h"
#include "app/MainWindow.h"
#include "app/SavedKeywordList.h"
#include "app/language/LanguagePackLocation.h"
#include "editor/core/highlight/AssemblerSyntax.h"
#include "editor/core/text/EditorErrors.h"
#include "editor/widget/SourceMemo.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace velmora::app
{

namespace
{

const char *const HighLight = "HighLight";
const char *const Config = "Config";
const char *const Font = "Font";
const char *const Window = "Window";

// Key names opt1 .. opt9.
QByteArray optKey(int index)
{
    return "opt" + QByteArray::number(index + 1);
}

} // namespace

void TVelmora::ReadAllINI()
{
    ini_ = std::make_unique<IniFile>(state_.Folders.settings + QStringLiteral("cf.ini"));
    const IniFile &ini = *ini_;
    const Settings defaults;
    Settings &s = state_.settings;

    s.oEnableHL = ini.readBool(HighLight, "oEnableHL", defaults.oEnableHL);
    s.def_templ = ini.readBool(Config, "def_templ", defaults.def_templ);
    s.velm_caption = ini.readString(Config, "velm_caption", defaults.velm_caption);
    s.velm_version = ini.readString(Config, "velm_version", defaults.velm_version);
    s.build.Auto_Change_Page = ini.readBool(Config, "Auto_Change_Page", defaults.build.Auto_Change_Page);
    state_.ToolsDir = state_.Folders.tools.toLower();
    state_.LastFile = ini.readString(Config, "LastF", QString());
    s.BF = ini.readBool(Config, "BF", defaults.BF);
    s.WW = ini.readBool(Config, "WW", defaults.WW);
    s.bc = ini.readInteger("config", "bc", defaults.bc);
    s.fc = ini.readInteger("config", "fc", defaults.fc);
    for (int i = 0; i < int(s.opt.size()); ++i)
        s.opt[i] = ini.readBool(Config, optKey(i).constData(), defaults.opt[i]);
    s.build.outdest = ini.readInteger(Config, "outdest", defaults.build.outdest);
    s.build.outTasm = ini.readBool(Config, "outTasm", defaults.build.outTasm);
    s.build.outTlink = ini.readBool(Config, "outTlink", defaults.build.outTlink);
    s.build.outRun = ini.readBool(Config, "outRun", defaults.build.outRun);
    s.FontName = ini.readString(Font, "Name", defaults.FontName);
    s.FontSize = ini.readInteger(Font, "Size", defaults.FontSize);
    // A size no one can read or work with (a slip of the hand in the file) is not taken.
    if (s.FontSize < MinFontSize || s.FontSize > MaxFontSize)
        s.FontSize = defaults.FontSize;
    s.CopyToTTDIR = ini.readBool(Config, "CopyToTTDIR", defaults.CopyToTTDIR);
    s.WhatControls = ini.readInteger(Config, "WhatControls", defaults.WhatControls);
    s.NumbersColor = ini.readInteger(HighLight, "NumbersColor", defaults.NumbersColor);
    s.oNumbersHL = ini.readBool(HighLight, "oNumbersHL", defaults.oNumbersHL);
    s.build.TasmFile = ini.readString(Config, "TasmFile", defaults.build.TasmFile);
    s.build.TLinkFile = ini.readString(Config, "TLinkFile", defaults.build.TLinkFile);
    s.build.TDFile = ini.readString(Config, "TDFile", defaults.build.TDFile);
    s.build.toolChain =
        toolchain::chainFromValue(ini.readInteger(Config, "ToolChain", -1), state_.toolsFolder(), s.build.TasmFile);
    s.LNGFile = ini.readString(Config, "LNGFile", defaults.LNGFile);
    state_.LanguageFile = languageFilePath(state_.Folders.data, s.LNGFile);
    s.VirtDriveEnable = ini.readBool(Config, "VirtDriveEnable", defaults.VirtDriveEnable);
    s.VirtDrive = ini.readString(Config, "VirtDrive", defaults.VirtDrive);
    s.Charset = ini.readString(Config, "Charset", defaults.Charset);
    s.WindowLeft = ini.readInteger(Window, "Left", defaults.WindowLeft);
    s.WindowTop = ini.readInteger(Window, "Top", defaults.WindowTop);
    s.WindowWidth = ini.readInteger(Window, "Width", defaults.WindowWidth);
    s.WindowHeight = ini.readInteger(Window, "Height", defaults.WindowHeight);
    s.WindowMaximized = ini.readBool(Window, "Maximized", defaults.WindowMaximized);
}

void TVelmora::WriteAllINI()
{
    IniFile &ini = *ini_;
    const Settings &s = state_.settings;

    ini.writeInteger(Font, "Size", s.FontSize);
    ini.writeString(Font, "Name", s.FontName);
    ini.writeString(Config, "TTDir", state_.ToolsDir);
    ini.writeString(Config, "LastF", state_.LastFile);
    ini.writeString(Config, "velm_caption", s.velm_caption);
    ini.writeString(Config, "velm_version", ProgramVersion);
    ini.writeBool(Config, "auto_Change_Page", s.build.Auto_Change_Page);
    ini.writeBool(Config, "bf", s.BF);
    ini.writeBool(Config, "ww", s.WW);
    ini.writeInteger(Config, "bc", s.bc);
    ini.writeInteger(Config, "fc", s.fc);
    ini.writeBool(Config, "def_templ", s.def_templ);
    for (int i = 0; i < int(s.opt.size()); ++i)
        ini.writeBool(Config, optKey(i).constData(), s.opt[i]);
    ini.writeInteger(Config, "outdest", s.build.outdest);
    ini.writeBool(Config, "outTasm", s.build.outTasm);
    ini.writeBool(Config, "outTlink", s.build.outTlink);
    ini.writeBool(Config, "outRun", s.build.outRun);
    ini.writeBool(HighLight, "oEnableHL", s.oEnableHL);
    ini.writeBool(HighLight, "oNumbersHL", s.oNumbersHL);
    ini.writeInteger(HighLight, "NumbersColor", s.NumbersColor);
    ini.writeBool(Config, "CopyToTTDIR", s.CopyToTTDIR);
    ini.writeInteger(Config, "whatControls", s.WhatControls);
    ini.writeString(Config, "TasmFile", s.build.TasmFile);
    ini.writeString(Config, "TLinkFile", s.build.TLinkFile);
    ini.writeString(Config, "TDFile", s.build.TDFile);
    ini.writeInteger(Config, "ToolChain", int(s.build.toolChain));
    ini.writeString(Config, "LNGFile", s.LNGFile);
    ini.writeString(Config, "VirtDrive", s.VirtDrive);
    ini.writeBool(Config, "VirtDriveEnable", s.VirtDriveEnable);
    ini.writeString(Config, "Charset", s.Charset);
    ini.writeInteger(Window, "Left", s.WindowLeft);
    ini.writeInteger(Window, "Top", s.WindowTop);
    ini.writeInteger(Window, "Width", s.WindowWidth);
    ini.writeInteger(Window, "Height", s.WindowHeight);
    ini.writeBool(Window, "Maximized", s.WindowMaximized);
}

QString TVelmora::keywordListFile() const
{
    return savedKeywordListPath(state_.Folders.settings);
}

void TVelmora::loadKeywordList()
{
    try {
        if (loadSavedKeywordList(keywordListFile(), editor->Keywords()))
            ReApplyKeywords();
    } catch (const std::exception &e) {
        throw core::EditorError(
            texts.messages.keywordListUnreadable.arg(keywordListFile(), QString::fromUtf8(e.what())).toStdString());
    }
}

void TVelmora::saveKeywordList()
{
    app::saveKeywordList(keywordListFile(), editor->Keywords());
}

void TVelmora::resetSettings()
{
    // A file left behind would be read again and nothing would be reset.
    for (const QString &path : {settingsFilePath(), keywordListFile()})
        if (QFileInfo::exists(path) && !QFile::remove(path))
            throw std::runtime_error(texts.messages.cannotDelete.arg(path).toStdString());
    core::fillAssemblerKeywordList(editor->Keywords());
    ReApplyKeywords();
    ReadAllINI();
}

void TVelmora::restoreWindowPlacement()
{
    const Settings &s = state_.settings;
    move(s.WindowLeft, s.WindowTop);
    resize(s.WindowWidth, s.WindowHeight);
    setWindowState(s.WindowMaximized ? Qt::WindowMaximized : Qt::WindowNoState);
}

void TVelmora::rememberWindowPlacement()
{
    Settings &s = state_.settings;
    s.WindowMaximized = isMaximized();
    // A maximised window is remembered with the place it goes back to.
    const QRect normal = s.WindowMaximized ? normalGeometry() : geometry();
    const QPoint corner = s.WindowMaximized ? normal.topLeft() - (geometry().topLeft() - pos()) : pos();
    s.WindowLeft = corner.x();
    s.WindowTop = corner.y();
    s.WindowWidth = normal.width();
    s.WindowHeight = normal.height();
}

void TVelmora::apply()
{
    showToolChain();
    editor->setColor(state_.settings.bc);
    editor->setFontColor(state_.settings.fc);
    QFont font = editor->font();
    font.setBold(state_.settings.BF);
    editor->setFont(font);
    editor->setWordWrap(state_.settings.WW);
    // With number highlighting off, numbers look like ordinary text.
    setNumbersColour(state_.settings.oNumbersHL ? state_.settings.NumbersColor : state_.settings.fc);
    bool menusVisible = true;
    bool toolBarVisible = true;
    switch (state_.settings.WhatControls) {
    case 0:
        toolBarVisible = false;
        break;
    case 1:
        menusVisible = false;
        break;
    case 2:
        break;
    default:
        return; // menus and tool bar keep their visibility
    }
    for (const char *name : {"File1", "Edit1", "Compile1", "Options1", "AboutMenu", "Other1"})
        findChild<QAction *>(QString::fromLatin1(name))->setVisible(menusVisible);
    panel1_->setVisible(toolBarVisible);
}

} // namespace velmora::app
