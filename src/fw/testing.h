#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Seams for tests. The program never calls these; the framework records what it
// hands to the outside world (URLs, dialogs, beeps) so a test can read it, and a
// test can answer modal dialogs and fire timers without waiting.
// Seams of their own live beside their services: random.h, sound.h, files.h.
namespace fw::testing {

// URLs handed to ShowURL, in order. While opening is suppressed no browser or
// mail program is started.
const QStringList& openedUrls();
void clearOpenedUrls();
void setUrlOpeningSuppressed(bool suppressed);
bool urlOpeningSuppressed();
void recordUrl(const QString& url); // the framework's side

// Modal dialogs. While dialogs are scripted, MsgBox and MessageDialog::ShowModal
// record what they would show and return at once: a MessageDialog answers with
// the next scripted button (the cancel button when none is left). onModal, when
// set, runs while the dialog "is up", so a test can look at the windows behind it.
enum class DialogAnswer { Action, Alternate, Cancel };
struct RecordedDialog {
    QString kind;  // "MsgBox" or "MessageDialog"
    QString title;
    QString message;
    QString explanation;
    int icon = 0;
    QString actionCaption;
    QString alternateCaption;
    QString cancelCaption;
    bool alternateVisible = false;
    bool cancelVisible = false;
    int beepsBefore = 0;  // beeps sounded before it came up; set when recorded
};
void setDialogsScripted(bool scripted);
bool dialogsScripted();
void scriptDialogAnswers(std::vector<DialogAnswer> answers);
DialogAnswer takeDialogAnswer();
void recordDialog(const RecordedDialog& dialog);
const std::vector<RecordedDialog>& recordedDialogs();
void clearRecordedDialogs();
void setOnModal(std::function<void()> onModal);
void runOnModal();

// Beeps sounded.
int beepCount();
void recordBeep();

// Exceptions that reached the unhandled-exception routine.
const QStringList& unhandledExceptions();
void recordUnhandledException(const QString& text);

// The start-up steps as the framework saw them, in order.
const QStringList& startupTrace();
void trace(const QString& step);
void clearStartupTrace();
// Runs at every traced step, once it is noted. What it throws leaves the step,
// so a test can make a step of start-up fail, or quit once a step is reached.
void setTraceObserver(std::function<void(const QString& step)> observer);

// Fires every running single-shot timer once, earliest due first, as if its
// period had passed. Timers started while firing wait for the next call.
// Returns how many fired.
int fireTimers();
// How many timers are running.
int runningTimerCount();
// While set, running timers fire only through fireTimers(), never on their own.
void setTimersManual(bool manual);

// Puts every recording back to empty and every switch to its default.
void resetRecordings();

} // namespace fw::testing
