#pragma once

// One offscreen fixture for the program's GUI tests: a temporary configuration
// folder, recorded URLs, sounds and dialogs, fresh globals, and the real
// start-up chain up to (not including) the event loop.
#include "app/app.h"
#include "app/menubar1.h"
#include "app/module1.h"
#include "app/startup.h"
#include "program_seams.h"
#include "drill/sounds.h"
#include "drill/window1.h"
#include "fw/dispatch.h"
#include "fw/files.h"
#include "fw/random.h"
#include "fw/sound.h"
#include "fw/testing.h"
#include "fw/window.h"
#include "fw/application.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>

class SumwiseTest : public ::testing::Test {
protected:
    // Settings file content to start with; empty: no file.
    virtual QByteArray initialSettings() const { return {}; }

    void SetUp() override
    {
        ASSERT_TRUE(configDir.isValid());
        useQuietSeams(configDir.path());
        fw::testing::clearPlayedSounds();
        fw::testing::clearOpenedSoundFiles();
        fw::testing::setResourcesFolder(QStringLiteral(SUMWISE_SOURCE_DIR "/resources"));
        resetSoundsForTesting();
        fw::testing::clearRandomScript();
        const QByteArray settings = initialSettings();
        if (!settings.isEmpty()) {
            QFile f(settingsPath());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(settings);
        }
        if (startsProgram())
            startProgram();
    }

    void TearDown() override
    {
        finalizeProgram();
        fw::testing::clearRandomScript();
        fw::testing::setPreferencesFolder(QString());
        fw::testing::setResourcesFolder(QString());
        resetSoundsForTesting();
    }

    // Tests of the start-up chain itself start it their own way.
    virtual bool startsProgram() const { return true; }

    // _Main without the event loop: early start-up, then the framework's
    // initialisation, which opens the main window.
    static void startProgram()
    {
        fw::RuntimeSetExceptionHelper(&fw::CallFunctionWithExceptionHandling);
        _EarlyStartup();
        fw::_RunFrameworkInitialization(&_LateStartup);
    }

    QString settingsPath() const { return configDir.path() + QStringLiteral("/sumwise.txt"); }
    QByteArray settingsOnDisk() const
    {
        QFile f(settingsPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static drill::Window1* w() { return fw::openWindow<drill::Window1>(); }

    // Lets queued events and deferred deletions run.
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Fires the running timers (Timer1 after a selection, Timer2 after a right answer).
    static int fireTimers()
    {
        const int fired = fw::testing::fireTimers();
        settle();
        return fired;
    }

    // The learner's hand on the main window: a mouse click on a button (a radio
    // button on its indicator, where every style takes the click), typing into
    // the answer field, and the Return key there.
    static void click(QAbstractButton* button)
    {
        QPoint at = button->rect().center();
        if (qobject_cast<QRadioButton*>(button)) {
            QStyleOptionButton opt;
            opt.initFrom(button);
            at = button->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &opt, button).center();
        }
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
        settle();
    }
    static void typeAnswer(const QString& text)
    {
        QTest::keyClicks(w()->MyAnswer(), text);
        settle();
    }
    static void pressReturn()
    {
        QTest::keyClick(w()->MyAnswer(), Qt::Key_Return);
        settle();
    }

    QTemporaryDir configDir;
};
