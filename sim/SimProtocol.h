/* SimProtocol.h - the control codes of the razuDov port-I/O driver and the
 * fixed-size request structures of its private codes. Shared by the driver's
 * dispatch layer (C), the simulated card (C++), cardctl, the port trap and
 * the tests, so every side agrees on sizes; each structure's size is checked
 * at compile time. No Windows header is needed. */
#ifndef SIM_SIMPROTOCOL_H
#define SIM_SIMPROTOCOL_H

#include <stdint.h>

#ifdef __cplusplus
#define SIM_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define SIM_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

/* Device names. */
#define SIM_DEVICE_NAME_W L"\\Device\\razuDov"
#define SIM_DOS_NAME_W L"\\DosDevices\\razuDov"
#define SIM_USER_PATH "\\\\.\\razuDov"
/* The named memory section that holds the card: the driver creates it, the
 * port trap of a program opens it (see SharedCard). */
#define SIM_SECTION_NAME_W L"\\BaseNamedObjects\\razuDovCard"
#define SIM_SECTION_USER_NAME "Global\\razuDovCard"

/* CTL_CODE(device type, function, METHOD_BUFFERED, access) without winioctl.h. */
#define SIM_DEVICE_TYPE 0x9C40u
#define SIM_ACCESS_ANY 0u
#define SIM_ACCESS_READ 1u
#define SIM_ACCESS_WRITE 2u
#define SIM_CTL_CODE(function, access)                                                             \
    ((SIM_DEVICE_TYPE << 16) | ((uint32_t)(access) << 14) | ((uint32_t)(function) << 2))

/* The product's codes (function numbers 0x900 to 0x922). */
#define SIM_IOCTL_READ_BYTE SIM_CTL_CODE(0x900, SIM_ACCESS_READ)    /* 0x9C406400 */
#define SIM_IOCTL_READ_WORD SIM_CTL_CODE(0x901, SIM_ACCESS_READ)    /* 0x9C406404 */
#define SIM_IOCTL_WRITE_BYTE SIM_CTL_CODE(0x910, SIM_ACCESS_WRITE)  /* 0x9C40A440 */
#define SIM_IOCTL_WRITE_WORD SIM_CTL_CODE(0x911, SIM_ACCESS_WRITE)  /* 0x9C40A444 */
#define SIM_IOCTL_BLOCK_READ SIM_CTL_CODE(0x920, SIM_ACCESS_ANY)    /* 0x9C402480 */
#define SIM_IOCTL_BLOCK_WRITE SIM_CTL_CODE(0x921, SIM_ACCESS_WRITE) /* 0x9C40A484 */
#define SIM_IOCTL_SET_BASE SIM_CTL_CODE(0x922, SIM_ACCESS_ANY)      /* 0x9C402488 */

/* Private codes of the simulation (function numbers 0xA00 and up). */
#define SIM_IOCTL_RAW_READ SIM_CTL_CODE(0xA00, SIM_ACCESS_ANY)      /* in/out SimRawPort */
#define SIM_IOCTL_RAW_WRITE SIM_CTL_CODE(0xA01, SIM_ACCESS_ANY)     /* in SimRawPort */
#define SIM_IOCTL_LOAD_SCENARIO SIM_CTL_CODE(0xA10, SIM_ACCESS_ANY) /* text -> SimTextResult */
#define SIM_IOCTL_APPLY_LINES SIM_CTL_CODE(0xA11, SIM_ACCESS_ANY)   /* text -> SimTextResult */
#define SIM_IOCTL_SET_FAULT SIM_CTL_CODE(0xA12, SIM_ACCESS_ANY)     /* in SimFaultRequest */
#define SIM_IOCTL_SET_SIGNAL SIM_CTL_CODE(0xA13, SIM_ACCESS_ANY)    /* in SimSignalRequest */
#define SIM_IOCTL_GET_STATE SIM_CTL_CODE(0xA14, SIM_ACCESS_ANY)     /* out SimState */
#define SIM_IOCTL_SET_PARAM SIM_CTL_CODE(0xA15, SIM_ACCESS_ANY)     /* in SimParamRequest */
#define SIM_IOCTL_RESET_COUNTS SIM_CTL_CODE(0xA16, SIM_ACCESS_ANY)  /* nothing */
#define SIM_IOCTL_NOP SIM_CTL_CODE(0xA20, SIM_ACCESS_ANY)           /* nothing, for timing */

/* Status values of the dispatcher; the driver hands them to the I/O manager
 * unchanged, so they are NTSTATUS numbers. */
#define SIM_STATUS_SUCCESS 0x00000000u
#define SIM_STATUS_INVALID_DEVICE_REQUEST 0xC0000010u
#define SIM_STATUS_INVALID_PARAMETER 0xC000000Du
#define SIM_STATUS_BUFFER_TOO_SMALL 0xC0000023u
#define SIM_STATUS_DEVICE_NOT_READY 0xC00000A3u
#define SIM_STATUS_IO_DEVICE_ERROR 0xC0000185u

/* The single-port requests count ports from this number. */
#define SIM_PORT_ORIGIN 0x240

/* Register offsets of the card. */
#define SIM_CONTROL_REG 0
#define SIM_ADDRESS_REG 2
#define SIM_DATA_REG 4
#define SIM_REGISTER_SPAN 6

