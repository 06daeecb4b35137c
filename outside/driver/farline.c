/* Substitute for the redirector driver FARLINE.VXD: a small kernel driver, hosted by Wine's
 * winedevice, that creates \\.\FARLINE.VXD and answers the two control requests the applet sends.
 * What it answers is read from its Parameters key on every request, and every open, close and
 * request is recorded there, so a test can steer the driver and see how it was asked
 * (FarlineControl.h lists the values). */
#include <ntddk.h>
#include "FarlineControl.h"

#define ANSWER_SIZE 8
#define MAX_ANSWERS 64
#define MAX_LOG_CHARS 2000

static PDEVICE_OBJECT g_device;
static UNICODE_STRING g_deviceName;
static UNICODE_STRING g_linkName;
static KMUTEX g_lock;

/* "<service key>\Parameters" */
static WCHAR g_parametersPath[512];
static UNICODE_STRING g_parameters;

/* Buffers used under g_lock only (kept off the small kernel stack). */
static WCHAR g_log[MAX_LOG_CHARS + 16];
static UCHAR g_query[sizeof(KEY_VALUE_PARTIAL_INFORMATION) + (MAX_LOG_CHARS + 16) * sizeof(WCHAR)];

/* Value names are short ASCII texts; a number may be appended (the request code). */
typedef struct {
    WCHAR text[40];
    UNICODE_STRING name;
} VALUE_NAME;

static void MakeName(VALUE_NAME* v, const char* prefix, ULONG number, BOOLEAN withNumber)
{
    USHORT n = 0;
    WCHAR digits[12];
    USHORT d = 0;
    while (*prefix && n < 28) v->text[n++] = (WCHAR)*prefix++;
    if (withNumber) {
        do {
            digits[d++] = (WCHAR)(L'0' + number % 10);
            number /= 10;
        } while (number && d < 11);
        while (d) v->text[n++] = digits[--d];
    }
    v->text[n] = 0;
    v->name.Buffer = v->text;
    v->name.Length = (USHORT)(n * sizeof(WCHAR));
    v->name.MaximumLength = sizeof v->text;
}

static NTSTATUS OpenParameters(HANDLE* key)
{
    OBJECT_ATTRIBUTES attributes;
    ULONG disposition;
    InitializeObjectAttributes(&attributes, &g_parameters, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, NULL, NULL);
    return ZwCreateKey(key, KEY_ALL_ACCESS, &attributes, 0, NULL, REG_OPTION_NON_VOLATILE, &disposition);
}

/* Reads a value into g_query; returns its partial information or NULL when absent. */
static KEY_VALUE_PARTIAL_INFORMATION* QueryValue(HANDLE key, VALUE_NAME* name)
{
    ULONG length = 0;
    NTSTATUS status = ZwQueryValueKey(key, &name->name, KeyValuePartialInformation, g_query, sizeof g_query, &length);
    return NT_SUCCESS(status) ? (KEY_VALUE_PARTIAL_INFORMATION*)g_query : NULL;
}

static ULONG ReadDword(HANDLE key, const char* prefix, ULONG number, BOOLEAN withNumber, ULONG fallback)
{
    VALUE_NAME name;
    KEY_VALUE_PARTIAL_INFORMATION* info;
    MakeName(&name, prefix, number, withNumber);
    info = QueryValue(key, &name);
    if (!info || info->Type != REG_DWORD || info->DataLength != sizeof(ULONG)) return fallback;
    return *(ULONG*)info->Data;
}

static void WriteDword(HANDLE key, const char* prefix, ULONG number, BOOLEAN withNumber, ULONG value)
{
    VALUE_NAME name;
    MakeName(&name, prefix, number, withNumber);
    ZwSetValueKey(key, &name.name, 0, REG_DWORD, &value, sizeof value);
}

static void Increment(HANDLE key, const char* prefix, ULONG number, BOOLEAN withNumber)
{
    WriteDword(key, prefix, number, withNumber, ReadDword(key, prefix, number, withNumber, 0) + 1);
}

