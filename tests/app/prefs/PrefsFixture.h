// A started main window with its preferences and about windows, and helpers to reach the
// preferences window's controls and to drive modal windows.
#pragma once

#include "../AppFixture.h"
#include "app/prefs/ColorBox.h"
#include "app/prefs/PrefsWindow.h"
#include "support/ScopedEnv.h"

#include <QApplication>
#include <QTimer>

#include <functional>

namespace velmora::testing
{

class PrefsFixture : public AppFixture
{
protected:
    app::TPrefsW &startWithPrefs()
    {
        start();
        window->createOtherWindows();
        return *window->PrefsW;
    }

    // Shows the window without a modal loop: the show runs as a modal show would.
    app::TPrefsW &showPrefs()
    {
        window->PrefsW->show();
        return *window->PrefsW;
    }

    template <class T> T *prefsControl(const char *name) const
    {
        T *control = window->PrefsW->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    // Runs action while the modal window that opening starts is up, then closes whatever
    // modal window is still open, so that a failing check never leaves the test waiting.
    static void whileModal(const std::function<void()> &opening, const std::function<void(QWidget &)> &action)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            ran = true;
            EXPECT_NE(modal, nullptr);
            if (modal)
                action(*modal);
            while (QWidget *left = QApplication::activeModalWidget())
                left->close();
        });
        opening();
        EXPECT_TRUE(ran);
    }

    void writeInfoFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(exeDir + QStringLiteral("info/") + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

} // namespace velmora::testing
