// The help window: the help file's contents and index beside a topic view whose links move
// between topics, with back and forward through the topics seen.
#pragma once

#include "app/help/HelpFile.h"

#include <QWidget>

class QLineEdit;
class QToolButton;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTextBrowser;
class QUrl;

namespace velmora::app
{

struct HelpTexts {
    QString title = QStringLiteral("Velmora Help");
    // %1 the topic on view.
    QString topicTitle = QStringLiteral("Velmora Help - %1");
    QString contentsTab = QStringLiteral("Contents");
    QString indexTab = QStringLiteral("Index");
    QString indexFilter = QStringLiteral("Type the word you are looking for");
    QString back = QStringLiteral("< Back");
    QString forward = QStringLiteral("Forward >");
    QString home = QStringLiteral("Contents");

    bool operator==(const HelpTexts &) const = default;
};

class THelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit THelpWindow(HelpFile help, QWidget *parent = nullptr);

    const HelpFile &helpFile() const { return help_; }
    // Shows another help file at its contents; the history of topics seen is forgotten.
    void setHelpFile(HelpFile help);

    void showTopic(int topic);
    // Shows the topic titled word, else the first topic indexed under it, and returns true.
    // When there is none, shows the index filtered by word and returns false.
    bool showKeyword(const QString &word);
    // The topic on view; -1 before any is shown.
    int currentTopic() const;

    void setTexts(const HelpTexts &texts);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fillLists();
    void filterIndex(const QString &text);
    void showIndexItem(const QListWidgetItem *item);
    void topicShown(const QUrl &source);
    void showTitle(int topic);

    HelpFile help_;
    HelpTexts texts_;
    QTabWidget *tabs_;
    QListWidget *contents_;
    QLineEdit *indexFilter_;
    QListWidget *index_;
    QTextBrowser *view_;
    QToolButton *back_;
    QToolButton *forward_;
    QToolButton *home_;
};

} // namespace velmora::app
