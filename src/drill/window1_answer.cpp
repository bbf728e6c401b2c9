// Judging the typed answer, the counts and the percentage.
#include "drill/window1.h"

#include "app/module1.h"
#include "drill/conversion.h"
#include "drill/score.h"
#include "drill/sounds.h"
#include "fw/sound.h"
#include "fw/text.h"

namespace drill {

namespace {

// An absent sound (file missing or unreadable) is skipped silently.
void play(const std::shared_ptr<fw::Sound>& sound)
{
    if (sound)
        sound->Play();
}

// Operands are bounded far below the 32-bit limits; the 64-bit sum only keeps
// a stray value from being undefined behaviour.
qint32 wrapped(qint64 value)
{
    return static_cast<qint32>(value);
}

} // namespace

void Window1::MyAnswer_TextChange()
{
    Enter()->setEnabled(true);
    Enter()->setDefault(true);
}

void Window1::Enter_Action()
{
    using namespace Module1;

    if (Add()->Value())
        Answer = fw::Str(wrapped(qint64(First) + Second));
    else if (Subtract()->Value())
        Answer = fw::Str(wrapped(qint64(First) - Second));
    else if (Multiply()->Value())
        Answer = fw::Str(wrapped(qint64(First) * Second));
    else if (Divide()->Value())
        Answer = divideAnswerText(First, Second);
    else if (Algebra()->Value())
        Answer = fw::Str(AlgebraAnswer);
    else if (Roman()->Value())
        Answer = ::Conversion()->ListBox1()->Cell(wrapped(qint64(First) + Second), 1);

    // The typed text is compared as it stands: not trimmed, not parsed.
    if (fw::TextEquals(MyAnswer()->Text(), Answer)) {
        Feedback()->setText(QStringLiteral("Correct"));
        N = N + 1;
        if (N == 10) {
            if (SoundFlag)
                play(APPLAUSELOOP());
            N = 0;
        }
        RightAnswer = RightAnswer + 1;
        Timer2()->setMode(1);
    } else {
        if (SoundFlag)
            play(Laser());
        Feedback()->setText(QStringLiteral("Incorrect"));
        WrongAnswer = WrongAnswer + 1;
        AnswerBanner()->setText(QStringLiteral("Correct answer was:") + fw::EndOfLine()
                                + (Algebra()->Value() ? QStringLiteral("X = ") : QString()) + Answer);
        AnswerBanner()->setVisible(true);
        NewProblem()->setEnabled(true);
        NewProblem()->setDefault(true);
    }

    ScoreR()->setText(fw::Str(RightAnswer));
    ScoreW()->setText(fw::Str(WrongAnswer));
    Score = percentage(RightAnswer, WrongAnswer);
    PCent()->setText(fw::Str(Score));
    if (SoundFlag && fw::TextEquals(Feedback()->Text(), QStringLiteral("Correct")))
        play(SndOK());
    Enter()->setDefault(false);
    Enter()->setEnabled(false);
    MyAnswer()->setEnabled(false);
}

void Window1::Reset_Action()
{
    Module1::RightAnswer = 0;
    Module1::WrongAnswer = 0;
    Module1::N = 0;
    ScoreR()->setText(QStringLiteral("0"));
    ScoreW()->setText(QStringLiteral("0"));
    PCent()->setText(QStringLiteral("0"));
}

} // namespace drill
