#include "app/module1.h"

namespace Module1 {

void resetForTesting()
{
    R.reset();
    SoundFlag = false;
    Low = High = First = Second = Temp = 0;
    Answer.clear();
    AlgebraAnswer = N = RightAnswer = WrongAnswer = Score = 0;
    P = Q = Y = T = RandomOp1 = RandomOp2 = 0;
    S.clear();
    V.clear();
}

} // namespace Module1
