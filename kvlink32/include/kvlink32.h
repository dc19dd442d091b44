/*
 * kvlink32 — communication library for Korvel M100A / M200A instruments.
 *
 * One session per instrument, keyed by its Base Channel Number (BCN 1..99),
 * one request/response exchange at a time over TCP, and the communications
 * configuration file ccf.cfg. Every function returns 1 (or a count) on
 * success and a negative code on failure; outputs are written only on
 * success. The library is single-threaded: call it from one thread.
 */
#ifndef KVLINK32_H
#define KVLINK32_H

#include <stdint.h>

#if defined(KVLINK32_BUILDING)
#define KVX_API __attribute__((visibility("default")))
#else
#define KVX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Limits -------------------------------------------------------------- */

#define KVX_MAX_BCN 99            /* BCNs are 1..99 */
#define KVX_MAX_SESSIONS 20       /* instruments open at once */
#define KVX_MAX_MESSAGE 15361     /* largest message, header included */
#define KVX_HEADER_SIZE 16        /* magic, sequence, command, length */
#define KVX_MAX_SCANS 100         /* scans per kvxScansGet */
#define KVX_MAX_CHANNELS 30       /* 1..20 analog, 21..30 computed */
#define KVX_SCAN_HEADER_SIZE 28   /* ScanRecord without readings */
#define KVX_MAX_SCAN_RECORD 148   /* ScanRecord with 30 readings */
#define KVX_SCAN_BUFFER_HEADER 12 /* recordSize, count, remaining */
#define KVX_EQUATION_AREA 1000    /* bytes of equation byte code */
#define KVX_PASSTHRU_MAX 2000     /* bytes per pass-through transfer */
#define KVX_DEFAULT_TIMEOUT 10    /* reply time-out, seconds */
#define KVX_ISOLATED_PORT 4369    /* main port in isolated mode */
#define KVX_NET_ISOLATED 2
#define KVX_NET_GENERAL 4
#define KVX_MODEL_M200A 0 /* model codes of ccf.cfg */
#define KVX_MODEL_M100A 1

/* ---- Result codes (append-only) ------------------------------------------ */

