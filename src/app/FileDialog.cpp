#include "app/FileDialog.h"

namespace velmora::app
{

TFileDialog::TFileDialog(Kind kind, const char *name, QObject *parent) : QObject(parent), kind_(kind)
{
    setObjectName(QString::fromLatin1(name));
}

std::optional<QString> TFileDialog::execute() const
{
    auto &d = platform::dialogs();
    return kind_ == Kind::Open ? d.openFile(request_) : d.saveFile(request_);
}

} // namespace velmora::app
