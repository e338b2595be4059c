// The status bar sb: panel 0 the file name, panel 1 the caret position, panel 2 the
// assembler's error and warning summary, panel 3 the source file's encoding, panel 4 the
// tool chain that the build commands run.
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
    static constexpr int PanelCount = 5;
    static constexpr int EncodingPanel = 3;
    static constexpr int ToolChainPanel = 4;

    explicit TStatusBar(QWidget *parent);

    QString panelText(int index) const;
    void setPanelText(int index, const QString &text);

private:
    std::array<QLabel *, PanelCount> panels_{};
};

} // namespace velmora::app
