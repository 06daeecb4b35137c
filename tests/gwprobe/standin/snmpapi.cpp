// Test double for snmpapi.dll: the SNMP utility allocator, counting the blocks it hands out and
// failing an allocation on request. Built in variants without one entry point or the other
// (STANDIN_WITHOUT_MEMALLOC, STANDIN_WITHOUT_MEMFREE) to play a damaged installation.
//
// Controls: the environment variable STANDIN_SNMP_FAIL_ALLOC=n fails the n-th allocation of the
// process; in-process tests call StandInFailAllocation and StandInAllocStats.
#include <windows.h>
#include <cstdlib>

namespace {
LONG g_outstanding = 0;  // blocks handed out and not yet released
LONG g_allocations = 0;  // allocations since the last arming
LONG g_failAt = 0;       // the allocation (counted from arming) that fails; 0: none

LPVOID Allocate(UINT size)
{
    LONG n = InterlockedIncrement(&g_allocations);
    if (g_failAt != 0 && n == g_failAt) return nullptr;
    LPVOID block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size ? size : 1);
    if (block) InterlockedIncrement(&g_outstanding);
    return block;
}

void Release(LPVOID block)
{
    if (!block) return;
    HeapFree(GetProcessHeap(), 0, block);
    InterlockedDecrement(&g_outstanding);
}
}  // namespace

#ifndef STANDIN_WITHOUT_MEMALLOC
extern "C" __declspec(dllexport) LPVOID WINAPI SnmpUtilMemAlloc(UINT size) { return Allocate(size); }
#endif

#ifndef STANDIN_WITHOUT_MEMFREE
extern "C" __declspec(dllexport) VOID WINAPI SnmpUtilMemFree(LPVOID block) { Release(block); }
#endif

// The stand-in agent allocates through these, whichever of the public entry points exist.
extern "C" __declspec(dllexport) LPVOID WINAPI StandInMemAlloc(UINT size) { return Allocate(size); }
extern "C" __declspec(dllexport) VOID WINAPI StandInMemFree(LPVOID block) { Release(block); }

// Fails the nth allocation from now on (0: none) and restarts the count.
extern "C" __declspec(dllexport) void StandInFailAllocation(LONG nth)
{
    g_allocations = 0;
    g_failAt = nth;
}

extern "C" __declspec(dllexport) void StandInAllocStats(LONG* outstanding, LONG* allocations)
{
    if (outstanding) *outstanding = g_outstanding;
    if (allocations) *allocations = g_allocations;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        char text[32];
        DWORD n = GetEnvironmentVariableA("STANDIN_SNMP_FAIL_ALLOC", text, sizeof text);
        if (n > 0 && n < sizeof text) g_failAt = atol(text);
    }
    return TRUE;
}