/* Header of the block requests: five little-endian words. */
typedef struct SimBlockHeader
{
    uint16_t reserved;      /* always 0 */
    uint16_t addressOffset; /* register offset of ADDRESS_REG (2) */
    uint16_t dataOffset;    /* register offset of DATA_REG (4) */
    uint16_t wordAddress;   /* card memory word address of the first word */
    uint16_t byteCount;
} SimBlockHeader;
SIM_STATIC_ASSERT(sizeof(SimBlockHeader) == 10, "block header is 10 bytes");

/* Raw bus access by absolute port (the port trap). */
typedef struct SimRawPort
{
    uint16_t port;
    uint16_t width; /* 1 or 2 bytes */
    uint16_t value;
    uint16_t reserved;
} SimRawPort;
SIM_STATIC_ASSERT(sizeof(SimRawPort) == 8, "raw port request is 8 bytes");

/* Answer to LOAD_SCENARIO and APPLY_LINES. */
typedef struct SimTextResult
{
    int32_t ok;   /* 1 loaded, 0 refused */
    int32_t line; /* first offending line, counted from 1; 0 when ok */
    char message[56];
} SimTextResult;
SIM_STATIC_ASSERT(sizeof(SimTextResult) == 64, "text result is 64 bytes");

/* Faults that a test or cardctl can switch on and off. */
enum SimFault
{
    SIM_FAULT_CLEAR_ALL = 0,    /* switch every fault off */
    SIM_FAULT_NO_ANSWER = 1,    /* status stays 0xFFFF (arg: after this many seconds) */
    SIM_FAULT_ANSWER_AFTER = 2, /* arg: polls that still see 0xFFFF */
    SIM_FAULT_SCAN_ENDLESS = 3, /* a BSS scan never finishes */
    SIM_FAULT_JOIN_REFUSED = 4, /* arg: refusals before a start is taken (0 = always) */
    SIM_FAULT_JOIN_ENDLESS = 5, /* arg 1: also ignore the join wait override */
    SIM_FAULT_UNAVAILABLE = 6,  /* arg: table entries from this index report not available */
    SIM_FAULT_DROP_WRITES = 7, /* arg: percent of the port writes reaching the card that are lost */
    SIM_FAULT_COUNT = 8
};

typedef struct SimFaultRequest
{
    uint32_t fault;  /* enum SimFault */
    uint32_t enable; /* 1 on, 0 off */
    uint32_t arg;
} SimFaultRequest;
SIM_STATIC_ASSERT(sizeof(SimFaultRequest) == 12, "fault request is 12 bytes");

/* Change the signal of a cell, found by index or, when cellIndex is -1, by BSSID. */
typedef struct SimSignalRequest
{
    int16_t cellIndex;
    uint8_t bssid[6];
    uint16_t signal;
    uint16_t reserved;
} SimSignalRequest;
SIM_STATIC_ASSERT(sizeof(SimSignalRequest) == 12, "signal request is 12 bytes");

/* Store a firmware parameter as CMD_SET_PARAM would. */
typedef struct SimParamRequest
{
    uint16_t code;
    uint16_t length; /* bytes of value used, at most 32 */
    uint8_t value[32];
} SimParamRequest;
SIM_STATIC_ASSERT(sizeof(SimParamRequest) == 36, "parameter request is 36 bytes");

/* Indices of SimState.requests. */
enum SimRequestKind
{
    SIM_REQ_READ_BYTE = 0,
    SIM_REQ_READ_WORD,
    SIM_REQ_WRITE_BYTE,
    SIM_REQ_WRITE_WORD,
    SIM_REQ_BLOCK_READ,
    SIM_REQ_BLOCK_WRITE,
    SIM_REQ_SET_BASE,
    SIM_REQ_RAW_READ,
    SIM_REQ_RAW_WRITE,
    SIM_REQ_PRIVATE,
    SIM_REQ_FAILED,
    SIM_REQ_KINDS = 16
};

/* The simulation's state as the GET_STATE code reports it. */
typedef struct SimState
{
    uint32_t requests[SIM_REQ_KINDS]; /* requests served, by SimRequestKind */
    uint32_t nowMs;                   /* the firmware's clock */
    uint32_t commandsAnswered;
    uint32_t faults; /* bit n set: SimFault n is on */
    uint32_t faultArgs[SIM_FAULT_COUNT];
    uint16_t ioBase;     /* where the card sits */
    uint16_t driverBase; /* what DriverSetBase last handed over (0: none) */
    uint16_t mailboxPointer;
    uint16_t linkState;
    uint16_t networkType; /* 1 infrastructure, 0 ad hoc */
    uint16_t currentCell; /* index, 0xFFFF when none */
    uint16_t quality;     /* link quality the firmware reports now */
    uint16_t cellCount;
    uint16_t bssTableSize;
    uint16_t stationTableSize;
    uint16_t scanning; /* 1 while a BSS scan runs */
    uint16_t joining;  /* 1 while a join runs */
    uint16_t lastCommand;
    uint16_t pending; /* a command waits in the mailbox */
    uint8_t currentBssid[6];
    uint16_t reserved;
    char scenarioName[32];
} SimState;
SIM_STATIC_ASSERT(sizeof(SimState) == 64 + 12 + 4 * SIM_FAULT_COUNT + 28 + 6 + 2 + 32,
                  "state size");

#endif /* SIM_SIMPROTOCOL_H */