/* Appends the request code to the comma-separated "Requests" log. */
static void AppendToLog(HANDLE key, ULONG code)
{
    VALUE_NAME name;
    KEY_VALUE_PARTIAL_INFORMATION* info;
    ULONG length = 0, i;
    WCHAR digits[12];
    ULONG d = 0;
    MakeName(&name, FARLINE_VALUE_REQUESTS, 0, FALSE);
    info = QueryValue(key, &name);
    if (info && info->Type == REG_SZ) {
        const WCHAR* text = (const WCHAR*)info->Data;
        ULONG chars = info->DataLength / sizeof(WCHAR);
        for (i = 0; i < chars && i < MAX_LOG_CHARS && text[i]; ++i) g_log[length++] = text[i];
    }
    do {
        digits[d++] = (WCHAR)(L'0' + code % 10);
        code /= 10;
    } while (code && d < 11);
    if (length + d + 1 > MAX_LOG_CHARS) return;  /* the log is full; the counters still count */
    if (length) g_log[length++] = L',';
    while (d) g_log[length++] = digits[--d];
    g_log[length++] = 0;
    ZwSetValueKey(key, &name.name, 0, REG_SZ, g_log, length * sizeof(WCHAR));
}

/* Element index of a REG_BINARY list of signed 32-bit numbers; FALSE when there is none. */
static BOOLEAN ReadListElement(HANDLE key, const char* prefix, ULONG number, BOOLEAN withNumber, ULONG index,
                               LONG* element)
{
    VALUE_NAME name;
    KEY_VALUE_PARTIAL_INFORMATION* info;
    MakeName(&name, prefix, number, withNumber);
    info = QueryValue(key, &name);
    if (!info || info->Type != REG_BINARY || index >= MAX_ANSWERS || (index + 1) * sizeof(LONG) > info->DataLength)
        return FALSE;
    *element = ((LONG*)info->Data)[index];
    return TRUE;
}

/* The answer to the index-th request of a code: element index of "Answers<c>", else "Answer<c>". */
static LONG ReadAnswer(HANDLE key, ULONG code, ULONG index)
{
    LONG answer;
    if (ReadListElement(key, "Answers", code, TRUE, index, &answer)) return answer;
    return (LONG)ReadDword(key, "Answer", code, TRUE, 0);
}

/* Opens an existing key by its full NT path for reading. */
static NTSTATUS OpenPath(HANDLE* key, const WCHAR* path, USHORT chars)
{
    UNICODE_STRING name;
    OBJECT_ATTRIBUTES attributes;
    name.Buffer = (WCHAR*)path;
    name.Length = (USHORT)(chars * sizeof(WCHAR));
    name.MaximumLength = name.Length;
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, NULL, NULL);
    return ZwOpenKey(key, KEY_READ, &attributes);
}

static USHORT Append(WCHAR* buffer, USHORT at, USHORT capacity, const WCHAR* text, USHORT chars)
{
    USHORT i;
    for (i = 0; i < chars && at < capacity; ++i) buffer[at++] = text[i];
    return at;
}

static USHORT Length(const WCHAR* text)
{
    USHORT n = 0;
    while (text[n]) ++n;
    return n;
}

static WCHAR g_path[600];
static UCHAR g_keyInfo[sizeof(KEY_BASIC_INFORMATION) + 256 * sizeof(WCHAR)];

/* The applet's COMM key in the first user hive that has one (the redirector reads the
 * configuration of the user who configured it). */
static NTSTATUS OpenUserComm(HANDLE* comm)
{
    static const WCHAR users[] = L"\\Registry\\User";
    static const WCHAR tail[] = L"\\Control Panel\\Zantu Quillet95\\COMM";
    HANDLE root;
    ULONG index, length;
    NTSTATUS status = OpenPath(&root, users, Length(users));
    if (!NT_SUCCESS(status)) return status;
    for (index = 0;; ++index) {
        KEY_BASIC_INFORMATION* info = (KEY_BASIC_INFORMATION*)g_keyInfo;
        USHORT n;
        status = ZwEnumerateKey(root, index, KeyBasicInformation, g_keyInfo, sizeof g_keyInfo, &length);
        if (!NT_SUCCESS(status)) break;
        n = Append(g_path, 0, 590, users, Length(users));
        n = Append(g_path, n, 590, L"\\", 1);
        n = Append(g_path, n, 590, info->Name, (USHORT)(info->NameLength / sizeof(WCHAR)));
        n = Append(g_path, n, 590, tail, Length(tail));
        if (NT_SUCCESS(OpenPath(comm, g_path, n))) {
            ZwClose(root);
            return STATUS_SUCCESS;
        }
    }
    ZwClose(root);
    return STATUS_OBJECT_NAME_NOT_FOUND;
}

/* What the driver would load at a reconfiguration: "FFFF/DDDD", F the redirect flag of COM1 to
 * COM4 in the user's configuration ('1' set, '0' clear, '-' absent), D whether the port has a
 * port device key under Enum\Root\PORTS ('1' or '0'). Appended to "Reconfigurations". */
