/* RazuDov.c - the razuDov port-I/O kernel driver: creates \Device\razuDov
 * and its DOS name, and hands every device control request to the simulated
 * machine (SimBridge). Buffered I/O throughout. The card lives in a named
 * memory section that programs' port traps map too; requests are served one
 * at a time under the card's own spin lock, shared with those programs: the
 * simulation never blocks while it holds it, so a waiter spins for
 * microseconds at most, and the uncontended case costs no call into the
 * kernel. */
#include <ntddk.h>

#include "sim/SimBridge.h"
#include "sim/SimProtocol.h"

static ULONGLONG g_counterFrequency;
static HANDLE g_section;
static PVOID g_view;

NTSYSAPI NTSTATUS NTAPI ZwYieldExecution(VOID);
NTSYSAPI NTSTATUS NTAPI ZwWaitForSingleObject(HANDLE handle, BOOLEAN alertable,
                                              PLARGE_INTEGER timeout);

/* Milliseconds from the performance counter. (Wine keeps the interrupt
 * time and tick count of a driver host still, so they cannot drive the
 * firmware's clock.) */
static uint32_t DriverClock(void* context)
{
    LARGE_INTEGER now = KeQueryPerformanceCounter(NULL);
    (void)context;
    if (!g_counterFrequency)
        return 0;
    return (uint32_t)((ULONGLONG)now.QuadPart * 1000u / g_counterFrequency);
}

/* Whether a process still runs: the card's lock asks before it takes over
 * the lock of a side that has not let go for long. */
static int ProcessAlive(uint32_t process, void* context)
{
    OBJECT_ATTRIBUTES attributes;
    CLIENT_ID id;
    HANDLE handle;
    LARGE_INTEGER zero;
    NTSTATUS status;
    (void)context;
    InitializeObjectAttributes(&attributes, NULL, 0, NULL, NULL);
    id.UniqueProcess = (HANDLE)(ULONG_PTR)process;
    id.UniqueThread = NULL;
    status = ZwOpenProcess(&handle, SYNCHRONIZE, &attributes, &id);
    if (!NT_SUCCESS(status))
        return status == STATUS_ACCESS_DENIED;
    zero.QuadPart = 0;
    status = ZwWaitForSingleObject(handle, FALSE, &zero);
    ZwClose(handle);
    return status == STATUS_TIMEOUT;
}

static void Pause(void* context)
{
    (void)context;
    ZwYieldExecution();
}

/* The named section for the card, mapped into this process. It is made
 * permanent: the card is the machine's, as a real card stays powered while
 * its port driver stops and starts, so the section lives as long as the
 * machine (its object namespace) does, whether or not a program maps it
 * while the driver is stopped. On failure the card lives in the driver's
 * own memory and programs reach it through requests only. */
static void MapSection(void)
{
    UNICODE_STRING name;
    OBJECT_ATTRIBUTES attributes;
    LARGE_INTEGER size;
    SIZE_T viewSize = 0;
    RtlInitUnicodeString(&name, SIM_SECTION_NAME_W);
    InitializeObjectAttributes(&attributes, &name,
                               OBJ_CASE_INSENSITIVE | OBJ_OPENIF | OBJ_PERMANENT, NULL, NULL);
    size.QuadPart = SimBridge_SectionSize();
    if (!NT_SUCCESS(ZwCreateSection(&g_section, SECTION_ALL_ACCESS, &attributes, &size,
                                    PAGE_READWRITE, SEC_COMMIT, NULL))) {
        g_section = NULL;
        return;
    }
    g_view = NULL;
    if (!NT_SUCCESS(ZwMapViewOfSection(g_section, ZwCurrentProcess(), &g_view, 0, 0, NULL,
                                       &viewSize, ViewUnmap, 0, PAGE_READWRITE)) ||
        viewSize < SimBridge_SectionSize()) {
        if (g_view)
            ZwUnmapViewOfSection(ZwCurrentProcess(), g_view);
        g_view = NULL;
        /* A section too small for this build's card (left by an earlier
         * build in a machine still running) goes with its last user. */
        ZwMakeTemporaryObject(g_section);
        ZwClose(g_section);
        g_section = NULL;
    }
}

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information)
{
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS NTAPI DispatchCreateClose(PDEVICE_OBJECT device, PIRP irp)
{
    (void)device;
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI DispatchControl(PDEVICE_OBJECT device, PIRP irp)
{
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG inSize = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outSize = stack->Parameters.DeviceIoControl.OutputBufferLength;
    void* buffer = irp->AssociatedIrp.SystemBuffer;
    uint32_t information = 0;
    NTSTATUS status;
    (void)device;

    if ((code & 3) != METHOD_BUFFERED || (code >> 16) != SIM_DEVICE_TYPE)
        return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    if (!buffer) {
        inSize = 0;
        outSize = 0;
    }
    status = (NTSTATUS)SimBridge_Control(code, buffer, inSize, buffer, outSize, &information);
    if (information > outSize)
        information = 0;
    return Complete(irp, status, NT_SUCCESS(status) ? information : 0);
}

static VOID NTAPI DriverUnload(PDRIVER_OBJECT driver)
{
    UNICODE_STRING dosName;
    RtlInitUnicodeString(&dosName, SIM_DOS_NAME_W);
    IoDeleteSymbolicLink(&dosName);
    if (driver->DeviceObject)
        IoDeleteDevice(driver->DeviceObject);
    /* The section stays (it is permanent): a later start of the driver
     * opens it again and keeps the card it finds there. */
    if (g_view)
        ZwUnmapViewOfSection(ZwCurrentProcess(), g_view);
    if (g_section)
        ZwClose(g_section);
    g_view = NULL;
    g_section = NULL;
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath)
{
    UNICODE_STRING deviceName;
    UNICODE_STRING dosName;
    PDEVICE_OBJECT device = NULL;
    NTSTATUS status;
    (void)registryPath;

    RtlInitUnicodeString(&deviceName, SIM_DEVICE_NAME_W);
    RtlInitUnicodeString(&dosName, SIM_DOS_NAME_W);

    status = IoCreateDevice(driver, 0, &deviceName, SIM_DEVICE_TYPE, 0, FALSE, &device);
    if (!NT_SUCCESS(status))
        return status;
    device->Flags |= DO_BUFFERED_IO;

    status = IoCreateSymbolicLink(&dosName, &deviceName);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(device);
        return status;
    }

    {
        LARGE_INTEGER frequency;
        KeQueryPerformanceCounter(&frequency);
        g_counterFrequency = (ULONGLONG)frequency.QuadPart;
    }
    MapSection();
    SimBridge_Init(DriverClock, NULL, g_view, (uint32_t)(ULONG_PTR)PsGetCurrentProcessId(),
                   ProcessAlive, Pause);

    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchControl;
    driver->DriverUnload = DriverUnload;
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}
