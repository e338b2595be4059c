// The find dialog FD: a text, match case, whole word, a direction and Find Next. It is not
// modal; Find Next calls OnFind and leaves closing to the caller.
#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace velmora::app
{

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

    std::function<void()> OnFind;

private:
    QLineEdit *text_;
    QCheckBox *matchCase_;
    QCheckBox *wholeWord_;
    QRadioButton *up_;
    QRadioButton *down_;
};

} // namespace velmora::app
