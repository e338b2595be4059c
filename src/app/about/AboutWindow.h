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

// The texts of the window's pages beyond its caption and page captions.
struct AboutTexts {
    QString purpose =
        QStringLiteral("A development environment for assembler programs: edit, assemble, link, run and debug.");
    QString contact = QStringLiteral("Ideas, questions and error reports are welcome on the home page:");
    QString writtenFor =
        QStringLiteral("Written for the Faculty of Computer Science, speciality Computer Engineering.");
    QString historyHeading = QStringLiteral("Functions and history of Velmora");
    QString cpuGroup = QStringLiteral(" -= CPU ID =- ");
    QString processorType = QStringLiteral("Processor Type = ");
    QString family = QStringLiteral("Family = ");
    QString model = QStringLiteral("Model = ");
    QString stepping = QStringLiteral("Stepping = ");
    QString vendorUnknown = QStringLiteral("Vendor");
    // %1 the vendor's 12 characters.
    QString vendor = QStringLiteral("Vendor: %1");
    QString noCpuId = QStringLiteral("CPUID not available");
    QString getCpuId = QStringLiteral("Get CPU ID");
    QString ok = QStringLiteral("OK");

    bool operator==(const AboutTexts &) const = default;
};

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

    void setTexts(const AboutTexts &texts);

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
    void showVendor();

    QTabWidget *PageControl1_;
    QLabel *Label14_ = nullptr;
    QPlainTextEdit *Memo1_ = nullptr;
    QLabel *registerLabels_[4] = {};
    QLabel *PValue_ = nullptr;
    QLabel *FValue_ = nullptr;
    QLabel *MValue_ = nullptr;
    QLabel *SValue_ = nullptr;
    QLabel *Label115_ = nullptr;
    AboutTexts texts_;
    std::optional<QString> vendor_; // empty: no CPUID; nullopt: not asked yet
};

} // namespace velmora::app
