#include "app/startup.h"
#include "fw/runtime.h"

int main(int argc, char** argv)
{
    fw::RuntimeExit(processMain(argc, argv));
}
