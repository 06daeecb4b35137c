// What the recording engine (a test double named QXLNK16.DLL) saw of the last call, and how a test
// scripts its answer. Reached through its export "RecordingEngineState".
#pragma once
#include <windows.h>

struct RecordedCall {
    char function[32];     // which engine entry point ran last
    int argumentCount;
    ULONGLONG values[11];  // each argument: a 16-bit value widened, or a pointer
    BYTE serverInfo[10];   // the engine server-info record as it arrived
    LONG result;           // what the next call returns
    BYTE serverInfoOut[10];// what the next server-info call writes into the record
    int calls;             // how many calls were made since the state was cleared
};

typedef RecordedCall*(__cdecl* RECORDING_ENGINE_STATE)(void);
