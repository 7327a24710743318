/* RazuDov.c - the razuDov port-I/O kernel driver: creates \Device\razuDov
 * and its DOS name, and hands every device control request to the simulated
 * machine (SimBridge). Buffered I/O throughout; requests are served one at a
 * time under a spin lock of our own: the simulation never blocks while it
 * holds it, so a waiter spins for microseconds at most, and the uncontended
 * case costs no call into the kernel. */
#include <ntddk.h>

#include "sim/SimBridge.h"
#include "sim/SimProtocol.h"

static volatile LONG g_busy;
static ULONGLONG g_counterFrequency;

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
    while (InterlockedCompareExchange(&g_busy, 1, 0) != 0)
        YieldProcessor();
    status = (NTSTATUS)SimBridge_Control(code, buffer, inSize, buffer, outSize, &information);
    InterlockedExchange(&g_busy, 0);
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

    g_busy = 0;
    {
        LARGE_INTEGER frequency;
        KeQueryPerformanceCounter(&frequency);
        g_counterFrequency = (ULONGLONG)frequency.QuadPart;
    }
    SimBridge_Init(DriverClock, NULL);

    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchControl;
    driver->DriverUnload = DriverUnload;
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}
