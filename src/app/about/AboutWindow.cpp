#include "app/about/AboutWindow.h"

#include "app/language/LanguagePack.h"
#include "platform/FileNames.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace velmora::app
{

namespace
{

QLabel *namedLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLabel *boldLabel(const char *name, const QString &text, QWidget *parent)
{
    QLabel *label = namedLabel(name, text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// The history text: UTF-8, or Windows-1251 when the bytes are not valid UTF-8; empty when
// the file is missing or unreadable.
QString readHistory(const QString &dataDir)
{
    QFile file(
        platform::findIgnoringCase(QDir(dataDir).filePath(QStringLiteral("info")), QStringLiteral("velmora.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(packTextAsUtf8(file.readAll()));
}

QString registerText(int number, std::uint32_t value)
{
    return QStringLiteral("CPUID[%1] = %2").arg(number).arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace

TForm3::TForm3(const QString &dataDir, const QString &velmVersion, QWidget *parent)
    : QDialog(parent), OpenLink([](const QString &url) { QDesktopServices::openUrl(QUrl(url)); }),
      PageControl1_(new QTabWidget(this))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("About Velmora"));
    setModal(true);

    PageControl1_->setObjectName(QStringLiteral("PageControl1"));
    PageControl1_->addTab(buildAboutPage(velmVersion), QStringLiteral("About Velmora"));
    PageControl1_->addTab(buildHistoryPage(dataDir), QStringLiteral("Functions && History "));
    PageControl1_->addTab(buildCpuIdPage(), QStringLiteral("Fetches"));

    auto *ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("SpeedButton1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1_);
    layout->addLayout(buttons);
    setTexts(texts_);
    resize(640, 420);
}

void TForm3::setTexts(const AboutTexts &texts)
{
    texts_ = texts;
    const std::pair<const char *, const QString *> labels[] = {
        {"Label2", &texts.purpose},         {"Label3", &texts.contact},        {"Label4", &texts.writtenFor},
        {"Label10", &texts.historyHeading}, {"Label11", &texts.processorType}, {"Label12", &texts.family},
        {"Label15", &texts.model},          {"Label16", &texts.stepping}};
    for (const auto &[name, text] : labels)
        findChild<QLabel *>(QLatin1String(name))->setText(*text);
    findChild<QGroupBox *>(QStringLiteral("GroupBox1"))->setTitle(texts.cpuGroup);
    findChild<QPushButton *>(QStringLiteral("Button1"))->setText(texts.getCpuId);
    findChild<QPushButton *>(QStringLiteral("SpeedButton1"))->setText(texts.ok);
    showVendor();
}

void TForm3::showVendor()
{
    if (!vendor_)
        Label115_->setText(texts_.vendorUnknown);
    else if (vendor_->isEmpty())
        Label115_->setText(texts_.noCpuId);
    else
        Label115_->setText(texts_.vendor.arg(*vendor_));
}

QWidget *TForm3::buildAboutPage(const QString &velmVersion)
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));

    QLabel *name = namedLabel("Label1", QStringLiteral("Velmora"), page);
    QFont nameFont = name->font();
    nameFont.setItalic(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 2.2);
    name->setFont(nameFont);

    QLabel *version = boldLabel("Label13", velmVersion, page);
    version->setStyleSheet(QStringLiteral("color: red"));

    QLabel *purpose = namedLabel("Label2", QString(), page);
    QLabel *contact = namedLabel("Label3", QString(), page);
    QLabel *written = namedLabel("Label4", QString(), page);
    for (QLabel *line : {purpose, contact, written})
        line->setWordWrap(true);

    Label14_ = namedLabel("Label14", QString::fromLatin1(HomePage), page);
    Label14_->setStyleSheet(QStringLiteral("color: blue"));
    Label14_->setCursor(Qt::PointingHandCursor);
    Label14_->installEventFilter(this);

    auto *layout = new QVBoxLayout(page);
    auto *heading = new QHBoxLayout;
    heading->addWidget(name);
    heading->addWidget(version, 0, Qt::AlignBottom);
    heading->addStretch();
    layout->addLayout(heading);
    layout->addSpacing(12);
    layout->addWidget(purpose);
    layout->addSpacing(12);
    layout->addWidget(contact);
    layout->addWidget(Label14_);
    layout->addSpacing(12);
    layout->addWidget(written);
    layout->addStretch();

    // Decorative source lines, kept hidden.
    const char *const decorNames[] = {"Label5", "Label6", "Label7", "Label8", "Label9"};
    const char *const decorTexts[] = {"mov ax,4C00h", "int 21h", "mov ax,@data", "mov ds,ax", "About proc far"};
    for (int i = 0; i < 5; ++i)
        namedLabel(decorNames[i], QLatin1String(decorTexts[i]), page)->hide();
    return page;
}

QWidget *TForm3::buildHistoryPage(const QString &dataDir)
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));

    QLabel *heading = boldLabel("Label10", QString(), page);
    Memo1_ = new QPlainTextEdit(page);
    Memo1_->setObjectName(QStringLiteral("Memo1"));
    Memo1_->setReadOnly(true);
    Memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The history text is laid out in columns of fixed-width characters.
    Memo1_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Memo1_->setPlainText(readHistory(dataDir));

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(heading);
    layout->addWidget(Memo1_);
    return page;
}

QWidget *TForm3::buildCpuIdPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet3"));

    auto *group = new QGroupBox(page);
    group->setObjectName(QStringLiteral("GroupBox1"));
    const char *const registerNames[] = {"Label111", "Label112", "Label113", "Label114"};
    auto *registers = new QVBoxLayout;
    for (int i = 0; i < 4; ++i) {
        registerLabels_[i] = boldLabel(registerNames[i], registerText(i + 1, 0xFFFFFFFF), group);
        registers->addWidget(registerLabels_[i]);
    }

    PValue_ = namedLabel("PValue", QStringLiteral("??"), group);
    FValue_ = namedLabel("FValue", QStringLiteral("??"), group);
    MValue_ = namedLabel("MValue", QStringLiteral("??"), group);
    SValue_ = namedLabel("SValue", QStringLiteral("??"), group);
    const std::pair<const char *, QLabel *> fields[] = {
        {"Label11", PValue_}, {"Label12", FValue_}, {"Label15", MValue_}, {"Label16", SValue_}};
    auto *values = new QGridLayout;
    for (int row = 0; row < 4; ++row) {
        values->addWidget(namedLabel(fields[row].first, QString(), group), row, 0, Qt::AlignRight);
        values->addWidget(fields[row].second, row, 1);
    }
    values->setColumnStretch(2, 1);

    Label115_ = boldLabel("Label115", QString(), group);
    auto *button = new QPushButton(group);
    button->setObjectName(QStringLiteral("Button1"));
    connect(button, &QPushButton::clicked, this, &TForm3::Button1Click);

    auto *columns = new QHBoxLayout;
    columns->addLayout(registers);
    columns->addSpacing(16);
    columns->addLayout(values);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(Label115_);
    bottom->addStretch();
    bottom->addWidget(button);
    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(columns);
    groupLayout->addLayout(bottom);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

void TForm3::Button1Click()
{
    const std::optional<platform::CpuIdentity> id = ReadCpuId();
    if (!id) {
        vendor_ = QString();
        showVendor();
        return;
    }
    for (int i = 0; i < 4; ++i)
        registerLabels_[i]->setText(registerText(i + 1, id->signature[i]));
    const std::uint32_t eax = id->signature[0];
    PValue_->setText(QString::number((eax >> 12) & 3));
    FValue_->setText(QString::number((eax >> 8) & 15));
    MValue_->setText(QString::number((eax >> 4) & 15));
    SValue_->setText(QString::number(eax & 15));
    vendor_ = QString::fromLatin1(id->vendor);
    showVendor();
}

void TForm3::showEvent(QShowEvent *event)
{
    if (OnShow && !event->spontaneous())
        OnShow();
    QDialog::showEvent(event);
}

bool TForm3::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label14_) {
        switch (event->type()) {
        case QEvent::Enter:
            setLinkUnderlined(true);
            break;
        case QEvent::Leave:
            setLinkUnderlined(false);
            break;
        case QEvent::MouseButtonRelease:
            if (OpenLink && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
                OpenLink(QString::fromLatin1(HomePage));
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm3::setLinkUnderlined(bool underlined)
{
    QFont font = Label14_->font();
    font.setUnderline(underlined);
    Label14_->setFont(font);
}

} // namespace velmora::app
