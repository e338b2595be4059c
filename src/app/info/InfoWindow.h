// The info window InfoW: the assembler FAQ, the ASCII chart and the optimisation notes, each
// on its own page. The two text pages are editable viewers that are reloaded from the
// reference texts every time the window is shown, so edits made in them never last.
#pragma once

#include "app/language/ReferenceFiles.h"

#include <QDialog>

#include <functional>

class QTabWidget;

namespace velmora::widget
{
class TSourceMemo;
}

namespace velmora::app
{

class TInfoW : public QDialog
{
    Q_OBJECT

public:
    // The reference texts are the English ones in dataDir + "info/" until others are set.
    explicit TInfoW(const QString &dataDir, QWidget *parent = nullptr);

    // The FAQ and optimisation notes to load on the next show.
    void setReferenceFiles(const ReferenceFiles &files);

    // Fired on every show, before the texts are loaded (the main window applies the language).
    std::function<void()> OnShow;

    QTabWidget &pageControl() const { return *PageControl1_; }
    widget::TSourceMemo &faqMemo() const { return *SourceMemo1_; }
    widget::TSourceMemo &optimizationMemo() const { return *editor_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Loads the optimisation notes, then the FAQ; a file that cannot be opened is reported
    // and ends the loading.
    void loadTexts();
    void loadText(widget::TSourceMemo &memo, const QString &path);

    QString faqFile_;
    QString optimizationFile_;
    QTabWidget *PageControl1_;
    widget::TSourceMemo *SourceMemo1_ = nullptr;
    widget::TSourceMemo *editor_ = nullptr;
};

} // namespace velmora::app
