// The settings variables kept in cf.ini, one per key, with their defaults.
#pragma once

#include "toolchain/ToolChain.h"

#include <QString>

#include <array>

namespace velmora::app
{

// Colours are 24-bit values with red in the low byte.
struct Settings {
    bool oEnableHL = true; // "Enable HighLight" box; kept and written only
    bool def_templ = true; // a new file loads the default template
    QString velm_caption = QStringLiteral("Velmora");
    QString velm_version = QStringLiteral("3.5f");
    bool Auto_Change_Page = true; // a tool's output page is shown after it runs
    bool BF = false;              // editor font bold
    bool WW = false;              // editor word wrap
    int bc = 0;                   // editor background colour, black
    int fc = 12639424;            // editor font colour, money green 0xC0DCC0
    std::array<bool, 9> opt{};    // opt1 .. opt9: opt1 "," aid, opt2 ";" aid, the rest reserved
    int outdest = 0;              // 0 captures tool output into the pages, else own windows
    bool outTasm = true;
    bool outTlink = true;
    bool outRun = true;
    QString FontName = QStringLiteral("Verdana"); // key Font/Name
    int FontSize = 10;                            // key Font/Size, points
    bool CopyToTTDIR = true;                      // kept and written only
    int WhatControls = 2;                         // 0 main menu only, 1 tool bar only, 2 both
    int NumbersColor = 15780518;                  // number colour while highlighting numbers, sky blue 0xF0CAA6
    bool oNumbersHL = true;
    QString TasmFile = QStringLiteral("tasm.exe");
    QString TLinkFile = QStringLiteral("tLink.exe");
    QString TDFile = QStringLiteral("TD.exe");
    // Key ToolChain. Read from a file without the key: toolchain::defaultChain for the tools
    // folder, which gives this default where no DOS assembler is.
    toolchain::Chain ToolChain = toolchain::Chain::BuiltIn;
    QString LNGFile = QStringLiteral("LNGPAK_Rus.lng");
    bool VirtDriveEnable = false;
    QString VirtDrive = QStringLiteral("Z");
    QString Charset = QStringLiteral("Windows-1251"); // the encoding of new files, as the status bar names it
    // The main window's place (its frame's top left corner), its size without the frame, and
    // whether it was maximised; section Window.
    int WindowLeft = 111;
    int WindowTop = 61;
    int WindowWidth = 628;
    int WindowHeight = 455;
    bool WindowMaximized = false;

    bool operator==(const Settings &) const = default;
};

// The editor font sizes, in points, that cf.ini may set; a size outside them reads as the default.
inline constexpr int MinFontSize = 6;
inline constexpr int MaxFontSize = 72;

// The version every written cf.ini carries, whatever was read.
inline const QString ProgramVersion = QStringLiteral("3.5f");

} // namespace velmora::app
