// The status bar sb: panel 0 the file name, panel 1 the caret position, panel 2 the
// assembler's error and warning summary, panel 3 the source file's encoding.
#pragma once

#include <QStatusBar>

#include <array>

class QLabel;

namespace velmora::app
{

class TStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    static constexpr int PanelCount = 4;
    static constexpr int EncodingPanel = 3;

    explicit TStatusBar(QWidget *parent);

    QString panelText(int index) const;
    void setPanelText(int index, const QString &text);

private:
    std::array<QLabel *, PanelCount> panels_{};
};

} // namespace velmora::app
