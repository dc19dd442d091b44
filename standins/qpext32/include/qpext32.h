/*
 * libqpext32 — the toolbox add-on of Korvel Logger.
 *
 * The logger loads libqpext32.so from its program directory (else by name)
 * when DevelopersToolbox is on, and calls the entry points below; entry
 * point N is the exported symbol qpext32_ordinal_N. Through them the add-on
 * learns the setup, the instruments' scan queue sizes and channel layouts,
 * the runs and the logger's problems, and it receives every scan the logger
 * reads. On its other side the add-on serves clients on a local socket (see
 * docs/toolbox-protocol.md): they send remote commands, which the add-on
 * hands to the logger through the command channel of entry point 3, and they
 * follow the runs and the scans.
 *
 * Every entry point is called on the logger's main thread, one at a time,
 * and returns at once: none of them waits for a client. Only the command
 * channel's post function is called from the add-on's own thread.
 */
#ifndef QPEXT32_H
#define QPEXT32_H

#include <stdint.h>

#if defined(QPEXT32_BUILDING)
#define QPEXT32_API __attribute__((visibility("default")))
#else
#define QPEXT32_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Limits and codes ---------------------------------------------------- */

#define QPEXT32_INTERFACE_VERSION 1.0f /* what entry point 2 reports */
#define QPEXT32_CHANNELS 30            /* channels of an instrument */
#define QPEXT32_MAX_QUEUE 65440        /* largest scan queue, bytes */
#define QPEXT32_SCAN_HEADER 28         /* bytes of a scan record before its readings */

#define QPEXT32_OK 1
#define QPEXT32_E_NO_MEMORY (-4000) /* a scan queue cannot be had */

/* The name of the command channel. */
#define QPEXT32_COMMAND_CHANNEL "DideradevUzevuvoLoggerCmdMessage"

/* Remote commands posted on the command channel: code and argument. */
#define QPEXT32_START_INSTRUMENT 1    /* argument: BCN */
#define QPEXT32_START_ALL 2           /* argument: 0 */
#define QPEXT32_STOP_INSTRUMENT 3     /* argument: BCN */
#define QPEXT32_STOP_ALL 4            /* argument: 0 */
#define QPEXT32_OPEN_SETUP_KEEPING 5  /* refused while the setup has unsaved changes */
#define QPEXT32_OPEN_SETUP 6          /* the setup's changes are given up */
#define QPEXT32_SAVE_AND_OPEN_SETUP 7 /* a modified setup is saved first */
#define QPEXT32_LOAD_MXB_FILE 8       /* argument: BCN */
#define QPEXT32_SWITCH_REMOTE_MODE 9  /* argument: non-zero on, 0 off */

/* Reply codes of remote commands (entry point 13); 0 is success. */
#define QPEXT32_REPLY_DIALOG_OPEN (-6000)     /* a modal dialog is open (not for 9) */
#define QPEXT32_REPLY_REMOTE_MODE_ON (-6001)  /* remote mode already on */
#define QPEXT32_REPLY_REMOTE_MODE_OFF (-6002) /* remote mode already off */
#define QPEXT32_REPLY_NO_INSTRUMENT (-6003)   /* no such BCN, or no instrument */
#define QPEXT32_REPLY_SLAVE (-6004)           /* the instrument is a Slave */
#define QPEXT32_REPLY_LOGGING (-6005)         /* already logging, or logging forbids it */
#define QPEXT32_REPLY_NOT_LOGGING (-6006)     /* not logging, or already stopping */
#define QPEXT32_REPLY_UNSAVED_CHANGES (-6007) /* the setup has unsaved changes */
#define QPEXT32_REPLY_NO_MXB_FILE (-6025)     /* the Mx+B file does not exist */
#define QPEXT32_REPLY_NO_SETUP_FILE (-6026)   /* the setup file does not exist */
#define QPEXT32_REPLY_CANNOT_CREATE (-6027)   /* the setup file cannot be created */
#define QPEXT32_REPLY_CANNOT_STOP (-6038)     /* scanning could not be disabled */

/* Error reports under remote mode (entry point 12). */
#define QPEXT32_REPORT_COMMUNICATION 1  /* communication interruption */
#define QPEXT32_REPORT_LOW_DISK 2       /* Trend Link low disk space */
#define QPEXT32_REPORT_DATA_FILE 4      /* data file write or close failure */
#define QPEXT32_REPORT_QUEUE_OVERFLOW 8 /* the instrument's scan queue overflowed */
#define QPEXT32_REPORT_RAM_CONSTANTS 16 /* RAM constants corrupted */
#define QPEXT32_REPORT_ANALOG 32        /* analog processor not responding */

/* The files a command asks for (entry point 14). */
#define QPEXT32_PATH_OPEN 1 /* the setup or Mx+B file to open */
#define QPEXT32_PATH_SAVE 2 /* the file to save the setup to */

/* ---- The command channel -------------------------------------------------- */

/* Queues a remote command for the logger's main loop and returns at once;
 * non-zero when it was queued. The logger runs one command at a time and
 * answers each through entry point 13; the add-on posts the next command only
 * after that answer. Safe to call from any thread. */
typedef int32_t (*Qpext32PostFunction)(void *context, uint32_t code, uint32_t argument);

typedef struct Qpext32CommandChannel {
    const char *name;         /* QPEXT32_COMMAND_CHANNEL */
    Qpext32PostFunction post; /* null: no commands can be posted */
    void *context;            /* handed back to post */
} Qpext32CommandChannel;

/* ---- Entry points, in the order of their numbers ---------------------------
 * Each returns QPEXT32_OK unless said otherwise. BCNs are 1..99.          */

