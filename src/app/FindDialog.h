// The find dialog FD: a text, match case, whole word, a direction and Find Next. It is not
// modal; Find Next calls OnFind and leaves closing to the caller.
#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velmora::app
{

struct FindTexts {
    QString title = QStringLiteral("Find");
    QString findWhat = QStringLiteral("Fi&nd what:");
    QString matchCase = QStringLiteral("Match &case");
    QString wholeWord = QStringLiteral("Match &whole word only");
    QString direction = QStringLiteral("Direction");
    QString up = QStringLiteral("&Up");
    QString down = QStringLiteral("&Down");
    QString findNext = QStringLiteral("&Find Next");
    QString cancel = QStringLiteral("Cancel");

    bool operator==(const FindTexts &) const = default;
};

class TFindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TFindDialog(QWidget *parent);

    QString findText() const;
    void setFindText(const QString &text);
    bool matchCase() const;
    bool wholeWord() const;
    bool down() const; // the search direction; down at start

    void setTexts(const FindTexts &texts);

    std::function<void()> OnFind;

private:
    QLineEdit *text_;
    QCheckBox *matchCase_;
    QCheckBox *wholeWord_;
    QRadioButton *up_;
    QRadioButton *down_;
    QLabel *findWhat_;
    QGroupBox *direction_;
    QPushButton *findNext_;
    QPushButton *cancel_;
};

} // namespace velmora::app
