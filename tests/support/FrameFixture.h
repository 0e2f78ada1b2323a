#pragma once
// A test with the real frame on screen (offscreen), scripted prompts and a temporary folder:
// the base of the window tests, which open sounds through the frame as a user does.
#include "app/MDIMain.h"
#include "support/ScriptedPrompts.h"
#include "sound/OpenSoundWindow.h"
#include "sound/WavForm.h"
#include "text/LoadText.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

#include "support/TempDir.h"

class FrameFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        text::SetLanguage(text::Language::English);
        frame.show();
        frame.resize(1200, 800);
    }

    // Opens a sound through OpenSoundWindow; the new window, or null when none opened.
    WavForm* openSound(const QString& path, int channel = 0)
    {
        const qsizetype before = frame.mdiArea()->subWindowList().size();
        OpenSoundWindow(path, channel);
        const auto windows = frame.mdiArea()->subWindowList();
        if (windows.size() == before) return nullptr;
        windows.last()->resize(900, 650);
        QCoreApplication::processEvents();
        return qobject_cast<WavForm*>(windows.last()->widget());
    }

    // The last child window holding a widget of type T, or null.
    template <class T> T* lastChild()
    {
        const auto windows = frame.mdiArea()->subWindowList();
        for (auto it = windows.crbegin(); it != windows.crend(); ++it)
            if (auto* w = qobject_cast<T*>((*it)->widget())) return w;
        return nullptr;
    }

    TempDir dir;
    ScopedScriptedPrompts prompts;
    MDIMain frame;
};