#define KVX_OK 1
#define KVX_E_NET_NOT_STARTED -1005    /* exchange attempted before the network layer started */
#define KVX_E_SOCKET -1006             /* socket cannot be bound */
#define KVX_E_MARSHAL -1008            /* request encoder or reply decoder failed */
#define KVX_E_NO_WINSOCK -1011         /* network layer cannot be loaded */
#define KVX_E_CONN_DOWN -1014          /* connection is down */
#define KVX_E_NET_TIMEOUT -1015        /* socket layer reported a time-out */
#define KVX_E_SOCKET_ERROR -1017       /* any other socket error */
#define KVX_E_NET_ALREADY -1018        /* network layer already loaded */
#define KVX_E_WINSOCK_INIT -1019       /* network layer start-up failed */
#define KVX_E_ALREADY_INIT -2001       /* kvxLibInit on an initialised library */
#define KVX_E_NOT_INIT -2002           /* call before kvxLibInit */
#define KVX_E_BAD_BCN -2003            /* BCN outside 1..99 */
#define KVX_E_BAD_TIMEOUT -2004        /* kvxTimeoutSet with 0 seconds */
#define KVX_E_ALREADY_OPEN -2005       /* connection of this BCN already open */
#define KVX_E_BAD_CHANNEL -2006        /* channel outside 1..30 */
#define KVX_E_NOT_OPEN -2007           /* no open connection of the needed kind */
#define KVX_E_EXISTS -2008             /* BCN already exists */
#define KVX_E_TOO_MANY -2009           /* 20 sessions already open */
#define KVX_E_BCN_NOT_CONFIGURED -2010 /* BCN has no entry in ccf.cfg */
#define KVX_E_NO_MEMORY -2011          /* no memory for a session or connection */
#define KVX_E_CCF_MISSING -2012        /* ccf.cfg cannot be opened for reading */
#define KVX_E_CCF_WRITE -2013          /* ccf.cfg cannot be created or written */
#define KVX_E_BAD_INDEX -2014          /* entry index beyond the number of entries */
#define KVX_E_BAD_PORT -2015           /* socket port outside 1024..65535 */
#define KVX_E_BAD_MODEL -2016          /* model code other than 0 or 1 */
#define KVX_E_NO_PATH -2017            /* library path cannot be read */
#define KVX_E_CCF_DAMAGED -2018        /* ccf.cfg does not parse, or bad network mode */
#define KVX_E_BAD_NET_MODE -2019       /* network mode other than 2 or 4 */
#define KVX_E_BAD_ADDRESS -2020        /* general mode with address 0.0.0.0 or port 0 */
#define KVX_E_MODEL_MISMATCH -2021     /* instrument model differs from ccf.cfg */
#define KVX_E_BAD_COUNT -2022          /* more than 100 scans requested */
#define KVX_E_TIME -2023               /* PC local time cannot be converted */
#define KVX_E_UNRECOGNISED_MODEL -2024 /* model text neither M100A nor M200A */
#define KVX_E_BAD_CONFIG -2025         /* configuration block failed validation */
#define KVX_E_SESSIONS_OPEN -2026      /* ccf.cfg cannot change while sessions are open */
#define KVX_E_TIMEOUT -2027            /* no complete reply in time, or reconnect failed */
#define KVX_E_REFUSED -2028            /* instrument refused the connection */
#define KVX_E_BUSY -2029               /* another library call is in progress */
#define KVX_E_BAD_PORT_TYPE -2030      /* pass-through type not a single bit of 1..128 */
#define KVX_E_TOO_LONG -2031           /* pass-through length above 2000 */
#define KVX_E_BAD_MODEL_TYPE -2032     /* configuration type other than 1 or 2 */

/* Codes an instrument reports itself (passed through unchanged). */
#define KVX_INST_BUSY -3         /* still completing the previous command */
#define KVX_INST_NO_READING -10  /* no live reading yet */
#define KVX_INST_BAD_START -11   /* scan start time rejected */
#define KVX_INST_OLD_SOFTWARE -1 /* no logger-compatibility command */

/* ---- Configuration block codes --------------------------------------------- */

/* ChannelConfig.function; a channel that is off has 0. */
#define KVX_FN_OFF 0
#define KVX_FN_OHMS 1 /* two- or four-wire by aux */
#define KVX_FN_VDC 2
#define KVX_FN_VAC 4
#define KVX_FN_FREQ 8
#define KVX_FN_RTD 16 /* two- or four-wire by aux */
#define KVX_FN_THERMOCOUPLE 32
#define KVX_FN_CURRENT 65538
#define KVX_FN_AVERAGE 32769
#define KVX_FN_CHAN_A_MINUS_CHAN_B 32770
#define KVX_FN_CHAN_A_MINUS_AVERAGE 32771
#define KVX_FN_EQUATION 32772

