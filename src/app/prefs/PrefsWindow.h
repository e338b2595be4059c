// The preferences window PrefsW: a modal dialog whose controls mirror the main window's
// settings variables. Show loads them into the controls, OK and Apply store them back and
// run the main window's apply; a few controls act on the main window at once. Every
// component carries its component name as objectName, which the language pack's
// "Prefs_Language" section addresses.
#pragma once

#include <QDialog>
#include <QFont>

#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTabWidget;

namespace velmora::app
{

class TColorBox;
class TRadioGroup;
struct PrefsMoreTexts;
class TVelmora;

class TPrefsW : public QDialog
{
    Q_OBJECT

public:
    // The window belongs to the main window, whose settings it edits.
    explicit TPrefsW(TVelmora &main);

    // Asks for a font, preset to the current one; nullopt when cancelled. Tests replace it.
    std::function<std::optional<QFont>(const QFont &initial)> ChooseFont;

    // What every modal show does first: controls from the settings, the language pack,
    // then the texts that depend on the program's folder.
    void FormShow();
    // Copies every control into the settings, then runs the main window's apply.
    void Store();
    // The texts beyond the "Prefs_Language" section: the source colours' legend and the
    // tool-chain choice.
    void setMoreTexts(const PrefsMoreTexts &texts);

    // The buttons.
    void SpeedButton2Click(); // OK: store, then close
    void ApplyClick();        // store, stay open
    void CancelClick();       // close without storing
    void SpeedButton3Click(); // "Dafault all settings"
    void Button1Click();      // associate ".asm" files with the program
    void BitBtn1Click();      // "Define Keyword List"
    void BitBtn2Click();      // "Load language file "
    void SpeedButton1Click(); // "Chose Editor font"

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildMainPage();
    QWidget *buildOutputPage();
    QWidget *buildHighlightPage();
    QWidget *buildSourceColoursLegend(QWidget *sheet);
    QWidget *buildParserPage();
    QWidget *buildStylePage();
    QWidget *buildCommandLinesPage();
    QWidget *buildButtonPanel();

    void OutDestinationClick();
    void NumbersHLColorChange();
    void applyAlphaBlend();
    void VirtDriveCheckClick();
    void enableVirtualDriveLetter();

    TVelmora &main_;
    // The font FontDialog1 holds: set from the settings on show, by the user's choice after.
    QString fontName_;
    int fontSize_ = 0;

    QTabWidget *PageControl1_ = nullptr;
    TRadioGroup *StartLoad_ = nullptr;
    QCheckBox *copytott_ = nullptr;
    QLabel *Label8_ = nullptr;
    TRadioGroup *OutDestination_ = nullptr;
    QGroupBox *WhatsEditBox_ = nullptr;
    QCheckBox *CheckBox12_ = nullptr;
    QCheckBox *CheckBox13_ = nullptr;
    QCheckBox *CheckBox14_ = nullptr;
    QCheckBox *CAutoChangePage_ = nullptr;
    QCheckBox *EnableHL_ = nullptr;
    QCheckBox *NumbersHL_ = nullptr;
    TColorBox *NumbersHLColor_ = nullptr;
    QCheckBox *optBoxes_[9] = {}; // CheckBox3 .. CheckBox11: opt1 .. opt9
    TColorBox *ColorBox1_ = nullptr;
    TColorBox *ColorBox2_ = nullptr;
    QCheckBox *Bold_ = nullptr;
    QCheckBox *Wrap_ = nullptr;
    QCheckBox *CheckBox1_ = nullptr;
    QSlider *TrackBar1_ = nullptr;
    TRadioGroup *whatctrl_ = nullptr;
    QLineEdit *Edit1_ = nullptr;
    QLineEdit *Edit2_ = nullptr;
    QLineEdit *Edit3_ = nullptr;
    QLabel *Label9_ = nullptr;
    QCheckBox *VirtDriveCheck_ = nullptr;
    QLabel *Virt_Letter_ = nullptr;
    QLineEdit *Virt_Letter_Edit_ = nullptr;
    TRadioGroup *ToolChain_ = nullptr;
    QString languageDialogDir_; // OpenDialog1's initial folder
};

} // namespace velmora::app
