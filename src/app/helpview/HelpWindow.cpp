#include "app/helpview/HelpWindow.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace velmora::app
{

namespace
{

constexpr int kTopicRole = Qt::UserRole;

// A text browser whose "topic:N" addresses are the help file's topics, so that its own link
// handling and history move between them.
class TopicBrowser final : public QTextBrowser
{
public:
    TopicBrowser(const HelpFile &help, QWidget *parent) : QTextBrowser(parent), help_(help) {}

    QVariant loadResource(int type, const QUrl &name) override
    {
        const int topic = help_.topicOfHref(name.toString());
        if (type == QTextDocument::HtmlResource && topic >= 0)
            return help_.topicHtml(topic);
        return QTextBrowser::loadResource(type, name);
    }

private:
    const HelpFile &help_;
};

QUrl topicUrl(int topic)
{
    return QUrl(QStringLiteral("topic:%1").arg(topic));
}

QToolButton *toolButton(const char *name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

THelpWindow::THelpWindow(HelpFile help, QWidget *parent)
    : QWidget(parent, Qt::Window), help_(std::move(help)), tabs_(new QTabWidget), contents_(new QListWidget),
      indexFilter_(new QLineEdit), index_(new QListWidget), view_(new TopicBrowser(help_, this)),
      back_(toolButton("HelpBack", this)), forward_(toolButton("HelpForward", this)),
      home_(toolButton("HelpHome", this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    contents_->setObjectName(QStringLiteral("HelpContents"));
    indexFilter_->setObjectName(QStringLiteral("HelpIndexFilter"));
    indexFilter_->setClearButtonEnabled(true);
    index_->setObjectName(QStringLiteral("HelpIndex"));
    view_->setObjectName(QStringLiteral("HelpTopicView"));

    fillLists();

    auto *indexPage = new QWidget;
    auto *indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    indexLayout->addWidget(indexFilter_);
    indexLayout->addWidget(index_);
    tabs_->setObjectName(QStringLiteral("HelpTabs"));
    tabs_->addTab(contents_, QString());
    tabs_->addTab(indexPage, QString());
    setTexts(texts_);

    back_->setEnabled(false);
    forward_->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addWidget(home_);
    buttons->addStretch();

    auto *splitter = new QSplitter(this);
    splitter->addWidget(tabs_);
    splitter->addWidget(view_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 560});

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter);
    resize(800, 560);

    connect(back_, &QToolButton::clicked, view_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, view_, &QTextBrowser::forward);
    connect(home_, &QToolButton::clicked, this, [this] { showTopic(0); });
    connect(view_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
    connect(view_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);
    connect(view_, &QTextBrowser::sourceChanged, this, &THelpWindow::topicShown);
    connect(contents_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            showTopic(row);
    });
    connect(indexFilter_, &QLineEdit::textChanged, this, &THelpWindow::filterIndex);
    connect(indexFilter_, &QLineEdit::returnPressed, this, [this] { showIndexItem(index_->currentItem()); });
    connect(index_, &QListWidget::itemClicked, this, &THelpWindow::showIndexItem);
    connect(index_, &QListWidget::itemActivated, this, &THelpWindow::showIndexItem);
}

void THelpWindow::setHelpFile(HelpFile help)
{
    help_ = std::move(help);
    fillLists();
    indexFilter_->clear();
    view_->clearHistory();
    // The address may stay "topic:0" while the document behind it changed.
    if (currentTopic() == 0) {
        view_->reload();
        topicShown(view_->source());
    } else {
        showTopic(0);
    }
}

void THelpWindow::fillLists()
{
    const QSignalBlocker quiet(contents_);
    contents_->clear();
    for (const HelpTopic &topic : help_.topics())
        contents_->addItem(topic.title);
    index_->clear();
    // A keyword of several topics gets one row per topic, named after the topic.
    for (const HelpIndexEntry &entry : help_.index()) {
        for (const int topic : entry.topics) {
            const QString text = entry.topics.size() == 1
                                     ? entry.keyword
                                     : entry.keyword + QStringLiteral(": ") + help_.topics()[topic].title;
            auto *item = new QListWidgetItem(text, index_);
            item->setData(kTopicRole, topic);
        }
    }
}

void THelpWindow::filterIndex(const QString &text)
{
    // Rows whose keyword starts with the text stay; the first of them becomes current.
    const QString wanted = text.trimmed();
    QListWidgetItem *first = nullptr;
    for (int row = 0; row < index_->count(); ++row) {
        QListWidgetItem *item = index_->item(row);
        const bool shown = item->text().startsWith(wanted, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && !first)
            first = item;
    }
    index_->setCurrentItem(first);
    if (first)
        index_->scrollToItem(first);
}

void THelpWindow::showIndexItem(const QListWidgetItem *item)
{
    if (item && !item->isHidden())
        showTopic(item->data(kTopicRole).toInt());
}

void THelpWindow::showTopic(int topic)
{
    if (topic < 0 || topic >= help_.topics().size() || topic == currentTopic())
        return;
    view_->setSource(topicUrl(topic));
}

bool THelpWindow::showKeyword(const QString &word)
{
    const int topic = help_.find(word.trimmed());
    if (topic >= 0) {
        showTopic(topic);
        return true;
    }
    if (currentTopic() < 0)
        showTopic(0);
    tabs_->setCurrentIndex(1);
    indexFilter_->setText(word.trimmed());
    indexFilter_->setFocus();
    return false;
}

int THelpWindow::currentTopic() const
{
    return help_.topicOfHref(view_->source().toString());
}

void THelpWindow::topicShown(const QUrl &source)
{
    // The browser announces the new address before source() returns it.
    const int topic = help_.topicOfHref(source.toString());
    const QSignalBlocker quiet(contents_);
    contents_->setCurrentRow(topic);
    showTitle(topic);
}

void THelpWindow::showTitle(int topic)
{
    setWindowTitle(topic >= 0 ? texts_.topicTitle.arg(help_.topics()[topic].title) : texts_.title);
}

void THelpWindow::setTexts(const HelpTexts &texts)
{
    texts_ = texts;
    indexFilter_->setPlaceholderText(texts.indexFilter);
    tabs_->setTabText(0, texts.contentsTab);
    tabs_->setTabText(1, texts.indexTab);
    back_->setText(texts.back);
    forward_->setText(texts.forward);
    home_->setText(texts.home);
    showTitle(currentTopic());
}

// Escape closes the window, as it closes a dialog; the views leave it to the window.
void THelpWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}

} // namespace velmora::app