/* ChannelConfig.range of the analog functions. */
#define KVX_RANGE_OHMS_300 4097
#define KVX_RANGE_OHMS_3K 4354
#define KVX_RANGE_OHMS_30K 4612
#define KVX_RANGE_OHMS_300K 4872
#define KVX_RANGE_OHMS_3M 5136
#define KVX_RANGE_OHMS_AUTO 5408
#define KVX_RANGE_VDC_90MV 8193
#define KVX_RANGE_VDC_300MV 8450
#define KVX_RANGE_VDC_750MV 8708 /* chosen only by the Current conversion */
#define KVX_RANGE_VDC_3V 8968
#define KVX_RANGE_VDC_30V 9232
#define KVX_RANGE_VDC_AUTO 9504
#define KVX_RANGE_VDC_50V 9792   /* M200A only */
#define KVX_RANGE_VDC_300V 10048 /* 150/300 V, M100A only */
#define KVX_RANGE_VAC_300MV 12289
#define KVX_RANGE_VAC_3V 12546
#define KVX_RANGE_VAC_30V 12804
#define KVX_RANGE_VAC_AUTO 13064
#define KVX_RANGE_VAC_300V 13584 /* 150/300 V, M100A only */
#define KVX_RANGE_RTD_FIXED_385 20512
#define KVX_RANGE_RTD_CUSTOM_385 20513 /* alphaFloat holds the alpha */
#define KVX_RANGE_TC_J 24577
#define KVX_RANGE_TC_K 24833
#define KVX_RANGE_TC_E 25089
#define KVX_RANGE_TC_T 25345
#define KVX_RANGE_TC_R 25601
#define KVX_RANGE_TC_S 25857
#define KVX_RANGE_TC_B 26113
#define KVX_RANGE_TC_C 26369
#define KVX_RANGE_TC_N 26625
#define KVX_RANGE_CURRENT_0_100MA 28673
#define KVX_RANGE_CURRENT_4_20MA 28674

/* ChannelConfig.aux of Ohms and RTD channels. */
#define KVX_WIRING_2W 0x9000
#define KVX_WIRING_4W 0x9001

/* ---- Records (host byte order, packed as listed) ------------------------- */

#pragma pack(push, 1)

typedef struct InstrumentTime {
    uint8_t hour;   /* 0..23 */
    uint8_t minute; /* 0..59 */
    uint8_t second; /* 0..59 */
    uint8_t month;  /* 1..12 */
    uint8_t reserved1;
    uint8_t day;  /* 1..31 */
    uint8_t year; /* year modulo 100 */
    uint8_t reserved2;
} InstrumentTime;

typedef struct ScanRecord {
    int32_t first;
    InstrumentTime time;
    uint32_t msAndDio; /* bits 0..15 milliseconds, 16..23 digital I/O */
    uint32_t alarm1;   /* bit n-1: channel n in alarm 1 */
    uint32_t alarm2;
    uint32_t totalizer;
    float readings[KVX_MAX_CHANNELS]; /* only (recordSize - 28) / 4 present */
} ScanRecord;

/* The caller's scan buffer: this header, then count records of recordSize
 * bytes each. Bit 31 of remaining is the instrument's attention flag. */
typedef struct ScanBufferHeader {
    int32_t recordSize;
    int32_t count;
    uint32_t remaining;
} ScanBufferHeader;

typedef struct ChannelConfig {
    int32_t function;
    int32_t range;
    union {
        int32_t alpha;    /* channel A of Chan A - Chan B and Chan A - Average */
        float alphaFloat; /* RTD alpha of a Custom-385 RTD (range 20513) */
    };
    float r0; /* RTD R0, or Current shunt, ohms */
    int32_t aux;
    int32_t alarms;
    float limit1;
    float limit2;
    int32_t output1;
    int32_t output2;
    float m;
    float b;
} ChannelConfig;

typedef struct InstrumentConfig {
    uint32_t options;
    int32_t interval1[4]; /* hours, minutes, seconds, milliseconds */
    int32_t interval2[4];
    int32_t alarmCheckInterval[4];
    ChannelConfig channels[KVX_MAX_CHANNELS];
    uint8_t equations[KVX_EQUATION_AREA];
} InstrumentConfig;

#pragma pack(pop)

#ifdef __cplusplus
static_assert(sizeof(InstrumentTime) == 8, "InstrumentTime is 8 bytes");
static_assert(sizeof(ScanRecord) == 148, "ScanRecord is 148 bytes");
static_assert(sizeof(ScanBufferHeader) == 12, "scan buffer header is 12 bytes");
static_assert(sizeof(ChannelConfig) == 48, "ChannelConfig is 48 bytes");
static_assert(sizeof(InstrumentConfig) == 2492, "InstrumentConfig is 2492 bytes");
#else
_Static_assert(sizeof(InstrumentTime) == 8, "InstrumentTime is 8 bytes");
_Static_assert(sizeof(ScanRecord) == 148, "ScanRecord is 148 bytes");
_Static_assert(sizeof(ScanBufferHeader) == 12, "scan buffer header is 12 bytes");
_Static_assert(sizeof(ChannelConfig) == 48, "ChannelConfig is 48 bytes");
_Static_assert(sizeof(InstrumentConfig) == 2492, "InstrumentConfig is 2492 bytes");
#endif