static void RecordReconfiguration(HANDLE parameters)
{
    static const WCHAR ports[] = L"\\Registry\\Machine\\Enum\\Root\\PORTS\\Zantu0";
    WCHAR entry[10];
    HANDLE comm, device;
    BOOLEAN haveComm = NT_SUCCESS(OpenUserComm(&comm));
    VALUE_NAME name;
    KEY_VALUE_PARTIAL_INFORMATION* info;
    ULONG port, length = 0, i;

    for (port = 1; port <= 4; ++port) {
        WCHAR flag = L'-';
        if (haveComm) {
            char redirect[] = "COM0Redir";
            redirect[3] = (char)('0' + port);
            MakeName(&name, redirect, 0, FALSE);
            info = QueryValue(comm, &name);
            if (info && info->Type == REG_DWORD && info->DataLength == sizeof(ULONG))
                flag = *(ULONG*)info->Data ? L'1' : L'0';
        }
        entry[port - 1] = flag;
    }
    entry[4] = L'/';
    for (port = 1; port <= 4; ++port) {
        USHORT n = Append(g_path, 0, 590, ports, Length(ports));
        g_path[n++] = (WCHAR)(L'0' + port);
        entry[4 + port] = L'0';
        if (NT_SUCCESS(OpenPath(&device, g_path, n))) {
            entry[4 + port] = L'1';
            ZwClose(device);
        }
    }
    entry[9] = 0;
    if (haveComm) ZwClose(comm);

    MakeName(&name, FARLINE_VALUE_RECONFIGURATIONS, 0, FALSE);
    info = QueryValue(parameters, &name);
    if (info && info->Type == REG_SZ) {
        const WCHAR* text = (const WCHAR*)info->Data;
        ULONG chars = info->DataLength / sizeof(WCHAR);
        for (i = 0; i < chars && i < MAX_LOG_CHARS && text[i]; ++i) g_log[length++] = text[i];
    }
    if (length + 11 > MAX_LOG_CHARS) return;
    if (length) g_log[length++] = L',';
    for (i = 0; i < 9; ++i) g_log[length++] = entry[i];
    g_log[length++] = 0;
    ZwSetValueKey(parameters, &name.name, 0, REG_SZ, g_log, length * sizeof(WCHAR));
}

