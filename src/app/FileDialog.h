// The open and save dialog components (OD, SD): their settings as data, shown through
// the platform's dialogs.
#pragma once

#include "platform/Dialogs.h"

#include <QObject>

#include <optional>

namespace velmora::app
{

class TFileDialog : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Filter READ filter WRITE setFilter)

public:
    enum class Kind { Open, Save };

    TFileDialog(Kind kind, const char *name, QObject *parent);

    Kind kind() const { return kind_; }
    platform::FileDialogRequest &request() { return request_; }
    const platform::FileDialogRequest &request() const { return request_; }

    QString filter() const { return request_.filter; }
    void setFilter(const QString &filter) { request_.filter = filter; }

    // Shows the dialog; the chosen file name, or nullopt when cancelled.
    std::optional<QString> execute() const;

private:
    Kind kind_;
    platform::FileDialogRequest request_;
};

} // namespace velmora::app