/* ---- Library and sessions ------------------------------------------------ */

KVX_API int32_t kvxLibInit(int32_t dispatchWhileWaiting);
KVX_API int32_t kvxLibExit(void);
KVX_API int32_t kvxTimeoutGet(int32_t *seconds);
KVX_API int32_t kvxTimeoutSet(int32_t seconds);
KVX_API int32_t kvxCommOpen(int32_t bcn);
KVX_API int32_t kvxCommClose(int32_t bcn);
KVX_API int32_t kvxCommOpen2(int32_t bcn);
KVX_API int32_t kvxCommClose2(int32_t bcn);
KVX_API int32_t kvxIError(int32_t bcn, int32_t *word);
KVX_API int32_t kvxBusyWait(int32_t bcn, uint32_t longestMs, uint32_t *statusOr);
KVX_API void kvxPCTimeChange(void);
KVX_API int32_t kvxTimeToolbox(int32_t *seconds, int32_t *milliseconds);

/* The caller's message pump, called on every pass of a wait (while
 * dispatchWhileWaiting is set) and always by kvxBusyWait. It must not
 * dispatch user input. A library call made from it returns KVX_E_BUSY.
 * May be set before kvxLibInit; a null pump dispatches nothing. */
typedef void (*KvxMessagePump)(void *context);
KVX_API int32_t kvxMessagePumpSet(KvxMessagePump pump, void *context);

/* ---- Communications configuration file (ccf.cfg) ------------------------- */

KVX_API int32_t kvxCCFcreate(void);
KVX_API int32_t kvxCCFnumEntries(void);
KVX_API int32_t kvxCCFlowBCN(void);
KVX_API int32_t kvxCCFgetEntry(uint32_t index, int32_t *bcn, uint8_t address[4], int32_t *model);
KVX_API int32_t kvxCCFgetBCN(int32_t bcn, uint8_t address[4], int32_t *model);
KVX_API int32_t kvxCCFsetBCN(int32_t bcn, const uint8_t address[4], int32_t model);
KVX_API int32_t kvxCCFdelBCN(int32_t bcn);
KVX_API int32_t kvxCCFdelAll(void);
KVX_API int32_t kvxCCFchangeBCN(int32_t oldBcn, int32_t newBcn);
KVX_API int32_t kvxCCFgetNetMode(void);
KVX_API int32_t kvxCCFsetNetMode(int32_t mode);
KVX_API int32_t kvxCCFgetTCPport(void);
KVX_API int32_t kvxCCFsetTCPport(uint32_t port);

/* ---- Instrument operations ------------------------------------------------ */

KVX_API int32_t kvxInstStatus(int32_t bcn, uint32_t *status);
KVX_API int32_t kvxInstStatus2(int32_t bcn, uint32_t *status);
KVX_API int32_t kvxSelftestBegin(int32_t bcn);
KVX_API int32_t kvxSelftestResult(int32_t bcn, uint32_t *result);
KVX_API int32_t kvxReset(int32_t bcn);
KVX_API int32_t kvxModel(int32_t bcn, int32_t *model, char text[40]);
KVX_API int32_t kvxModelCheck(int32_t bcn);
KVX_API int32_t kvxLoggerCompatibility(int32_t bcn, char *text); /* at least 8 bytes */
KVX_API int32_t kvxInstBCN(int32_t bcn, int32_t *reported);
KVX_API int32_t kvxTimeSet(int32_t bcn);
KVX_API int32_t kvxTimeGet(int32_t bcn, InstrumentTime *time, int32_t *milliseconds);