static void Delay(ULONG milliseconds)
{
    LARGE_INTEGER interval;
    if (!milliseconds) return;
    interval.QuadPart = -(LONGLONG)milliseconds * 10000;  /* relative, in 100 ns units */
    KeDelayExecutionThread(KernelMode, FALSE, &interval);
}

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information)
{
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static void Lock(void) { KeWaitForSingleObject(&g_lock, Executive, KernelMode, FALSE, NULL); }
static void Unlock(void) { KeReleaseMutex(&g_lock, FALSE); }

static NTSTATUS WINAPI DispatchCreate(PDEVICE_OBJECT device, PIRP irp)
{
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    HANDLE key;
    (void)device;
    Lock();
    if (NT_SUCCESS(OpenParameters(&key))) {
        Increment(key, FARLINE_VALUE_OPENS, 0, FALSE);
        WriteDword(key, FARLINE_VALUE_OPEN_SHARE, 0, FALSE, stack->Parameters.Create.ShareAccess);
        WriteDword(key, FARLINE_VALUE_OPEN_OPTIONS, 0, FALSE, stack->Parameters.Create.Options);
        ZwClose(key);
    }
    Unlock();
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS WINAPI DispatchClose(PDEVICE_OBJECT device, PIRP irp)
{
    HANDLE key;
    (void)device;
    Lock();
    if (NT_SUCCESS(OpenParameters(&key))) {
        Increment(key, FARLINE_VALUE_CLOSES, 0, FALSE);
        ZwClose(key);
    }
    Unlock();
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS WINAPI DispatchCleanup(PDEVICE_OBJECT device, PIRP irp)
{
    (void)device;
    return Complete(irp, STATUS_SUCCESS, 0);
}

/* The output buffer of a request: an MDL for the direct methods, the system buffer otherwise. */
static void* OutputBuffer(PIRP irp, ULONG code)
{
    ULONG method = code & 3;
    if ((method == METHOD_IN_DIRECT || method == METHOD_OUT_DIRECT) && irp->MdlAddress)
        return MmGetSystemAddressForMdlSafe(irp->MdlAddress, NormalPagePriority);
    if (method == METHOD_NEITHER) return irp->UserBuffer;
    return irp->AssociatedIrp.SystemBuffer;
}

static BOOLEAN g_linked;

static void RemoveLink(void)
{
    if (g_linked) IoDeleteSymbolicLink(&g_linkName);
    g_linked = FALSE;
}

static NTSTATUS WINAPI DispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp)
{
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    NTSTATUS status = STATUS_SUCCESS;
    ULONG_PTR information = 0;
    LONG answer = 0;
    BOOLEAN fail = FALSE, unlink = FALSE;
    ULONG delay = 0;
    HANDLE key;
    (void)device;

    Lock();
    if (NT_SUCCESS(OpenParameters(&key))) {
        ULONG index = ReadDword(key, "Count", code, TRUE, 0);
        WriteDword(key, "Count", code, TRUE, index + 1);
        AppendToLog(key, code);
        WriteDword(key, FARLINE_VALUE_INPUT_LENGTH, 0, FALSE, stack->Parameters.DeviceIoControl.InputBufferLength);
        WriteDword(key, FARLINE_VALUE_OUTPUT_LENGTH, 0, FALSE, outputLength);
        if (code == FARLINE_REQUEST_RECONFIGURE || code == FARLINE_REQUEST_PORTS_IN_USE) {
            answer = ReadAnswer(key, code, index);
            fail = ReadDword(key, "Fail", code, TRUE, 0) != 0;
            delay = ReadDword(key, "Delay", code, TRUE, 0);
            unlink = ReadDword(key, "UnlinkAfter", code, TRUE, 0) != 0;
        }
        if (code == FARLINE_REQUEST_RECONFIGURE) RecordReconfiguration(key);
        ZwClose(key);
    }
    Unlock();
    Delay(delay > 10000 ? 10000 : delay);

    if (code != FARLINE_REQUEST_RECONFIGURE && code != FARLINE_REQUEST_PORTS_IN_USE) {
        status = STATUS_INVALID_DEVICE_REQUEST;
    } else if (fail) {
        status = STATUS_UNSUCCESSFUL;
    } else if (outputLength < ANSWER_SIZE) {
        status = STATUS_BUFFER_TOO_SMALL;
    } else {
        LONG* out = (LONG*)OutputBuffer(irp, code);
        if (!out) {
            status = STATUS_INSUFFICIENT_RESOURCES;
        } else {
            out[0] = answer;  /* the result */
            out[1] = 0;       /* not read by the applet */
            information = ANSWER_SIZE;
        }
    }
    /* The device name goes away, as when the driver is unloaded: handles already open keep
     * working, new opens fail until the driver is started again. */
    if (unlink) RemoveLink();
    return Complete(irp, status, information);
}

static VOID WINAPI DriverUnload(PDRIVER_OBJECT driver)
{
    (void)driver;
    RemoveLink();
    if (g_device) IoDeleteDevice(g_device);
    g_device = NULL;
}

NTSTATUS WINAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath)
{
    static const WCHAR suffix[] = L"\\Parameters";
    NTSTATUS status;
    USHORT i, n = 0;

    for (i = 0; registryPath && i < registryPath->Length / sizeof(WCHAR) && n < 480; ++i)
        g_parametersPath[n++] = registryPath->Buffer[i];
    for (i = 0; suffix[i]; ++i) g_parametersPath[n++] = suffix[i];
    g_parametersPath[n] = 0;
    g_parameters.Buffer = g_parametersPath;
    g_parameters.Length = (USHORT)(n * sizeof(WCHAR));
    g_parameters.MaximumLength = sizeof g_parametersPath;

    KeInitializeMutex(&g_lock, 0);
    RtlInitUnicodeString(&g_deviceName, L"\\Device\\Farline");
    RtlInitUnicodeString(&g_linkName, L"\\DosDevices\\FARLINE.VXD");

    status = IoCreateDevice(driver, 0, &g_deviceName, FILE_DEVICE_UNKNOWN, 0, FALSE, &g_device);
    if (!NT_SUCCESS(status)) return status;
    status = IoCreateSymbolicLink(&g_linkName, &g_deviceName);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(g_device);
        g_device = NULL;
        return status;
    }
    g_linked = TRUE;
    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreate;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchClose;
    driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchCleanup;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchDeviceControl;
    driver->DriverUnload = DriverUnload;
    return STATUS_SUCCESS;
}
