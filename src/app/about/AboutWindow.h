// The about window Form3: the program and its version, the history text and the CPU
// identification page. Every component carries its component name as objectName, which the
// language pack's "About_Language" section addresses.
#pragma once

#include "platform/CpuId.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QTabWidget;

namespace velmora::app
{

class TForm3 : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char *HomePage = "http://velmora.example/";

    // Loads the history memo from dataDir + "info/velmora.txt" when that file exists and
    // shows velmVersion in Label13.
    TForm3(const QString &dataDir, const QString &velmVersion, QWidget *parent = nullptr);

    // Fired on every show, before the window appears (the main window applies the language).
    std::function<void()> OnShow;
    // Opens an address in the desktop's browser; tests put a recorder here.
    std::function<void(const QString &url)> OpenLink;
    // Reads the processor's identification; tests put a stand-in here.
    std::function<std::optional<platform::CpuIdentity>()> ReadCpuId = platform::cpuIdentity;

    QTabWidget &pageControl() const { return *PageControl1_; }

    // "Get CPU ID": shows the CPUID registers, the signature fields and the vendor.
    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildAboutPage(const QString &velmVersion);
    QWidget *buildHistoryPage(const QString &dataDir);
    QWidget *buildCpuIdPage();
    void setLinkUnderlined(bool underlined);

    QTabWidget *PageControl1_;
    QLabel *Label14_ = nullptr;
    QPlainTextEdit *Memo1_ = nullptr;
    QLabel *registerLabels_[4] = {};
    QLabel *PValue_ = nullptr;
    QLabel *FValue_ = nullptr;
    QLabel *MValue_ = nullptr;
    QLabel *SValue_ = nullptr;
    QLabel *Label115_ = nullptr;
};

} // namespace velmora::app
