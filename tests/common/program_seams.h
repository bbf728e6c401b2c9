#pragma once

// What the GUI and process-entry tests share: the framework's seams set so
// that a test touches nothing outside its temporary folder, and the start-up
// trace read as plain strings.
#include "app/module1.h"
#include "fw/files.h"
#include "fw/sound.h"
#include "fw/testing.h"

#include <QStringList>

#include <string>
#include <vector>

// Every recording emptied; timers fire only when the test says; settings in
// configDir; no browser, dialog or sound reaches the outside; fresh globals.
inline void useQuietSeams(const QString& configDir)
{
    fw::testing::resetRecordings();
    // A loaded machine must not let Timer1's 50 ms pass behind a test's back.
    fw::testing::setTimersManual(true);
    fw::testing::setPreferencesFolder(configDir);
    fw::testing::setUrlOpeningSuppressed(true);
    fw::testing::setDialogsScripted(true);
    fw::testing::setSoundsMuted(true);
    Module1::resetForTesting();
}

// The releases after the event loop, in their order.
inline const QStringList kReleaseOrder = {
    QStringLiteral("released: sounds"),
    QStringLiteral("released: windows"),
    QStringLiteral("released: menu bar"),
    QStringLiteral("released: texts"),
    QStringLiteral("released: random generator"),
};

// Lists compared as standard strings, so a failure prints readable text.
inline std::vector<std::string> strings(const QStringList& list)
{
    std::vector<std::string> out;
    for (const QString& s : list)
        out.push_back(s.toStdString());
    return out;
}