/* Scans */
KVX_API int32_t kvxScansEnable(int32_t bcn, int32_t on);
KVX_API int32_t kvxScansEnableAt(int32_t bcn, const InstrumentTime *time, int32_t milliseconds);
KVX_API int32_t kvxScansTrigger(int32_t bcn, int32_t value);
KVX_API int32_t kvxScansTriggerScan(int32_t bcn);
KVX_API int32_t kvxScansClear(int32_t bcn, int32_t value);
KVX_API int32_t kvxScansCount(int32_t bcn, int32_t *count);
/* scanBuffer: ScanBufferHeader, then up to maxCount records; room for
 * 12 + maxCount * 148 bytes covers every record size. */
KVX_API int32_t kvxScansGet(int32_t bcn, uint32_t maxCount, void *scanBuffer);
KVX_API int32_t kvxScansGetLast(int32_t bcn, void *scanBuffer);

/* Live readings, monitor channel, digital I/O, totalizer */
KVX_API int32_t kvxSpyGet(uint32_t channelId, float *reading); /* BCN * 100 + channel */
KVX_API int32_t kvxSpyEnable(int32_t bcn, int32_t on);
KVX_API int32_t kvxInstMonitor(int32_t bcn, int32_t on, uint32_t channel);
KVX_API int32_t kvxDIOGet(int32_t bcn, int32_t *value);
KVX_API int32_t kvxDIOSet(int32_t bcn, int32_t first, int32_t second);
KVX_API int32_t kvxDIOSet2(int32_t bcn, int32_t first, int32_t second);
KVX_API int32_t kvxTotalizerGet(int32_t bcn, int32_t *value);
KVX_API int32_t kvxTotalizerClear(int32_t bcn);
KVX_API int32_t kvxTotalizerClear2(int32_t bcn);

/* Pass-through (needs kvxCommOpen2) */
KVX_API int32_t kvxPassThruEnable2(int32_t bcn, uint32_t type);
KVX_API int32_t kvxPassThruDisable2(int32_t bcn);
KVX_API int32_t kvxPassThruSend2(int32_t bcn, const void *data, uint32_t length);
KVX_API int32_t kvxPassThruRecv2(int32_t bcn, void *data, uint32_t maxLength);
KVX_API int32_t kvxPassThruStatus2(int32_t bcn, int32_t *first, int32_t *second);

/* ---- Configuration block --------------------------------------------------- */

/* type 1: without the equation area; type 2: with it. On KVX_E_BAD_CONFIG
 * *detail holds the kind in its low byte (channel in bits 24..31). */
KVX_API int32_t kvxConfigSet(int32_t bcn, int32_t type, const InstrumentConfig *config, int32_t *detail);
KVX_API int32_t kvxConfigGet(int32_t bcn, int32_t type, InstrumentConfig *config);

/* ---- Equation compiler and temperature services ---------------------------- */

/* Result 1, or 0 with *errorCode and *errorPosition set. out: 1000 bytes. */
KVX_API int32_t kvxParseExpr(const char *text, uint8_t *out, int32_t *channelMask, int32_t *length,
                             int32_t *errorPosition, int32_t *errorCode);
KVX_API int32_t kvxTempBlock(int32_t bcn, float *result);
KVX_API int32_t kvxTempLin(int32_t bcn, int32_t value, float first, float second, float *result);
KVX_API int32_t kvxTempRefAdj(int32_t bcn, int32_t value, float first, float *result);

/* ---- Diagnostics ----------------------------------------------------------- */

/* The symbolic name of a result code ("KVX_E_TIMEOUT"), or "unknown". */
KVX_API const char *kvxErrorName(int32_t code);
/* A one-line English description of a result code. */
KVX_API const char *kvxErrorText(int32_t code);

#ifdef __cplusplus
}
#endif

#endif /* KVLINK32_H */
