// A button showing a colour setting; clicking it asks for another colour.
#pragma once

#include <QPushButton>

#include <functional>
#include <optional>

namespace velmora::app
{

class TColorBox : public QPushButton
{
    Q_OBJECT

public:
    explicit TColorBox(const char *name, QWidget *parent = nullptr);

    // The colour as the settings keep it: 24 bits with red in the low byte, or a system
    // colour value, kept unchanged until the user picks another colour.
    int Selected() const { return selected_; }
    void setSelected(int value);

    // Asks for a colour, preset to the current one; nullopt when cancelled. Tests replace it.
    std::function<std::optional<QColor>(const QColor &initial)> ChooseColor;
    // Fired when the user has picked a colour, after Selected has changed.
    std::function<void()> OnChange;

    // What a click does: asks for a colour and takes it unless cancelled.
    void choose();

private:
    int selected_ = 0;
};

} // namespace velmora::app