/* 2: after loading. Stores the interface version in *version; the logger
 * accepts only 1.0 and otherwise calls 4 and unloads the library. */
QPEXT32_API int32_t qpext32_ordinal_2(float *version);

/* 3: at start-up, after 8. The channel is copied; the add-on then opens its
 * client socket. Calling it again replaces the channel. */
QPEXT32_API int32_t qpext32_ordinal_3(const Qpext32CommandChannel *channel);

/* 4: before the library is unloaded (a version the logger refused, or the
 * logger's exit). Closes the socket, ends the add-on's thread and forgets
 * everything; the post function is never called after this returns. */
QPEXT32_API int32_t qpext32_ordinal_4(void);

/* 5: after loading, and for every instrument when a setup is loaded (its
 * stored size) or closed (0). Makes the instrument's scan queue queueBytes
 * long, 0 removing it; queued scans are dropped. QPEXT32_E_NO_MEMORY when
 * the memory cannot be had or the size is above QPEXT32_MAX_QUEUE: the
 * instrument then has no queue. */
QPEXT32_API int32_t qpext32_ordinal_5(int32_t bcn, uint32_t queueBytes);

/* 6: the instrument was deleted from the setup. Its queue and layout go. */
QPEXT32_API int32_t qpext32_ordinal_6(int32_t bcn);

/* 7: the queue size was changed in the settings dialog. As 5, except that
 * after QPEXT32_E_NO_MEMORY the old queue stays as it was. */
QPEXT32_API int32_t qpext32_ordinal_7(int32_t bcn, uint32_t queueBytes);

/* 8: at start-up before 3, and when a setup is loaded or saved: the setup
 * file's path (empty for a setup without a file). Also the file a Save and
 * Open command saves to when its client names none. */
QPEXT32_API int32_t qpext32_ordinal_8(const char *setupPath);

/* 9: after 5 at loading, and whenever the instrument's defined channels
 * change. definedChannels has bit n-1 set for channel n (1..30) when it is
 * not OFF; labels and units hold the channel and units label of each channel
 * (index n-1), null for OFF channels. The texts are copied. */
QPEXT32_API int32_t qpext32_ordinal_9(int32_t bcn, uint32_t definedChannels, const char *const labels[QPEXT32_CHANNELS],
                                      const char *const units[QPEXT32_CHANNELS]);

/* 10: a run of the instrument started (1) or ended (0). */
QPEXT32_API int32_t qpext32_ordinal_10(int32_t bcn, int32_t logging);

/* 11: remote mode was switched on (1) or off (0). */
QPEXT32_API int32_t qpext32_ordinal_11(int32_t on);

/* 12: under remote mode, a problem the logger would otherwise have shown:
 * one of the QPEXT32_REPORT_ codes. */
QPEXT32_API int32_t qpext32_ordinal_12(int32_t bcn, int32_t code);

/* 13: the remote command last posted was executed: its result BCN (the
 * command's BCN, or the instrument that failed) and its reply code,
 * sign-extended from 16 bits. */
QPEXT32_API int32_t qpext32_ordinal_13(int32_t bcn, int32_t reply);

/* 14: the command being executed needs a file: QPEXT32_PATH_OPEN or
 * QPEXT32_PATH_SAVE. The path the client gave with the command is copied
 * into path (size bytes, terminating zero included) and its length returned;
 * -1, with an empty path, when there is none or it does not fit. A relative
 * path is the logger's to take from its program directory. */
QPEXT32_API int32_t qpext32_ordinal_14(int32_t kind, char *path, uint32_t size);

/* 15: the logger read count (>= 1) scans of an instrument whose queue size
 * is not 0. records holds count scan records of recordSize bytes each
 * (QPEXT32_SCAN_HEADER bytes, then one float per defined channel), as the
 * instrument delivered them; remaining is the number of scans still queued
 * in the instrument (bit 31 is ignored). The records are copied into the
 * instrument's queue as far as it has room; the rest are counted as lost. */
QPEXT32_API int32_t qpext32_ordinal_15(int32_t bcn, int32_t count, const void *records, uint32_t remaining,
                                       uint32_t recordSize);

/* 16: the instrument's BCN was changed in the communications configuration.
 * Its queue, layout and clients follow it to the new BCN. */
QPEXT32_API int32_t qpext32_ordinal_16(int32_t oldBcn, int32_t newBcn);

/* The entry points' types, for the logger's symbol lookup. */
typedef int32_t (*Qpext32Ordinal2)(float *);
typedef int32_t (*Qpext32Ordinal3)(const Qpext32CommandChannel *);
typedef int32_t (*Qpext32Ordinal4)(void);
typedef int32_t (*Qpext32Ordinal5)(int32_t, uint32_t);
typedef int32_t (*Qpext32Ordinal6)(int32_t);
typedef int32_t (*Qpext32Ordinal7)(int32_t, uint32_t);
typedef int32_t (*Qpext32Ordinal8)(const char *);
typedef int32_t (*Qpext32Ordinal9)(int32_t, uint32_t, const char *const *, const char *const *);
typedef int32_t (*Qpext32Ordinal10)(int32_t, int32_t);
typedef int32_t (*Qpext32Ordinal11)(int32_t);
typedef int32_t (*Qpext32Ordinal12)(int32_t, int32_t);
typedef int32_t (*Qpext32Ordinal13)(int32_t, int32_t);
typedef int32_t (*Qpext32Ordinal14)(int32_t, char *, uint32_t);
typedef int32_t (*Qpext32Ordinal15)(int32_t, int32_t, const void *, uint32_t, uint32_t);
typedef int32_t (*Qpext32Ordinal16)(int32_t, int32_t);

#ifdef __cplusplus
}
#endif

#endif /* QPEXT32_H */
