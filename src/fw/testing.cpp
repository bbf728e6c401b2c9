#include "fw/testing.h"

#include "fw/build_constant.h"
#include "fw/dispatch.h"
#include "fw/timer.h"

#include <deque>

namespace fw::testing {

namespace {
QStringList g_urls;
bool g_urlsSuppressed = false;
bool g_dialogsScripted = false;
std::deque<DialogAnswer> g_answers;
std::vector<RecordedDialog> g_dialogs;
std::function<void()> g_onModal;
int g_beeps = 0;
QStringList g_unhandled;
QStringList g_trace;
std::function<void(const QString&)> g_traceObserver;
} // namespace

const QStringList& openedUrls() { return g_urls; }
void clearOpenedUrls() { g_urls.clear(); }
void setUrlOpeningSuppressed(bool suppressed) { g_urlsSuppressed = suppressed; }
bool urlOpeningSuppressed() { return g_urlsSuppressed; }
void recordUrl(const QString& url) { g_urls.append(url); }

void setDialogsScripted(bool scripted) { g_dialogsScripted = scripted; }
bool dialogsScripted() { return g_dialogsScripted; }
void scriptDialogAnswers(std::vector<DialogAnswer> answers)
{
    g_answers.assign(answers.begin(), answers.end());
}
DialogAnswer takeDialogAnswer()
{
    if (g_answers.empty())
        return DialogAnswer::Cancel;
    DialogAnswer a = g_answers.front();
    g_answers.pop_front();
    return a;
}
void recordDialog(const RecordedDialog& dialog)
{
    g_dialogs.push_back(dialog);
    g_dialogs.back().beepsBefore = g_beeps;
}
const std::vector<RecordedDialog>& recordedDialogs() { return g_dialogs; }
void clearRecordedDialogs() { g_dialogs.clear(); }
void setOnModal(std::function<void()> onModal) { g_onModal = std::move(onModal); }
void runOnModal()
{
    if (g_onModal)
        g_onModal();
}

int beepCount() { return g_beeps; }
void recordBeep() { ++g_beeps; }

const QStringList& unhandledExceptions() { return g_unhandled; }
void recordUnhandledException(const QString& text) { g_unhandled.append(text); }

const QStringList& startupTrace() { return g_trace; }
void trace(const QString& step)
{
    g_trace.append(step);
    if (g_traceObserver)
        g_traceObserver(step);
}
void clearStartupTrace() { g_trace.clear(); }
void setTraceObserver(std::function<void(const QString& step)> observer) { g_traceObserver = std::move(observer); }

int fireTimers() { return Timer::fireAllRunning(); }
int runningTimerCount() { return Timer::runningCount(); }
void setTimersManual(bool manual) { Timer::setManual(manual); }

void resetRecordings()
{
    g_urls.clear();
    g_urlsSuppressed = false;
    g_dialogsScripted = false;
    g_answers.clear();
    g_dialogs.clear();
    g_onModal = nullptr;
    g_beeps = 0;
    g_unhandled.clear();
    g_trace.clear();
    g_traceObserver = nullptr;
    clearBuildConstantOverrides();
    clearMustShutDown();
    Timer::setManual(false);
}

} // namespace fw::testing
