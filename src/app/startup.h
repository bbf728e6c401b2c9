#pragma once

// The start-up chain and the shutdown releases, in the order they run.
int processMain(int argc, char** argv);
void _Main();
void _EarlyStartup();
void _InitFileTypes();
void _NewAppInstance();
void _ApplicationAddMenuHandlers();
void _LateStartup();
void _MakeDefaultView();
// The releases after the event loop has returned, before Qt goes away.
void finalizeProgram();
